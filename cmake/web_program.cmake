# The browser's program: tolvar.js and tolvar.wasm, with the game's data and its face preloaded
# into the page's file system as tolvar.data, all in the site folder beside the page
# (packaging/web.cmake). Included from src/ after the tolvar target.
set(TOLVAR_SITE_DIR ${CMAKE_BINARY_DIR}/site CACHE INTERNAL "The web page's folder")
set_target_properties(tolvar PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TOLVAR_SITE_DIR} SUFFIX .js)

# Where the data lands in the page's file system: web_program_folder.cpp's ProgramFolder.
set(web_program_folder /tolvar)
set(web_player_folder_script ${CMAKE_CURRENT_SOURCE_DIR}/platform/web_player_folder.js)
# The libraries never wait for the browser: their functions need none of ASYNCIFY's bookkeeping,
# which would make the program larger and the music slower.
# Lists reach emcc in files of their own, one name a line: a $ in a link option does not survive
# the build tools' quoting.
set(never_waiting FT_* ft_* tt_* af_* cff_* ps_* t1_* il* iL* jpeg_* png_* inflate* openmpt::*
  OpenMPT::* mpt::*)
list(JOIN never_waiting "\n" never_waiting)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/never_waiting.txt "${never_waiting}\n")
# An SDL built outside Emscripten's ports needs these to open its audio.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/audio_library_functions.txt
  "$autoResumeAudioContext\n$dynCall\n")
target_link_options(tolvar PRIVATE
  # The game's loop blocks (fades, countdowns, waits); ASYNCIFY lets it yield to the browser there.
  -sASYNCIFY -sASYNCIFY_REMOVE=@${CMAKE_CURRENT_BINARY_DIR}/never_waiting.txt
  -sLEGACY_GL_EMULATION=1 -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web -sEXIT_RUNTIME=1
  -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_CURRENT_BINARY_DIR}/audio_library_functions.txt
  -lidbfs.js "SHELL:--pre-js ${web_player_folder_script}"
  "SHELL:--preload-file ${TOLVAR_DATA_DIR}@${web_program_folder}/Data"
  "SHELL:--preload-file ${TOLVAR_GAME_DIR}/Fonts@${web_program_folder}/Fonts")
# DevIL's static IL decodes with these, but its IL.pc does not say so.
pkg_check_modules(DEVIL_CODECS REQUIRED IMPORTED_TARGET libpng16 libjpeg zlib)
target_link_libraries(tolvar PRIVATE PkgConfig::DEVIL_CODECS)
set_property(TARGET tolvar APPEND PROPERTY LINK_DEPENDS ${web_player_folder_script})
