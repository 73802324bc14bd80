#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs the whole test suite: logic, rendering, the platform layer, the generated content and
# the real program under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-dependencies.sh play test
cmake -S . -B build-sanitize -DTOLVAR_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-sanitize -j"$(nproc)"
ctest --test-dir build-sanitize --output-on-failure -j"$(nproc)" "$@"
