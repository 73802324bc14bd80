#!/usr/bin/env bash
# Fails, naming the differences, when any C++ file of the game, its tools, tests or benchmarks is
# not laid out as the checked-in .clang-format says. `clang-format -i` on a file puts it right.
set -euo pipefail
cd "$(dirname "$0")/.."
find src tools tests bench -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z |
  xargs -0 clang-format --dry-run -Werror
echo "check-format: every C++ file is formatted"
