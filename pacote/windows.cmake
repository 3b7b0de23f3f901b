# The Windows installer, made by CPack with NSIS (Debian's nsis package, makensis):
#   cmake --build build-windows --target package  ->  build-windows/quorvel2009-2010-<version>-win64.exe
# It installs quorvel2009_2010.exe (the window; the terminal front ends from a console) and its
# console launcher quorvel2009_2010.com into "Program Files\Quorvel 2009-2010", adds a Start-menu
# shortcut with the program's icon and an entry in Apps & features with its uninstaller. Installed
# there the program keeps Seq.ini and its reports in %LOCALAPPDATA%\Quorvel2009-2010
# (platform/pasta_estado.h). Silent: installer /S; uninstaller /S.
install(TARGETS quorvel2009_2010 quorvel2009_2010_console RUNTIME DESTINATION .)

set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME "Quorvel 2009-2010")
set(CPACK_PACKAGE_VENDOR "Quorvel")
set(CPACK_PACKAGE_VERSION ${QUORVEL_VERSAO})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "migrates a radio station's data from its 2009 to its 2010 installation")
set(CPACK_PACKAGE_FILE_NAME "quorvel2009-2010-${QUORVEL_VERSAO}-win64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Quorvel 2009-2010")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Quorvel 2009-2010")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME "Quorvel 2009-2010")
set(CPACK_NSIS_DISPLAY_NAME "Quorvel 2009-2010")
set(CPACK_NSIS_MUI_ICON "${CMAKE_SOURCE_DIR}/app/janela_win32/recursos/programa.ico")
set(CPACK_NSIS_MUI_UNIICON "${CMAKE_SOURCE_DIR}/app/janela_win32/recursos/programa.ico")
set(CPACK_NSIS_INSTALLED_ICON_NAME "quorvel2009_2010.exe")
# The Start-menu shortcut: the program in the installation's own folder.
set(CPACK_PACKAGE_EXECUTABLES "quorvel2009_2010;Quorvel 2009-2010")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY ".")
# A 64-bit installer (Debian's NSIS has the amd64 stubs), as the program is: it runs where only
# 64-bit programs run and writes the 64-bit registry view.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MODIFY_PATH OFF)
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
set(CPACK_STRIP_FILES ON)
include(CPack)
