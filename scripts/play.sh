#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it from its own folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-dependencies.sh play
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTOLVAR_TESTS=OFF
# The game, its data and its progress file only: the tests, with their packages, are built by
# scripts/test.sh.
cmake --build build -j"$(nproc)" --target tolvar game_data progress_file
cd build/game
exec ./tolvar
