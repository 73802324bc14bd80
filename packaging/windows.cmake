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
# The portable zip's marker: unpacked, the game makes its first Data.dat beside itself. The zip
# carries no Data.dat, so unpacking a newer one over an older one keeps the player's progress. The
# installer removes the marker again (an installed copy keeps its progress in %APPDATA%).
set(portable_marker ${CMAKE_CURRENT_BINARY_DIR}/${TOLVAR_PORTABLE_MARKER})
file(WRITE ${portable_marker} "This copy of Tolvar is portable: its progress lives in Data.dat, \
beside tolvar.exe, made at its first start. Keep that file when you unpack a newer Tolvar here.\r\n")
install(FILES ${portable_marker} DESTINATION .)

# The licences of the libraries shipped beside the game, in Licences/: each one's Debian copyright
# file (library=package; the packages come with the build's own libraries and compiler), and the
# common licence texts those files point to.
set(tolvar_shipped_libraries
  SDL2=libsdl2-2.0-0 libopenmpt=libopenmpt0 FreeType=libfreetype6 DevIL=libdevil1c2
  libjpeg-turbo=libjpeg62-turbo libpng=libpng16-16 zlib=zlib1g
  "GCC runtime=gcc-mingw-w64-base" winpthreads=mingw-w64-common)
set(common_licences)
foreach(entry IN LISTS tolvar_shipped_libraries)
  string(REGEX REPLACE "=.*" "" library "${entry}")
  string(REGEX REPLACE ".*=" "" package "${entry}")
  set(copyright /usr/share/doc/${package}/copyright)
  if(NOT EXISTS ${copyright})
    message(FATAL_ERROR "${copyright} is missing: the licence of ${library}, shipped with the "
      "Windows game, comes from Debian's package ${package} (apt-get install ${package})")
  endif()
  install(FILES ${copyright} DESTINATION Licences RENAME "${library}.txt")
  file(STRINGS ${copyright} mentions REGEX "common-licenses/[A-Za-z0-9.+-]*[A-Za-z0-9+]")
  string(REGEX MATCHALL "common-licenses/[A-Za-z0-9.+-]*[A-Za-z0-9+]" mentions "${mentions}")
  list(APPEND common_licences ${mentions})
endforeach()
list(REMOVE_DUPLICATES common_licences)
foreach(mention IN LISTS common_licences)
  string(REPLACE "common-licenses/" "" licence ${mention})
  if(EXISTS /usr/share/${mention})
    install(FILES /usr/share/${mention} DESTINATION Licences/Common RENAME ${licence}.txt)
  endif()
endforeach()

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
# NSIS text is quoted with ' here; every \\\\ reaches the script as one backslash.
# One key for every version, so that an upgrade finds the install before it.
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Tolvar)
set(tolvar_uninstall_key "Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\Tolvar")
set(tolvar_folder_key "Software\\\\${TOLVAR_VENDOR}")
# - A 64-bit installer: an x86 one under a 64-bit Windows would install into the 32-bit views.
# - Installed again (an upgrade, a repair), the game goes into the folder the player chose the
#   first time, read from where the installer stored it: the earlier version's uninstaller runs
#   first, and the new one writes its files and its own uninstaller over the same place.
# - The uninstaller leaves no empty key of the vendor's behind.
set(CPACK_NSIS_DEFINES "Unicode true
Target amd64-unicode
!include FileFunc.nsh
InstallDirRegKey HKLM '${tolvar_folder_key}\\\\Tolvar' ''
Function un.onUninstSuccess
  DeleteRegKey /ifempty SHCTX '${tolvar_folder_key}'
FunctionEnd")
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# The game's own icon for the installer and the uninstaller, and a header drawn by the picture
# maker; the finish page offers "Run Tolvar".
set(installer_header ${CMAKE_CURRENT_BINARY_DIR}/installer_header.bmp)
add_custom_command(OUTPUT ${installer_header}
  COMMAND make_pictures --installer-header ${installer_header}
  DEPENDS make_pictures
  COMMENT "Drawing the installer's header picture")
add_custom_target(installer_header ALL DEPENDS ${installer_header})
set(CPACK_NSIS_MUI_ICON ${TOLVAR_PROGRAM_ICON})
set(CPACK_NSIS_MUI_UNIICON ${TOLVAR_PROGRAM_ICON})
set(CPACK_NSIS_MUI_HEADERIMAGE ${installer_header})
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .) # tolvar.exe stands at the top, not in bin/
set(CPACK_NSIS_MUI_FINISHPAGE_RUN tolvar.exe)
# The marker makes the installed copy keep its progress under %APPDATA%; the uninstaller removes
# what it installed and nothing of the player's.
# The uninstall entry gives the installed size, in KiB.
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
  FileOpen $0 '$INSTDIR\\\\${TOLVAR_INSTALLED_MARKER}' w
  FileWrite $0 'This copy of Tolvar is installed: its progress lives in %APPDATA%\\\\Tolvar.$\\\\r$\\\\n'
  FileClose $0
  Delete '$INSTDIR\\\\${TOLVAR_PORTABLE_MARKER}'
  \\\${GetSize} '$INSTDIR' '/S=0K' $0 $1 $2
  IntFmt $0 '0x%08X' $0
  WriteRegDWORD SHCTX '${tolvar_uninstall_key}' 'EstimatedSize' $0")
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
