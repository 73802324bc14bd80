#!/usr/bin/env bash
# Cross-builds the game's libraries for the browser (WebAssembly, with Debian's Emscripten) from
# Debian's own source packages and prints the folder they are installed in (the prefix):
#
#   prefix=$(scripts/web-libraries.sh)
#
# zlib, libpng, libjpeg-turbo, FreeType, SDL2, libopenmpt and DevIL's IL, all as static
# libraries, pinned and fetched as the Windows build's (scripts/lib/library_build.sh), and
# installed into
#   ${TOLVAR_WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tolvar-web}/<key>
# where the key is a hash of the source revisions, Emscripten's version and the build scripts. A
# run that finds its prefix builds nothing; without the network the newest prefix built is taken; a
# prefix is built beside it and renamed into place only once complete.
#
# Prefix layout: lib/ the static libraries; lib/pkgconfig/ their .pc files (relative to
# themselves); lib/cmake/ the CMake packages; include/.
#
# Progress goes to stderr, one line a step; a failing step's log is shown there too. Only the
# prefix is printed on stdout.
set -euo pipefail

script_dir=$(cd "$(dirname "$0")" && pwd)

progress() { echo "web-libraries: $*" >&2; }
fail() {
  progress "$*"
  exit 1
}

# Emscripten's optimizer (-O1 and above) needs node modules Debian keeps in /usr/share/nodejs,
# where a node from elsewhere does not look.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
# emcmake names node with --experimental-wasm-threads as the emulator of CMake's try_run, which
# newer nodes refuse: every such check then fails with exit code 9 (libjpeg-turbo's
# SIZEOF_SIZE_T became 9). Node is named here without it.
node_emulator="$(command -v node || echo /usr/bin/node);--no-experimental-fetch"

# shellcheck source=scripts/lib/library_build.sh
source "$script_dir/lib/library_build.sh"
library_cache_open "${TOLVAR_WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tolvar-web}"
bash "$script_dir/install-dependencies.sh" web >&2
if ! library_sources_find; then
  newest=$(library_newest_prefix)
  [ -n "$newest" ] || exit 1
  progress "taking the libraries built last, $newest"
  echo "$newest"
  exit 0
fi

key=$({
  printf '%s\n' "${sources[@]}" "$devil_source"
  emcc --version | head -n 1
  cat "$0" "$script_dir/lib/library_build.sh"
} | sha256sum | cut -c1-16)
prefix=$cache_root/$key

if [ -d "$prefix" ]; then
  echo "$prefix"
  exit 0
fi

progress "building the web libraries into $prefix from ${sources[*]} $devil_source"
library_scratch_open "$key"

# emconfigure and emcmake replace PKG_CONFIG_LIBDIR with Emscripten's own folder; this one is
# added to it.
export EM_PKG_CONFIG_PATH=$stage/lib/pkgconfig
cmake_build() {
  local name=$1 source=$2
  shift 2
  local build=$scratch/build/$name
  step "$name-configure" emcmake cmake -S "$source" -B "$build" -G Ninja \
    -DCMAKE_INSTALL_PREFIX="$stage" -DCMAKE_BUILD_TYPE=Release -DCMAKE_FIND_ROOT_PATH="$stage" \
    -DCMAKE_PREFIX_PATH="$stage" -DCMAKE_CROSSCOMPILING_EMULATOR="$node_emulator" "$@"
  step "$name-build" cmake --build "$build" -j2
  step "$name-install" cmake --install "$build"
}

# --- zlib ---------------------------------------------------------------------------------
# Its own configure: its CMake list wants a file Debian's source drops.
zlib_src=$(source_dir zlib)
step zlib-configure in_dir "$zlib_src" emconfigure ./configure --static --prefix="$stage"
step zlib-build emmake make -C "$zlib_src" -j2 libz.a
step zlib-install emmake make -C "$zlib_src" install

# --- libpng -------------------------------------------------------------------------------
cmake_build libpng "$(source_dir libpng1.6)" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
  -DPNG_EXECUTABLES=OFF -DZLIB_ROOT="$stage"

# --- libjpeg-turbo ------------------------------------------------------------------------
cmake_build libjpeg-turbo "$(source_dir libjpeg-turbo)" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
  -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF -DCMAKE_INSTALL_DEFAULT_LIBDIR=lib

# --- FreeType -----------------------------------------------------------------------------
# The shipped face needs neither PNG glyphs, bzip2, HarfBuzz nor Brotli.
cmake_build freetype "$(source_dir freetype)" -DBUILD_SHARED_LIBS=OFF -DFT_REQUIRE_ZLIB=ON \
  -DFT_DISABLE_PNG=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON \
  -DZLIB_ROOT="$stage"

# --- SDL2 ---------------------------------------------------------------------------------
cmake_build sdl2 "$(source_dir libsdl2)" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF

# --- libopenmpt ---------------------------------------------------------------------------
openmpt_src=$(source_dir libopenmpt)
# Its config.sub predates WebAssembly: Debian's newer one knows it.
find "$openmpt_src" -name config.sub -exec cp /usr/share/misc/config.sub {} \;
openmpt_build=$scratch/build/libopenmpt
mkdir -p "$openmpt_build"
# Only the library, with zlib; no player, examples, tests, documentation or optional decoders.
step libopenmpt-configure in_dir "$openmpt_build" emconfigure \
  "$openmpt_src/configure" --host=wasm32-unknown-emscripten --prefix="$stage" \
  --disable-shared --enable-static --disable-openmpt123 --disable-examples --disable-tests \
  --disable-doxygen-doc --with-zlib --without-mpg123 --without-ogg --without-vorbis \
  --without-vorbisfile --without-portaudio --without-portaudiocpp --without-pulseaudio \
  --without-sndfile --without-flac
step libopenmpt-build emmake make -C "$openmpt_build" -j2
step libopenmpt-install emmake make -C "$openmpt_build" install

# --- DevIL --------------------------------------------------------------------------------
# IL alone: the game decodes with it and uploads the pictures itself.
devil_src=$src/devil/DevIL
sed -i -e 's|\.\./libraries\.txt|../Libraries.txt|' "$devil_src/src-IL/CMakeLists.txt"
sed -i -e '/add_subdirectory *( *src-ILU/d' "$devil_src/CMakeLists.txt"
# CMake's big-endian test finds no answer in WebAssembly output: it is little-endian.
cmake_build devil "$devil_src" -DIL_TESTS=OFF -DBUILD_SHARED_LIBS=OFF -DZLIB_ROOT="$stage" \
  -DHAVE_is_big=1 -Dis_big=0 -DIL_NO_EXR=ON -DIL_NO_JP2=ON -DIL_NO_MNG=ON -DIL_NO_LCMS=ON \
  -DIL_NO_TIF=ON

# --- the finished prefix ------------------------------------------------------------------
library_prefix_finish "$prefix" zlib libpng16 libjpeg freetype2 sdl2 libopenmpt IL
