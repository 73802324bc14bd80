#!/usr/bin/env bash
# Runs the end-to-end ring of the sanitizer build (build-sanitize/, made by scripts/test.sh)
# several times in a row while stress-ng keeps every core busy, and prints each run's outcome and
# time: a check that waits for a time instead of the state it checks fails here first.
#
#   scripts/stress-e2e.sh [RUNS]        (default 5)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
command -v stress-ng > /dev/null ||
  { echo "stress-e2e.sh: stress-ng not found (scripts/install-dependencies.sh play test)" >&2; exit 1; }
[ -f build-sanitize/CTestTestfile.cmake ] ||
  { echo "stress-e2e.sh: no build-sanitize/: run scripts/test.sh first" >&2; exit 1; }

log_dir=$(mktemp -d "${TMPDIR:-/tmp}/tolvar-stress.XXXXXX")
stress-ng --cpu "$(nproc)" --timeout 0 --quiet &
stress_pid=$!
trap 'kill "$stress_pid" 2> /dev/null; wait "$stress_pid" 2> /dev/null || true' EXIT

failed=0
for run in $(seq "$runs"); do
  started=$SECONDS
  if ctest --test-dir build-sanitize -L e2e --output-on-failure > "$log_dir/run$run.log" 2>&1; then
    outcome=passed
  else
    outcome=FAILED
    failed=$((failed + 1))
  fi
  summary=$(grep -E 'tests passed|tests failed' "$log_dir/run$run.log" || echo "no summary")
  echo "run $run: $outcome in $((SECONDS - started)) s ($summary)"
done
echo "logs in $log_dir"
echo "$((runs - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
