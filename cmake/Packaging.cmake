# Installing Talmo as a desktop program, and its Debian package
# (`cmake --build BUILD --target package`). The executables' own install
# rules sit beside them, in app/ and launch/.
include(GNUInstallDirs)

set(TALMO_APP_ID org.talmo.Talmo)
install(FILES ${CMAKE_SOURCE_DIR}/dist/${TALMO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/dist/${TALMO_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/dist/${TALMO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talmo)
set(CPACK_PACKAGE_VENDOR "Talmo")
set(CPACK_PACKAGE_CONTACT "Talmo developers <talmo@talmo.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor and browser for QuakeC sources")
set(CPACK_PACKAGE_DESCRIPTION "Talmo edits and browses the QuakeC sources of Quake mods:\n\
previews, an editor with QuakeC highlighting, definition lists and reports,\n\
search and replace, project profiles, snippets, and launching of the QuakeC\n\
compiler and the game.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fteqcc)
include(CPack)
