# The files Debian wants in share/doc/tolvar, made from CHANGELOG.md and LICENSE, and the CPack
# settings of the package. Included by CMakeLists.txt after TOLVAR_RELEASE_DATE is known.
set(TOLVAR_PACKAGE_MAINTAINER "The Tolvar developers <tolvar@example.org>" CACHE STRING
  "Maintainer of the Debian package and signer of its changelog: Name <address>")

# CHANGELOG.md's newest entry (read by CMakeLists.txt) becomes a Debian changelog entry: bullets
# "  * ", everything indented.
string(FIND "${changelog}" "\n## " heading)
string(SUBSTRING "${changelog}" ${heading} -1 release_notes)
string(REGEX REPLACE "^\n## [^\n]*\n" "" release_notes "${release_notes}")
string(FIND "${release_notes}" "\n## " next_heading)
string(SUBSTRING "${release_notes}" 0 ${next_heading} release_notes)
string(STRIP "${release_notes}" release_notes)
string(REGEX REPLACE "\n- " "\n* " release_notes "\n${release_notes}")
string(REGEX REPLACE "\n([^\n])" "\n  \\1" release_notes "${release_notes}")
string(SUBSTRING "${release_notes}" 1 -1 TOLVAR_DEBIAN_RELEASE_NOTES)
execute_process(COMMAND date -u -R -d "${TOLVAR_RELEASE_DATE} 12:00"
  OUTPUT_VARIABLE TOLVAR_DEBIAN_RELEASE_DATE OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file(changelog.Debian.in ${CMAKE_CURRENT_BINARY_DIR}/changelog @ONLY)

# The licence as Debian's machine-readable copyright file: the notice's holder, then the text
# indented by one space, with " ." for an empty line.
string(STRIP "${TOLVAR_LICENCE_TERMS}" licence_text)
string(REPLACE "\n\n" "\n.\n" licence_text "${licence_text}")
string(REPLACE "\n" "\n " TOLVAR_LICENCE_TEXT " ${licence_text}")
configure_file(copyright.in ${CMAKE_CURRENT_BINARY_DIR}/copyright @ONLY)

# Compressed without a name or a time stamp, so that the same notes give the same bytes.
add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
  COMMAND ${GZIP_PROGRAM} -9n -c ${CMAKE_CURRENT_BINARY_DIR}/changelog > changelog.gz
  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog
  WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
  COMMENT "Compressing the Debian changelog")
add_custom_target(debian_changelog ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)

install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
  DESTINATION ${TOLVAR_DOC_DIR})

# ---- the package -------------------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolvar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "${TOLVAR_VENDOR}")
set(CPACK_PACKAGE_CONTACT ${TOLVAR_PACKAGE_MAINTAINER})
# Installed as /usr itself (not into a staging copy of it) so that the files naming the prefix
# name /usr.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "arcade balancing game: keep the board on the ball level
Blocks of weight 1 to 10 fall, one at a time, into two columns above a board
that rests on a ball. Steer each block to the left or the right column: the
board tilts with the weight difference between its sides, and if the
difference grows beyond what the level allows, the game is over. Five levels,
each with more blocks and less room for imbalance; the game remembers the
highest level reached.")
# The libraries the program links, found by dpkg-shlibdeps, and what it needs without linking:
# the launcher's error box and the font of the text.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "zenity, fonts-liberation2")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# `make package_source`: the tracked sources, without build folders or the repository.
set(CPACK_SOURCE_GENERATOR TXZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\.git(/|$)" "/build[^/]*/" "/\\.cache/")
include(CPack)
