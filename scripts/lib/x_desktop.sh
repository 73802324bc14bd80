# shellcheck shell=bash
# The shell side of tests/e2e/x_desktop.py, sourced by the benchmark and soak scripts:
#
#   run_on_own_x_desktop [X_DESKTOP_OPTION...] -- "$@"
#
# Unless the calling script already runs on an X desktop of its own, runs it again, with the
# arguments after --, on one made with x_desktop.py's options (--screen WIDTHxHEIGHT,
# --window-manager) and ends with its exit code; on such a desktop it returns at once. Called
# before the script makes anything its exit would clean up: exec runs no trap.
run_on_own_x_desktop() {
  [ -n "${TOLVAR_X_DESKTOP:-}" ] && return 0
  local options=()
  while [ "$1" != "--" ]; do
    options+=("$1")
    shift
  done
  shift
  exec python3 "$(dirname "${BASH_SOURCE[0]}")/../../tests/e2e/x_desktop.py" "${options[@]}" -- \
    "$BASH" "$0" "$@"
}
