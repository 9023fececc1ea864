# A Debian package of the installed tree: `cmake --build build --target package`.
# The version is the project's own; the dependencies come from the program's shared libraries,
# plus what dpkg-shlibdeps cannot see: Qt's platform plugins and its Hungarian translations.
set(VELKOR_RELEASE_DATE 2026-12-09)
set(VELKOR_PACKAGE velkor-adatbazis)

configure_file(${CMAKE_SOURCE_DIR}/packaging/hu.velkor.adatbazis.metainfo.xml
               ${CMAKE_BINARY_DIR}/packaging/hu.velkor.adatbazis.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/hu.velkor.adatbazis.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The Debian changelog of a native package, compressed without a time stamp (reproducible).

execute_process(COMMAND date -R -d "${VELKOR_RELEASE_DATE} 12:00 UTC"
                OUTPUT_VARIABLE VELKOR_RELEASE_DATE_RFC OUTPUT_STRIP_TRAILING_WHITESPACE)
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
                   COMMAND gzip -9nc ${CMAKE_BINARY_DIR}/packaging/changelog > ${CMAKE_BINARY_DIR}/packaging/changelog.gz
                   DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog)
add_custom_target(package_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
set(_doc ${CMAKE_INSTALL_DATADIR}/doc/${VELKOR_PACKAGE})
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz packaging/copyright DESTINATION ${_doc})
configure_file(${CMAKE_SOURCE_DIR}/packaging/VelkorDB.1 ${CMAKE_BINARY_DIR}/packaging/VelkorDB.1 @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/VelkorDB.1.gz
                   COMMAND gzip -9nc ${CMAKE_BINARY_DIR}/packaging/VelkorDB.1 > ${CMAKE_BINARY_DIR}/packaging/VelkorDB.1.gz
                   DEPENDS ${CMAKE_BINARY_DIR}/packaging/VelkorDB.1)
add_custom_target(package_manpage ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/VelkorDB.1.gz)
install(FILES ${CMAKE_BINARY_DIR}/packaging/VelkorDB.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${VELKOR_PACKAGE})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "Velkor Adatbázis developers <velkor@example.org>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Not "games": the package helps players but holds no game of its own.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "card catalogue and deck builder for the Velkor card game
Velkor Adatbázis keeps every card of the Velkor collectible card game in a
local catalogue, browsed in a grid, a detail editor and card-picture views
and narrowed with stored filters. Decks are built around a main god, with
statistics, charts and opening-hand odds; card lists and decks are exported
to workbooks, CSV files and web pages. The user interface is Hungarian.")
include(CPack)
