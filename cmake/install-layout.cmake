# Where `cmake --install` and the Debian package put things, and the
# generated header that tells the programs where to look for their data.
include(GNUInstallDirs)

set(ORVIK_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/orvik)
set(ORVIK_DOC_INSTALL_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/orvik)

# The programs find their data relative to their own folder, so an installed
# tree works under any prefix (/usr, /usr/local, a test's temporary folder).
file(RELATIVE_PATH ORVIK_DATA_FROM_PROGRAMS
  ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/orvik)
file(RELATIVE_PATH ORVIK_DOC_FROM_PROGRAMS
  ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATAROOTDIR}/doc/orvik)
configure_file(${CMAKE_CURRENT_LIST_DIR}/orvikbuildinfo.h.in
  ${CMAKE_BINARY_DIR}/generated/orvikbuildinfo.h @ONLY)

