# Windows: the glyphs' face and its licence in Fonts/ beside the program, copied into the game's
# folder at build time and installed with the program (which stands at the top of the installed
# folder on Windows, with its DLLs, Data/ and Fonts/ beside it). Included from src/ after the
# tolvar target. The licence is written from the face's own Debian package.
foreach(source IN ITEMS ${TOLVAR_SHIPPED_FONT_FILE} ${TOLVAR_SHIPPED_FONT_COPYRIGHT})
  if(NOT EXISTS ${source})
    message(FATAL_ERROR "${source} is missing: Debian's fonts-liberation2 package provides it")
  endif()
endforeach()
get_filename_component(shipped_face_name ${TOLVAR_SHIPPED_FONT_FILE} NAME)
set(shipped_face ${TOLVAR_GAME_DIR}/Fonts/${shipped_face_name})
set(shipped_licence ${TOLVAR_GAME_DIR}/Fonts/OFL.txt)
add_custom_command(OUTPUT ${shipped_face}
  COMMAND ${CMAKE_COMMAND} -E copy ${TOLVAR_SHIPPED_FONT_FILE} ${shipped_face}
  DEPENDS ${TOLVAR_SHIPPED_FONT_FILE}
  COMMENT "Copying the face the HUD text is drawn with")
add_custom_command(OUTPUT ${shipped_licence}
  COMMAND ${CMAKE_COMMAND} -DCOPYRIGHT_FILE=${TOLVAR_SHIPPED_FONT_COPYRIGHT}
          -DFACE_NAME=${shipped_face_name} -DLICENCE_FILE=${shipped_licence}
          -P ${PROJECT_SOURCE_DIR}/cmake/font_licence.cmake
  DEPENDS ${TOLVAR_SHIPPED_FONT_COPYRIGHT} ${PROJECT_SOURCE_DIR}/cmake/font_licence.cmake
  COMMENT "Writing the face's licence")
add_custom_target(shipped_font ALL DEPENDS ${shipped_face} ${shipped_licence})
add_dependencies(tolvar shipped_font)
install(FILES ${shipped_face} ${shipped_licence} DESTINATION Fonts)
