#!/usr/bin/env bash
# Cross-builds the game's libraries for 64-bit Windows from Debian's own source packages and
# prints the folder they are installed in (the prefix):
#
#   prefix=$(scripts/windows-libraries.sh)
#
# zlib, libpng, libjpeg-turbo, FreeType, SDL2, libopenmpt and DevIL's IL as DLLs, GoogleTest as
# static libraries, built with mingw-w64 (-posix) through cmake/windows-x86_64.cmake. The pins,
# the sources (Debian's archive, through scripts/lib/debian_sources.sh) and the cache work as
# scripts/lib/library_build.sh says; the Windows build adds GoogleTest for its tests.
#
# The prefix lives outside the clone, in
#   ${TOLVAR_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tolvar-windows}/<key>
# where the key is a hash of the source revisions fetched, the compilers' versions, the build
# scripts and the toolchain file: a run that finds its prefix builds nothing. Finding the
# revisions reads the archive's source index; without the network, the newest prefix already built
# is taken. A prefix is built in a scratch folder beside it and renamed into place only once
# complete, so an interrupted run never leaves one that counts as done.
#
# Prefix layout: bin/ the DLLs (stripped) and sdl2-config; lib/ the import libraries, SDL2main
# and GoogleTest's static libraries; lib/pkgconfig/ the .pc files (relative to themselves);
# lib/cmake/ the CMake packages (SDL2, GTest, freetype, libjpeg-turbo, PNG); include/.
#
# Progress goes to stderr, one line a step; a failing step's log is shown there too. Only the
# prefix is printed on stdout.
set -euo pipefail

script_dir=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$script_dir")
toolchain=$root/cmake/windows-x86_64.cmake
host=x86_64-w64-mingw32

progress() { echo "windows-libraries: $*" >&2; }
fail() {
  progress "$*"
  exit 1
}

# shellcheck source=scripts/lib/library_build.sh
source "$script_dir/lib/library_build.sh"
library_cache_open "${TOLVAR_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tolvar-windows}"
bash "$script_dir/install-dependencies.sh" windows >&2
library_pins+=(googletest=1.12.1) # for the Windows build's own tests
if ! library_sources_find; then
  newest=$(library_newest_prefix)
  [ -n "$newest" ] || exit 1
  progress "taking the libraries built last, $newest"
  echo "$newest"
  exit 0
fi

key=$({
  printf '%s\n' "${sources[@]}" "$devil_source"
  $host-gcc-posix --version | head -n 1
  $host-g++-posix --version | head -n 1
  nasm --version
  cat "$0" "$script_dir/lib/library_build.sh" "$toolchain"
} | sha256sum | cut -c1-16)
prefix=$cache_root/$key

if [ -d "$prefix" ]; then
  echo "$prefix"
  exit 0
fi

progress "building the Windows libraries into $prefix from ${sources[*]} $devil_source"
library_scratch_open "$key"

export PKG_CONFIG_LIBDIR=$stage/lib/pkgconfig PKG_CONFIG_PATH=
cmake_build() {
  local name=$1 source=$2
  shift 2
  local build=$scratch/build/$name
  step "$name-configure" cmake -S "$source" -B "$build" -G Ninja --toolchain "$toolchain" \
    -DTOLVAR_WINDOWS_PREFIX="$stage" -DCMAKE_INSTALL_PREFIX="$stage" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$stage" "$@"
  step "$name-build" cmake --build "$build" -j2
  step "$name-install" cmake --install "$build"
}

# --- zlib ---------------------------------------------------------------------------------
zlib_src=$(source_dir zlib)
# Debian's zlib source drops win32/, but zlib's CMake build on mingw compiles
# win32/zlib1.rc into the DLL: a version resource of our own stands in for it.
mkdir -p "$zlib_src/win32"
cat > "$zlib_src/win32/zlib1.rc" << 'EOF'
#include <winver.h>
#include "../zlib.h"
VS_VERSION_INFO VERSIONINFO
  FILEVERSION ZLIB_VER_MAJOR, ZLIB_VER_MINOR, ZLIB_VER_REVISION, 0
  PRODUCTVERSION ZLIB_VER_MAJOR, ZLIB_VER_MINOR, ZLIB_VER_REVISION, 0
  FILETYPE VFT_DLL
BEGIN
  BLOCK "StringFileInfo"
  BEGIN
    BLOCK "040904E4"
    BEGIN
      VALUE "FileDescription", "zlib data compression library\0"
      VALUE "FileVersion", ZLIB_VERSION "\0"
      VALUE "OriginalFilename", "libzlib.dll\0"
      VALUE "ProductName", "zlib\0"
    END
  END
  BLOCK "VarFileInfo"
  BEGIN
    VALUE "Translation", 0x0409, 1252
  END
