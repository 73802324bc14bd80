# shellcheck shell=bash
# The clean-up of a script that keeps its files in a scratch folder and starts programs in the
# background, sourced by the benchmark and soak scripts and the install and package tests:
#
#   source scripts/lib/scratch.sh NAME
#
# makes the scratch folder ${TMPDIR:-/tmp}/NAME.XXXXXX, sets work to it, and sets the one trap on
# EXIT, which ends every program handed to stop_on_exit that still runs and removes the folder.

work=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
started_pids=()

# stop_on_exit PID: the program is killed on exit if it still runs then. KILL, which no program
# can ignore or hang on: what is left at exit is what the script did not end itself, after a
# failure or an interruption.
stop_on_exit() {
  started_pids+=("$1")
}

clean_up_scratch() {
  local pid
  for pid in "${started_pids[@]}"; do
    if kill -0 "$pid" 2>/dev/null; then
      kill -KILL "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
    fi
  done
  rm -rf "$work"
}
trap clean_up_scratch EXIT
