# SPDX-License-Identifier: GPL-3.0-or-later
# Installing Talmo as a desktop program, and its Debian package
# (`cmake --build BUILD --target package`). The executables' own install
# rules sit beside them, in app/, lsp/ and launch/.
include(GNUInstallDirs)

set(TALMO_APP_ID org.talmo.Talmo)
# Who answers for the package: its Maintainer field and the changelog's
# signature. Set the real one when building a package to publish.
set(TALMO_MAINTAINER "Talmo developers <talmo@talmo.org>"
    CACHE STRING "The Debian package's maintainer, as \"Name <address>\"")

install(FILES ${CMAKE_SOURCE_DIR}/dist/${TALMO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/dist/${TALMO_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48)
  install(FILES ${CMAKE_SOURCE_DIR}/dist/icons/${size}x${size}/${TALMO_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/dist/${TALMO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The QuakeC file type, which the desktop entry declares.
install(FILES ${CMAKE_SOURCE_DIR}/dist/${TALMO_APP_ID}.mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${TALMO_APP_ID}.xml)

# The manual page and the changelog, compressed as Debian wants them: gzip
# at its best with no name or time stored, so that a rebuild gives the same
# bytes.
set(TALMO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/talmo)
configure_file(${CMAKE_SOURCE_DIR}/dist/changelog.in ${CMAKE_BINARY_DIR}/dist/changelog @ONLY)
find_program(GZIP gzip REQUIRED)
foreach(doc talmo.1 talmo-lsp.1 changelog)
  if(doc STREQUAL changelog)
    set(source ${CMAKE_BINARY_DIR}/dist/changelog)
  else()
    set(source ${CMAKE_SOURCE_DIR}/dist/${doc})
  endif()
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/dist/${doc}.gz
                     COMMAND ${GZIP} -9nc ${source} > ${CMAKE_BINARY_DIR}/dist/${doc}.gz
                     DEPENDS ${source} VERBATIM)
  list(APPEND TALMO_COMPRESSED_DOCS ${CMAKE_BINARY_DIR}/dist/${doc}.gz)
endforeach()
add_custom_target(talmo_docs ALL DEPENDS ${TALMO_COMPRESSED_DOCS})
install(FILES ${CMAKE_BINARY_DIR}/dist/talmo.1.gz ${CMAKE_BINARY_DIR}/dist/talmo-lsp.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/dist/changelog.gz ${CMAKE_SOURCE_DIR}/dist/copyright
        DESTINATION ${TALMO_DOC_DIR})

# A stripped install (the package's) also drops the sections that only name
# the compiler, as Debian's own packaging does.
install(CODE [[
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(program bin/talmo bin/talmo-lsp libexec/talmo/talmo-batch)
      set(installed "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${program}")
      if(EXISTS "${installed}")
        execute_process(COMMAND strip --remove-section=.comment --remove-section=.note
                                "${installed}" COMMAND_ERROR_IS_FATAL ANY)
      endif()
    endforeach()
  endif()
]])

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talmo)
set(CPACK_PACKAGE_VENDOR "Talmo")
set(CPACK_PACKAGE_CONTACT "${TALMO_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor and browser for QuakeC sources")
set(CPACK_PACKAGE_DESCRIPTION "Talmo edits and browses the QuakeC sources of Quake mods:\n\
previews, an editor with QuakeC highlighting, definition lists and reports,\n\
search and replace, project profiles, snippets, and launching of the QuakeC\n\
compiler and the game. talmo-lsp serves the same knowledge of a mod to any\n\
editor with a language-server client.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fteqcc)
include(CPack)