END
EOF
cmake_build zlib "$zlib_src" -DINSTALL_PKGCONFIG_DIR="$stage/lib/pkgconfig"
# The DLL is libzlib.dll with the import library libzlib.dll.a, but the .pc says -lz: name the
# import library. The static copy goes, so nothing links zlib twice by mistake.
sed -i 's/-lz$/-lzlib/' "$stage/lib/pkgconfig/zlib.pc"
rm -f "$stage/lib/libzlibstatic.a"

# --- libpng -------------------------------------------------------------------------------
cmake_build libpng "$(source_dir libpng1.6)" -DPNG_SHARED=ON -DPNG_STATIC=OFF -DPNG_TESTS=OFF \
  -DPNG_EXECUTABLES=OFF -DZLIB_ROOT="$stage"
# libpng's .pc files name zlib as -lz as well.
sed -i 's/-lz\b/-lzlib/g' "$stage"/lib/pkgconfig/libpng*.pc

# --- libjpeg-turbo ------------------------------------------------------------------------
# With its SIMD code (nasm): all but one of the game's pictures are JPEGs.
cmake_build libjpeg-turbo "$(source_dir libjpeg-turbo)" -DENABLE_SHARED=ON -DENABLE_STATIC=OFF \
  -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON -DREQUIRE_SIMD=ON -DCMAKE_ASM_NASM_COMPILER=nasm \
  -DCMAKE_INSTALL_DEFAULT_LIBDIR=lib

# --- FreeType -----------------------------------------------------------------------------
cmake_build freetype "$(source_dir freetype)" -DBUILD_SHARED_LIBS=ON -DFT_REQUIRE_ZLIB=ON \
  -DFT_REQUIRE_PNG=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON \
  -DZLIB_ROOT="$stage"

# --- SDL2 ---------------------------------------------------------------------------------
cmake_build sdl2 "$(source_dir libsdl2)" -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF

# --- libopenmpt ---------------------------------------------------------------------------
openmpt_src=$(source_dir libopenmpt)
openmpt_build=$scratch/build/libopenmpt
mkdir -p "$openmpt_build"
# Only the library, with zlib; no player, examples, tests or documentation. The tracker
# modules the game plays need none of the optional decoders (mpg123, Ogg Vorbis).
step libopenmpt-configure in_dir "$openmpt_build" \
  "$openmpt_src/configure" --host=$host --prefix="$stage" --enable-shared --disable-static \
  --disable-openmpt123 --disable-examples --disable-tests --disable-doxygen-doc \
  --with-zlib --without-mpg123 --without-ogg --without-vorbis --without-vorbisfile \
  --without-portaudio --without-portaudiocpp --without-pulseaudio --without-sndfile \
  --without-flac CC=$host-gcc-posix CXX=$host-g++-posix
step libopenmpt-build make -C "$openmpt_build" -j2
step libopenmpt-install make -C "$openmpt_build" install

# --- DevIL ---------------------------------------------------------------------------------
# IL alone: the game decodes with it and uploads the pictures itself.
devil_src=$src/devil/DevIL
# Two mends of the tarball for mingw: its CMake lists a Windows resource file the tarball lacks,
# here a stand-in holding a bare version resource (windres refuses a file without any resource);
# and it names ../libraries.txt, which the tarball spells Libraries.txt.
printf '%s\n' '#include <winver.h>' 'VS_VERSION_INFO VERSIONINFO' 'FILEVERSION 1,8,0,0' 'BEGIN' \
  'END' > "$devil_src/src-IL/msvc/IL.rc"
sed -i 's|\.\./libraries\.txt|../Libraries.txt|' "$devil_src/src-IL/CMakeLists.txt"
sed -i '/add_subdirectory *( *src-ILU/d' "$devil_src/CMakeLists.txt"
cmake_build devil "$devil_src" -DIL_TESTS=OFF -DBUILD_SHARED_LIBS=ON -DZLIB_ROOT="$stage"

# --- GoogleTest ---------------------------------------------------------------------------
cmake_build googletest "$(source_dir googletest)" -DBUILD_SHARED_LIBS=OFF -DBUILD_GMOCK=ON

# --- the finished prefix ------------------------------------------------------------------
progress "strip"
# libopenmpt's build keeps its debug information (a DLL of about 100 MB): every DLL is stripped.
for dll in "$stage"/bin/*.dll; do
  $host-strip --strip-unneeded "$dll"
done
library_prefix_finish "$prefix" zlib libpng16 libjpeg freetype2 sdl2 libopenmpt IL gtest gmock
