# Installation below /usr and the Debian package: cmake --build build --target package writes
# kalmet_<version>_amd64.deb. dpkg-shlibdeps (dpkg-dev) finds the libraries' packages.
include(GNUInstallDirs)

install(TARGETS kalmet kalmet-demo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# kalmet finds them beside its executable, at ../share/kalmet/reports
file(GLOB KALMET_VORLAGEN ${CMAKE_SOURCE_DIR}/reports/*.rpt)
install(FILES ${KALMET_VORLAGEN} ${CMAKE_SOURCE_DIR}/reports/bericht.xsd DESTINATION ${CMAKE_INSTALL_DATADIR}/kalmet/reports)
install(FILES packaging/kalmet.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/kalmet.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES packaging/kalmet-48.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps RENAME kalmet.png)

# man pages carry the version and are compressed as Debian expects
set(KALMET_MAN)
foreach(seite kalmet kalmet-demo)
  configure_file(packaging/${seite}.1 ${CMAKE_BINARY_DIR}/man/${seite}.1 @ONLY)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${seite}.1.gz
    COMMAND gzip -9nf -k ${seite}.1
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/man
    DEPENDS ${CMAKE_BINARY_DIR}/man/${seite}.1)
  list(APPEND KALMET_MAN ${CMAKE_BINARY_DIR}/man/${seite}.1.gz)
endforeach()
add_custom_target(kalmet_man ALL DEPENDS ${KALMET_MAN})
install(FILES ${KALMET_MAN} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# who answers for the package: the Maintainer field, the changelog's signature, the copyright contact
set(KALMET_BETREUER "Kalmet-Team <kalmet@example.org>" CACHE STRING "Maintainer of the Debian package")
configure_file(packaging/copyright ${CMAKE_BINARY_DIR}/doc/copyright @ONLY)
configure_file(packaging/changelog ${CMAKE_BINARY_DIR}/doc/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/doc/changelog.gz
  COMMAND gzip -9nf -k changelog
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/doc
  DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog)
add_custom_target(kalmet_doc ALL DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/doc/copyright ${CMAKE_BINARY_DIR}/doc/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kalmet)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalmet)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Inventurauswertung für Filialketten")
set(CPACK_PACKAGE_DESCRIPTION "Lists the stock-takes of a fiscal year per branch and product group, prints the\ninventory list, books counts to stock and takes the target over as count, on a\nSQLite file or a shared PostgreSQL server.")
set(CPACK_PACKAGE_CONTACT "${KALMET_BETREUER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# loaded at run time, not linked: the database drivers, the window system plugin, German texts, the report font
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6sql6-psql, qt6-qpa-plugins, qt6-translations-l10n, fonts-dejavu-core")
include(CPack)
