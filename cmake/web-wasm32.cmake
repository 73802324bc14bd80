# Cross-building for the browser (WebAssembly) with Debian's Emscripten. The libraries come from
# the prefix that scripts/web-libraries.sh makes and prints:
#
#   cmake -S . -B build-web --toolchain cmake/web-wasm32.cmake \
#         -DTOLVAR_WEB_PREFIX="$(scripts/web-libraries.sh)"
#
# Emscripten's optimizer needs NODE_PATH=/usr/share/nodejs when the node it runs is not Debian's.
find_program(TOLVAR_EMCC emcc REQUIRED)
get_filename_component(tolvar_emscripten_wrapper "${TOLVAR_EMCC}" REALPATH)
get_filename_component(tolvar_emscripten_root "${tolvar_emscripten_wrapper}" DIRECTORY)
include("${tolvar_emscripten_root}/cmake/Modules/Platform/Emscripten.cmake")

set(TOLVAR_WEB_PREFIX "" CACHE PATH "The cross-built libraries (scripts/web-libraries.sh prints it)")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TOLVAR_WEB_PREFIX)
if(NOT TOLVAR_WEB_PREFIX OR NOT IS_DIRECTORY "${TOLVAR_WEB_PREFIX}")
  message(FATAL_ERROR "TOLVAR_WEB_PREFIX='${TOLVAR_WEB_PREFIX}' is not a folder: "
                      "pass -DTOLVAR_WEB_PREFIX=\"$(scripts/web-libraries.sh)\"")
endif()

# Headers, libraries and packages from the prefix and Emscripten's own system root only.
list(APPEND CMAKE_FIND_ROOT_PATH "${TOLVAR_WEB_PREFIX}")
set(ENV{PKG_CONFIG_LIBDIR} "${TOLVAR_WEB_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
# Every library is static: each one's own libraries (Libs.private) are linked too.
set(PKG_CONFIG_ARGN --static)

# Emscripten names node with --experimental-wasm-threads, which newer nodes refuse.
find_program(TOLVAR_NODE node REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR "${TOLVAR_NODE};--no-experimental-fetch")
