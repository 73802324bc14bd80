# The browser's game is one static site, ${TOLVAR_SITE_DIR}: index.html (the page, web_page.html.in),
# tolvar.js, tolvar.wasm and tolvar.data (cmake/web_program.cmake), the favicon drawn from the
# game's icon, and the licences of the game, its face and each library. The target web_zip packs
# the site into tolvar-<version>-web.zip, for a game host's upload.
configure_file(web_page.html.in ${TOLVAR_SITE_DIR}/index.html @ONLY)

set(favicon ${TOLVAR_SITE_DIR}/favicon.png)
add_custom_command(OUTPUT ${favicon}
  COMMAND make_pictures --icon ${favicon} 32
  DEPENDS make_pictures
  COMMENT "Drawing the page's icon")

# Each library's licence is its Debian source package's copyright file, as the package of the
# same source installed on this machine carries it (the play set of scripts/debian-packages.txt).
set(library_licences
  SDL2=libsdl2-2.0-0 libopenmpt=libopenmpt0 FreeType=libfreetype6 DevIL=libdevil1c2 zlib=zlib1g
  libpng=libpng16-16 libjpeg-turbo=libjpeg62-turbo)
set(licence_files ${TOLVAR_SITE_DIR}/LICENSE.txt ${TOLVAR_SITE_DIR}/licences/LiberationMono-OFL.txt)
add_custom_command(OUTPUT ${TOLVAR_SITE_DIR}/LICENSE.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/LICENSE ${TOLVAR_SITE_DIR}/LICENSE.txt
  DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
add_custom_command(OUTPUT ${TOLVAR_SITE_DIR}/licences/LiberationMono-OFL.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${TOLVAR_GAME_DIR}/Fonts/OFL.txt
          ${TOLVAR_SITE_DIR}/licences/LiberationMono-OFL.txt
  DEPENDS shipped_font)
foreach(pair IN LISTS library_licences)
  string(REPLACE "=" ";" pair "${pair}")
  list(GET pair 0 library)
  list(GET pair 1 package)
  set(copyright /usr/share/doc/${package}/copyright)
  if(NOT EXISTS ${copyright})
    message(FATAL_ERROR "${copyright} is missing: Debian's ${package} package carries ${library}'s licence")
  endif()
  set(licence ${TOLVAR_SITE_DIR}/licences/${library}.txt)
  add_custom_command(OUTPUT ${licence}
    COMMAND ${CMAKE_COMMAND} -E copy ${copyright} ${licence}
    DEPENDS ${copyright})
  list(APPEND licence_files ${licence})
endforeach()
add_custom_target(web_site ALL DEPENDS ${favicon} ${licence_files})
add_dependencies(web_site tolvar)

set(web_zip ${CMAKE_BINARY_DIR}/tolvar-${PROJECT_VERSION}-web.zip)
add_custom_target(web_zip
  COMMAND ${CMAKE_COMMAND} -E rm -f ${web_zip}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${web_zip} --format=zip -- index.html tolvar.js tolvar.wasm
          tolvar.data favicon.png LICENSE.txt licences
  WORKING_DIRECTORY ${TOLVAR_SITE_DIR}
  COMMENT "Packing the site into ${web_zip}")
add_dependencies(web_zip web_site)
