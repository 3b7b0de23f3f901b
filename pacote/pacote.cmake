# Installation and the Debian package:
#   cmake --build build --target package    ->  build/quorvel2009-2010_<version>_<arch>.deb
# The program goes to /usr/bin, with a desktop entry, its icon and its manual page. Installed
# there it keeps its checkpoint in the user's state folder (platform/pasta_estado.h).
include(GNUInstallDirs)

# The Windows build makes its installer instead (pacote/windows.cmake).
if(WIN32)
  include(${CMAKE_SOURCE_DIR}/pacote/windows.cmake)
  return()
endif()

set(_pacote ${CMAKE_SOURCE_DIR}/pacote)

install(TARGETS quorvel2009_2010 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${_pacote}/quorvel2009_2010.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_pacote}/quorvel2009_2010.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The manual page, compressed as Debian keeps them (no time stamp, so every build is the same).
set(_manual ${CMAKE_BINARY_DIR}/quorvel2009_2010.1.gz)
add_custom_command(OUTPUT ${_manual}
  COMMAND gzip -9 -n -c ${_pacote}/quorvel2009_2010.1 > ${_manual}
  DEPENDS ${_pacote}/quorvel2009_2010.1
  COMMENT "Compressing the manual page")
add_custom_target(quorvel_manual ALL DEPENDS ${_manual})
install(FILES ${_manual} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel2009-2010)
set(CPACK_PACKAGE_VERSION ${QUORVEL_VERSAO})
set(CPACK_PACKAGE_VENDOR "Quorvel")
set(CPACK_PACKAGE_CONTACT "Quorvel <quorvel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "migrates a radio station's data from its 2009 to its 2010 installation")
set(CPACK_PACKAGE_DESCRIPTION
"Quorvel 2009-2010 copies ten tables of a radio automation suite's 2009 Firebird
database into the two databases of its 2010 installation, relocates every music
and jingle file under a readable name, analyses each MP3 stream, rewrites its
ID3v2 tag and re-keys the play log. A window and a terminal front end; a stopped
run resumes from its checkpoint.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Firebird client library and the embedded engine are loaded at run time; Qt's platform
# plugins (qt6-qpa-plugins) let the window reach the screen.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libc6 (>= 2.36), libstdc++6 (>= 12), libgcc-s1, libfbclient2 (>= 3.0), firebird3.0-server-core (>= 3.0), libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), qt6-qpa-plugins")
# Qt's own dialog texts in Brazilian Portuguese; the manual page needs a reader.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "firebird3.0-utils, man-db")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
