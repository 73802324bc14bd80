#!/usr/bin/env bash
# Builds the Windows game on Debian and leaves in build-windows/ its installer
# (tolvar-<version>-win64-setup.exe) and its portable zip (tolvar-<version>-win64.zip).
#
#   scripts/windows.sh [--tests]
#
# The libraries are cross-built from Debian's own sources once, into a cache outside the clone
# (scripts/windows-libraries.sh); the game is cross-built with mingw-w64; its pictures and music
# are drawn and composed by the native makers of build/, since the data is the same on both
# systems. --tests builds the test programs too, for scripts/test-windows.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

tests=OFF
for argument in "$@"; do
  case $argument in
  --tests) tests=ON ;;
  *)
    echo "windows.sh: unknown argument '$argument' (--tests)" >&2
    exit 2
    ;;
  esac
done

bash scripts/install-dependencies.sh play windows
prefix=$(bash scripts/windows-libraries.sh)

# The native build's own options stay as they are where it exists already.
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DTOLVAR_TESTS=OFF
cmake --build build -j"$(nproc)" --target make_pictures make_music

cmake -S . -B build-windows --toolchain cmake/windows-x86_64.cmake \
  -DTOLVAR_WINDOWS_PREFIX="$prefix" -DTOLVAR_NATIVE_BUILD="$PWD/build" -DTOLVAR_TESTS="$tests" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-windows -j"$(nproc)"
(cd build-windows && cpack)
ls -l build-windows/tolvar-*-win64-setup.exe build-windows/tolvar-*-win64.zip
