#!/usr/bin/env bash
# Fails, naming the differences, when any C++ file of the game, its tools, tests or benchmarks is
# not laid out as the checked-in .clang-format says (`clang-format -i` on a file puts it right),
# and, naming each finding, when shellcheck finds fault with any shell script: those of scripts/,
# .ci/run, the tests' and benchmarks' and the installed launcher. Sourced files are followed, and
# a `# shellcheck source=` path is taken from the script's own folder. Last, it fails when a script
# the README names is committed without its run bit.
set -euo pipefail
cd "$(dirname "$0")/.."

for tool in clang-format shellcheck; do
  if ! command -v "$tool" > /dev/null; then
    echo "check-format: $tool not found: it comes with the Debian package $tool" \
      "(scripts/install-dependencies.sh play test)" >&2
    exit 1
  fi
done

find src tools tests bench -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z |
  xargs -0 clang-format --dry-run -Werror
echo "check-format: every C++ file is formatted"

{
  find scripts tests bench -type f -name '*.sh' -print0
  printf '%s\0' .ci/run packaging/tolvar.sh.in
} | sort -z | xargs -0 shellcheck --external-sources --source-path=SCRIPTDIR
echo "check-format: every shell script passes shellcheck"

# Every script the README tells a reader to run is committed with its run bit: a fresh clone
# refuses it otherwise ("Permission denied"). `git update-index --chmod=+x` gives it one.
# Where git is missing (CI's fresh system), the clone's files carry the modes they were committed
# with.
committed_runnable() {
  if command -v git > /dev/null && git rev-parse --git-dir > /dev/null 2>&1; then
    [ "$(git ls-files --stage -- "$1" | cut -d' ' -f1)" = 100755 ]
  else
    [ -x "$1" ]
  fi
}
not_runnable=()
while read -r script; do
  committed_runnable "$script" || not_runnable+=("$script")
done < <(grep -o '\bscripts/[A-Za-z0-9_-]*\.sh' README.md | sort -u)
if [ ${#not_runnable[@]} -gt 0 ]; then
  echo "check-format: committed without the run bit: ${not_runnable[*]}" >&2
  exit 1
fi
echo "check-format: every script the README names is committed runnable"
