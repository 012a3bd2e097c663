# cmake -DBUILD_DIR=... -DWORK_DIR=... -DVERSION=... -P check_install.cmake
# Fails (FATAL_ERROR) on the first thing that is wrong.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(status)
  message(FATAL_ERROR "cmake --install failed:\n${output}")
endif()

set(expected
  bin/orvik bin/orvik-khepera-sim bin/orvik-batch
  share/orvik/input.bmp share/orvik/and.bmp share/orvik/or.bmp
  share/orvik/output.bmp share/orvik/point.bmp share/orvik/nopoint.bmp
  share/applications/orvik.desktop
  share/icons/hicolor/scalable/apps/orvik.svg
  share/metainfo/orvik.metainfo.xml
  share/doc/orvik/README.md share/doc/orvik/LICENSE share/doc/orvik/docs/main-window.png
  share/doc/orvik/examples/adder2.tbl)
foreach(file ${expected})
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

# Started from a folder without pictures, the installed program must take
# them from its installed data folder, not from the build tree.
set(elsewhere ${WORK_DIR}/elsewhere)
file(MAKE_DIRECTORY ${elsewhere})
execute_process(COMMAND ${prefix}/bin/orvik --check-install
  WORKING_DIRECTORY ${elsewhere} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
string(CONCAT wanted "Orvik ${VERSION}\n"
  "pictures: ${prefix}/share/orvik\n"
  "README: ${prefix}/share/doc/orvik/README.md\n")
if(NOT status EQUAL 0 OR NOT output STREQUAL wanted)
  message(FATAL_ERROR "orvik --check-install from ${elsewhere} (exit status ${status}) said:\n${output}\n"
    "expected:\n${wanted}")
endif()

# The desktop menu's files. The component id is the plain program name (no
# domain name is owned for a reverse-DNS id), which is the one thing the
# AppStream validator only advises against.
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(APPSTREAMCLI appstreamcli)
if(NOT DESKTOP_FILE_VALIDATE OR NOT APPSTREAMCLI)
  message(FATAL_ERROR "desktop-file-validate or appstreamcli is missing: "
    "apt-get install desktop-file-utils appstream (scripts/deps.sh installs them)")
endif()
foreach(check
    "${DESKTOP_FILE_VALIDATE};${prefix}/share/applications/orvik.desktop"
    "${APPSTREAMCLI};validate;--no-net;--pedantic;--override=cid-desktopapp-is-not-rdns=info;${prefix}/share/metainfo/orvik.metainfo.xml")
  execute_process(COMMAND ${check} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(status)
    message(FATAL_ERROR "${check}:\n${output}")
  endif()
endforeach()
file(READ ${prefix}/share/metainfo/orvik.metainfo.xml metainfo)
if(NOT metainfo MATCHES "<release version=\"${VERSION}\"")
  message(FATAL_ERROR "the metainfo's latest release is not version ${VERSION}")
endif()
message(STATUS "installed tree in ${prefix} is complete")
