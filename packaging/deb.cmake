# The Debian package: `cmake --build build --target package` (or
# scripts/package.sh) writes build/orvik_<version>_<arch>.deb from the
# install rules. Its dependencies are the runtime libraries the programs
# are linked with (libqt6widgets6, libqt6charts6, libqt6serialport6, ...),
# found by dpkg-shlibdeps, never the -dev packages.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Orvik developers")
set(CPACK_PACKAGE_CONTACT "The Orvik developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "workbench for evolvable hardware")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Orvik evolves the fuse map of a simulated PAL (programmable array logic)\n\
with a genetic algorithm, scored against a truth table or by letting the PAL\n\
drive a Khepera mobile robot over a serial port. It includes a simulated\n\
Khepera robot (orvik-khepera-sim) and orvik-batch, which runs truth-table\n\
evolutions without a window.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
