#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it from its own folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-dependencies.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
cd build/game
exec ./tolvar
