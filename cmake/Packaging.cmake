# What `cmake --install` puts where, and the packages the `package` target writes: a Debian
# package on Linux, a zip on Windows.
include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME morvel)
set(CPACK_PACKAGE_VENDOR "MORVEL")
set(CPACK_PACKAGE_CONTACT "MORVEL maintainers <morvel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "turns a code page 932 (Shift-JIS) or UTF-8 text file into one HTML page")
set(CPACK_STRIP_FILES ON)

# The web page, built by the web preset; the packages ship it when it is there (and
# tools/check-packages.sh checks that they do).
set(MORVEL_WEB_PAGE ${PROJECT_SOURCE_DIR}/build/web/morvel.html CACHE FILEPATH
    "The web page the packages ship (the web preset's build)")

if(WIN32)
  # Everything at the top of the zip's folder, as a user unpacks and runs it.
  install(TARGETS MORVEL morvel-convert RUNTIME DESTINATION .)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/README-Windows.txt DESTINATION . RENAME README.txt)
  install(FILES ${MORVEL_WEB_PAGE} DESTINATION . OPTIONAL)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "MORVEL-${PROJECT_VERSION}-${CMAKE_SYSTEM_PROCESSOR}")
else()
  # Debian keeps manual pages compressed; gzip -n leaves no time stamp, so every build of the
  # same page gives the same bytes.
  set(MANUAL_PAGE ${PROJECT_SOURCE_DIR}/docs/morvel-convert.1)
  set(COMPRESSED_MANUAL_PAGE ${CMAKE_BINARY_DIR}/morvel-convert.1.gz)
  add_custom_command(
    OUTPUT ${COMPRESSED_MANUAL_PAGE}
    COMMAND gzip -9 -n -c ${MANUAL_PAGE} > ${COMPRESSED_MANUAL_PAGE}
    DEPENDS ${MANUAL_PAGE}
    COMMENT "Compressing the manual page"
    VERBATIM)
  add_custom_target(manual_page ALL DEPENDS ${COMPRESSED_MANUAL_PAGE})

  install(TARGETS morvel-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${COMPRESSED_MANUAL_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/morvel)
  install(FILES ${MORVEL_WEB_PAGE} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/morvel OPTIONAL)
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION text)
  # The package's dependencies are worked out from the binary (dpkg-shlibdeps).
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
