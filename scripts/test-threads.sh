#!/usr/bin/env bash
# Builds the whole tree with ThreadSanitizer, in a folder of its own, and runs the tests where
# threads meet: the platform layer's (the music player shares its songs with SDL's audio thread)
# and the fault tests where the real music player plays inside the whole game. ctest gives
# ThreadSanitizer tests/support/tsan.supp, which suppresses the one race it reports outside the
# game's own code: in Mesa's software rasterizer (swrast_dri.so), where the whole game draws.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-dependencies.sh play test
cmake -S . -B build-thread -DTOLVAR_SANITIZE=thread -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-thread -j"$(nproc)"
ctest --test-dir build-thread --output-on-failure -j"$(nproc)" -L platform "$@"
ctest --test-dir build-thread --output-on-failure -j"$(nproc)" -L faults \
  -R '(^|/)(ModuleFaultTest|MissingDevicesTest)\.' "$@"
