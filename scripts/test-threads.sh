#!/usr/bin/env bash
# Builds the platform layer and its tests with ThreadSanitizer, in a folder of its own, and runs
# them: the music player shares its songs with SDL's audio thread, and this run checks the lock
# discipline that is meant to make that safe. Races inside third-party libraries are suppressed
# by tests/support/tsan.supp.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-dependencies.sh
cmake -S . -B build-thread -DTOLVAR_SANITIZE=thread -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-thread -j"$(nproc)" --target platform_tests
ctest --test-dir build-thread --output-on-failure -j"$(nproc)" -L platform "$@"
