# The Windows game is one folder: tolvar.exe, the DLLs it needs, Data/, Fonts/ and the notes.
# `cpack` in the Windows build folder makes of it an NSIS installer and a portable zip. The
# installed copy keeps the player's progress in %APPDATA%\Tolvar; the portable one beside
# tolvar.exe. The installer tells them apart by the marker file it writes next to the program
# (TOLVAR_INSTALLED_MARKER, named in src/platform/game_folder.h).

install(TARGETS tolvar RUNTIME DESTINATION .)
# The data only: the build folder's own Data.dat is not the player's.
install(DIRECTORY ${TOLVAR_DATA_DIR}/ DESTINATION Data)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
install(FILES ${PROJECT_SOURCE_DIR}/CHANGELOG.md DESTINATION .)

# Beside tolvar.exe, the DLLs it loads: every one the cross-built libraries' prefix holds (the
# game's libraries and theirs, nothing else) and the compiler's own runtime. Stripped as they
# are installed: Debian's libstdc++-6.dll alone carries 20 MB of debugging information.
file(GLOB tolvar_library_dlls ${TOLVAR_WINDOWS_PREFIX}/bin/*.dll)
set(tolvar_dlls ${tolvar_library_dlls} ${TOLVAR_WINDOWS_RUNTIME_DLLS})
install(FILES ${tolvar_dlls} DESTINATION .)
foreach(dll IN LISTS tolvar_dlls)
  get_filename_component(dll_name ${dll} NAME)
  install(CODE "execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded
    \"\${CMAKE_INSTALL_PREFIX}/${dll_name}\" COMMAND_ERROR_IS_FATAL ANY)")
endforeach()

# ---- the installer and the zip ------------------------------------------------------------------
set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME Tolvar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "${TOLVAR_VENDOR}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Tolvar)
set(CPACK_PACKAGE_FILE_NAME tolvar-${PROJECT_VERSION}-win64)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
# The zip unpacks into a folder of its own, the game inside.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME Tolvar)
set(CPACK_NSIS_DISPLAY_NAME Tolvar)
set(CPACK_NSIS_INSTALLED_ICON_NAME tolvar.exe)
# A 64-bit installer: an x86 one under a 64-bit Windows would install into the 32-bit views.
set(CPACK_NSIS_DEFINES "Unicode true\nTarget amd64-unicode")
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# The marker makes the installed copy keep its progress under %APPDATA%; the uninstaller removes
# what it installed and nothing of the player's.
# NSIS text is quoted with ' here; every \\\\ reaches the script as one backslash.
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
  FileOpen $0 '$INSTDIR\\\\${TOLVAR_INSTALLED_MARKER}' w
  FileWrite $0 'This copy of Tolvar is installed: its progress lives in %APPDATA%\\\\Tolvar.$\\\\r$\\\\n'
  FileClose $0")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "Delete '$INSTDIR\\\\${TOLVAR_INSTALLED_MARKER}'")
set(CPACK_NSIS_CREATE_ICONS_EXTRA "
  CreateShortCut '$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\Tolvar.lnk' '$INSTDIR\\\\tolvar.exe'
  CreateShortCut '$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\Play in a window.lnk' '$INSTDIR\\\\tolvar.exe' '--windowed'")
set(CPACK_NSIS_DELETE_ICONS_EXTRA "
  Delete '$SMPROGRAMS\\\\$MUI_TEMP\\\\Tolvar.lnk'
  Delete '$SMPROGRAMS\\\\$MUI_TEMP\\\\Play in a window.lnk'")
# The installer's own name says what it is: tolvar-<version>-win64-setup.exe.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_SOURCE_DIR}/windows_package_names.cmake)
include(CPack)
