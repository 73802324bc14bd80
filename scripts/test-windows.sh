#!/usr/bin/env bash
# Builds the Windows game with its tests (scripts/windows.sh --tests) and runs the unit,
# rendering and platform suites under Wine, through CTest:
#
#   scripts/test-windows.sh [CTEST_ARGUMENT...]     e.g. -L render, -R Progress, -j2
#
# Everything runs on one X desktop of its own (Xvfb: Wine draws the tests' hidden windows through
# X11) with one persistent wineserver, in a Wine prefix made afresh under build-windows/. The
# prefix's programs find the cross-built libraries and the compiler's runtime DLLs through
# WINEPATH. Whatever happens, the server and the prefix are gone on exit, and the desktop after.
set -euo pipefail
cd "$(dirname "$0")/.."
# The end-to-end test's harness (Xvfb, xdotool, the picture checks) is the Linux tests' own.
bash scripts/install-dependencies.sh play test windows
# shellcheck source=scripts/lib/x_desktop.sh
source scripts/lib/x_desktop.sh
run_on_own_x_desktop --screen 1280x1024 -- "$@"

bash scripts/windows.sh --tests
build=$PWD/build-windows

# Ends every Wine program of the prefix and its server, and removes the prefix.
end_wine() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}

# A value the build's cache holds (the toolchain file's).
cached() {
  sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"
}
libraries=$(cached TOLVAR_WINDOWS_PREFIX)
IFS=';' read -r -a runtime_dlls <<<"$(cached TOLVAR_WINDOWS_RUNTIME_DLLS)"
if [ -z "$libraries" ] || [ "${#runtime_dlls[@]}" -eq 0 ]; then
  echo "test-windows.sh: $build/CMakeCache.txt names no TOLVAR_WINDOWS_PREFIX or runtime DLLs" >&2
  exit 1
fi

export WINEPREFIX=$build/wine-prefix
export WINEDEBUG=-all
# No offer to install Mono or Gecko into the prefix, and no menu entries or file associations for
# the host's desktop (Wine's menu builder writes them into ~/.local).
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
trap end_wine EXIT

# The prefix is made by a server of its own, which is let end with it: a persistent server started
# before the prefix exists ends up with two service managers racing for the same services, and
# every program that opens a window then waits ten seconds for an RPC service that never starts.
wine wineboot --init
wineserver -w
# One server for the whole run, its services started before the first test: a test's program then
# starts in a fraction of a second.
wineserver -p
wine wineboot

# WINEPATH takes Windows paths, separated by semicolons.
folders=("$libraries/bin")
for dll in "${runtime_dlls[@]}"; do
  folders+=("$(dirname "$dll")")
done
winepath=""
for folder in "${folders[@]}"; do
  winepath+="${winepath:+;}$(wine winepath -w "$folder" | tr -d '\r')"
done
export WINEPATH=$winepath

started=$(date +%s)
status=0
ctest --test-dir "$build" --output-on-failure "$@" || status=$?
# Now and then, on a loaded machine, Wine fails to start a test's program at all: the test fails
# at once having printed nothing, not even the test framework's first line. When those are the
# only failures they run once more; a test that ran and failed fails the run.
test_log=$build/Testing/Temporary/LastTest.log
if [ "$status" -ne 0 ]; then
  unstarted=$(awk '
    / Test: / { name = $NF }
    /^Output:$/ { reading = 1; printed = 0; next }
    /^<end of output>$/ { reading = 0 }
    reading && !/^-+$/ { printed = 1 }
    /^Test Failed\.$/ && !printed { print name }
  ' "$test_log")
  if [ -n "$unstarted" ] &&
    [ "$(grep -c '^Test Failed\.$' "$test_log")" -eq "$(echo "$unstarted" | wc -l)" ]; then
    echo "test-windows.sh: Wine started nothing of these; once more: $(echo "$unstarted" | paste -sd' ')" >&2
    status=0
    ctest --test-dir "$build" --output-on-failure -R "^($(echo "$unstarted" | paste -sd'|'))\$" ||
      status=$?
  fi
fi
echo "test-windows.sh: the Windows tests took $(($(date +%s) - started)) s under Wine" >&2
(exit "$status") # the tests' own status
