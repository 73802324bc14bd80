#!/usr/bin/env bash
# Builds the game for the browser on Debian and leaves in build-web/ its site (site/: index.html,
# tolvar.js, tolvar.wasm, tolvar.data, favicon.png and the licences), which any static server can
# serve as it is, and that site packed as tolvar-<version>-web.zip.
#
#   scripts/web.sh            builds the site and the zip
#   scripts/web.sh --serve    serves the site built on http://127.0.0.1:8640/ until interrupted
#
# The libraries are cross-built from Debian's own sources once, into a cache outside the clone
# (scripts/web-libraries.sh); the game is built with Debian's Emscripten; its pictures and music
# are drawn and composed by the native makers of build/, since the data is the same everywhere.
# The port is fixed: the browser keeps the player's progress per address, port included.
set -euo pipefail
cd "$(dirname "$0")/.."

port=8640
serve=false
for argument in "$@"; do
  case $argument in
  --serve) serve=true ;;
  *)
    echo "web.sh: unknown argument '$argument' (--serve)" >&2
    exit 2
    ;;
  esac
done

if $serve; then
  [ -f build-web/site/index.html ] || {
    echo "web.sh: no site in build-web/site: run scripts/web.sh first" >&2
    exit 1
  }
  echo "Tolvar is served at http://127.0.0.1:$port/ (Ctrl+C ends it)"
  exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web/site
fi

bash scripts/install-dependencies.sh play web
prefix=$(bash scripts/web-libraries.sh)
# Emscripten's optimizer needs node modules Debian keeps where another node does not look.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

# The native build's own options stay as they are where it exists already.
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DTOLVAR_TESTS=OFF
cmake --build build -j"$(nproc)" --target make_pictures make_music

cmake -S . -B build-web --toolchain cmake/web-wasm32.cmake -DTOLVAR_WEB_PREFIX="$prefix" \
  -DTOLVAR_NATIVE_BUILD="$PWD/build" -DTOLVAR_TESTS=OFF -DCMAKE_BUILD_TYPE=Release
cmake --build build-web -j"$(nproc)"
cmake --build build-web --target web_zip
ls -l build-web/site build-web/tolvar-*-web.zip
