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
# The README with the docs/ folder beside it, as in the source tree, so that its links lead somewhere
# (the manual pages' sources become the manual pages below).
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs PATTERN man EXCLUDE)
install(FILES examples/people.qdx examples/demo.script DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

# Who answers for the package; the changelog's entries are signed with the same name and address.
set(LINTARO_MAINTAINER "Quorvel <lintaro@quorvel.example>")

# The documentation that Debian asks of every package: the license as a copyright file in the
# machine-readable format, the changelog of a native package, and the manual pages. The last two
# are compressed as gzip -9n does, without the name and time, so that every build gives the same
# bytes.
set(LINTARO_DOC_DIR ${CMAKE_BINARY_DIR}/doc)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
# LICENSE is its title, the copyright line, and the terms, which the copyright file indents.
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE license_lines)
set(license_holder "")
set(LINTARO_LICENSE_TEXT "")
foreach(line IN LISTS license_lines)
  if(license_holder STREQUAL "")
    if(line MATCHES "^Copyright \\(c\\) (.+)$")
      set(license_holder ${CMAKE_MATCH_1})
    endif()
  elseif(NOT (line STREQUAL "" AND LINTARO_LICENSE_TEXT STREQUAL ""))
    if(line STREQUAL "")
      set(line ".")
    endif()
    string(APPEND LINTARO_LICENSE_TEXT " ${line}\n")
  endif()
endforeach()
file(WRITE ${LINTARO_DOC_DIR}/copyright
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
  "Upstream-Name: Lintaro\n"
  "Upstream-Contact: ${LINTARO_MAINTAINER}\n"
  "\n"
  "Files: *\n"
  "Copyright: ${license_holder}\n"
  "License: Expat\n"
  "\n"
  "License: Expat\n"
  "${LINTARO_LICENSE_TEXT}")
install(FILES ${LINTARO_DOC_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(LINTARO_COMPRESSED_DOCS)
foreach(page lintaro lintaro-script)
  configure_file(docs/man/${page}.1.in ${LINTARO_DOC_DIR}/${page}.1 @ONLY)
  list(APPEND LINTARO_COMPRESSED_DOCS ${LINTARO_DOC_DIR}/${page}.1)
  install(FILES ${LINTARO_DOC_DIR}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
configure_file(packaging/changelog ${LINTARO_DOC_DIR}/changelog COPYONLY)
list(APPEND LINTARO_COMPRESSED_DOCS ${LINTARO_DOC_DIR}/changelog)
install(FILES ${LINTARO_DOC_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
foreach(file IN LISTS LINTARO_COMPRESSED_DOCS)
  add_custom_command(OUTPUT ${file}.gz
    COMMAND gzip -9nkf ${file}
    DEPENDS ${file}
    VERBATIM)
  list(APPEND LINTARO_COMPRESSED_OUTPUTS ${file}.gz)
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${LINTARO_COMPRESSED_OUTPUTS})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lintaro)
set(CPACK_PACKAGE_VENDOR Quorvel)
set(CPACK_PACKAGE_CONTACT ${LINTARO_MAINTAINER})
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
