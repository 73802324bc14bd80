#!/usr/bin/env bash
# The browser game's benchmark table (bench/web_figures.py): builds the site (scripts/web.sh),
# then the bare SDL + WebGL page of bench/bare_window.cpp with the same Emscripten, the same SDL
# and the same data preloaded, into build-web/bench/, and measures both in headless Chromium.
#
#   bench/run_web_benchmarks.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-dependencies.sh play web
bash scripts/web.sh

# A value the web build's cache holds.
cached() {
  sed -n "s/^$1:[A-Z]*=//p" build-web/CMakeCache.txt
}
prefix=$(cached TOLVAR_WEB_PREFIX)
[ -n "$prefix" ] || { echo "run_web_benchmarks.sh: build-web names no TOLVAR_WEB_PREFIX" >&2; exit 1; }
# Emscripten's optimizer needs node modules Debian keeps where another node does not look.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
mkdir -p build-web/bench
# The bare page asks for its window through the game's own video code, the page's side of it.
emcc -O2 -std=c++20 -Isrc bench/bare_window.cpp src/platform/sdl_video.cpp \
  src/platform/web_desktop.cpp src/platform/desktop_without_x.cpp \
  -o build-web/bench/bare_window.html -I"$prefix/include" -L"$prefix/lib" -lSDL2 -sLEGACY_GL_EMULATION=1 -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web \
  -sMINIFY_HTML=0 --preload-file build-web/game/Data@/tolvar/Data \
  --preload-file build-web/game/Fonts@/tolvar/Fonts

# Debian's Python: the DevTools client is Debian's python3-websocket.
/usr/bin/python3 bench/web_figures.py build-web/site build-web/bench
