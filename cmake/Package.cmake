# `cmake --install` and `cpack -G DEB`: the two programs, what the desktop needs to open .qdx files
# with the viewer, and the documentation.
include(GNUInstallDirs)

install(TARGETS lintaro-script RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET lintaro)
  install(TARGETS lintaro RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${LINTARO_SHARE_DIR}/applications/lintaro.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
endif()
install(FILES ${LINTARO_SHARE_DIR}/mime/packages/lintaro.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
foreach(size 16 32 48 256)
  install(FILES ${LINTARO_SHARE_DIR}/icons/hicolor/${size}x${size}/apps/lintaro.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
# The README with the docs/ folder beside it, as in the source tree, so that its links lead somewhere.
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)
install(FILES examples/people.qdx examples/demo.script DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lintaro)
set(CPACK_PACKAGE_VENDOR Quorvel)
set(CPACK_PACKAGE_CONTACT Quorvel)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for .qdx files (semicolon-separated text tables)")
set(CPACK_PACKAGE_DESCRIPTION "Lintaro shows a .qdx file as a table and narrows, searches and sorts
its rows; the file is never changed. lintaro-script runs the same program
without a display, from a script.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The libraries the programs link (Qt 6 among them) become the package's dependencies.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Register refreshes the MIME and desktop databases with these tools when they are there.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")
set(CPACK_STRIP_FILES ON)
include(CPack)
