#!/usr/bin/env bash
# Long play: the real program, built with AddressSanitizer and UndefinedBehaviorSanitizer, on an
# X desktop of its own (Xvfb with openbox), fed random clicks anywhere and random arrow and Escape
# keys, with its resident memory sampled every ten seconds. Not part of CI.
#
#   scripts/soak.sh [SECONDS] [BUILD-DIR]      (default 600 s; build-soak beside src/)
#
# Prints the samples, whether the game crashed, any sanitizer report, and whether resident
# memory stayed within 5% of its level at the end of the first minute. Exits 0 when all is well.
#
# Clicks avoid the main menu's Quit button: a click there ends the game as the player asked,
# which would end the soak too. Everything else on every screen is fair game.
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
# The clicks below are places on a screen of this size.
screen_width=1024
screen_height=768
# shellcheck source=scripts/lib/x_desktop.sh
source "$repo/scripts/lib/x_desktop.sh"
run_on_own_x_desktop --screen "${screen_width}x${screen_height}" --window-manager -- "$@"
# shellcheck source=scripts/lib/scratch.sh
source "$repo/scripts/lib/scratch.sh" tolvar-soak
duration="${1:-600}"
build="${2:-$repo/build-soak}"
sample_seconds=10
settle_seconds=60
tolerance_percent=5

log() { echo "soak: $*" >&2; }

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVAR_SANITIZE=ON \
    -DTOLVAR_TESTS=OFF -DTOLVAR_BENCHMARKS=OFF >&2
fi
grep -Eqi '^TOLVAR_SANITIZE:[A-Z]+=(ON|TRUE|YES|1|address)$' "$build/CMakeCache.txt" || {
  log "$build is not an AddressSanitizer build (TOLVAR_SANITIZE=ON)"
  exit 2
}
cmake --build "$build" -j2 --target tolvar >&2

game_dir="$build/game"
[ -f "$game_dir/Data.dat" ] || printf '1' >"$game_dir/Data.dat"

# ---- the game ---------------------------------------------------------------------------------
# The suppressions are the tests' own: leaks inside fontconfig, SDL and D-Bus, none in the game.
# A quarantine of 4 MB instead of ASan's 256 MB: freed blocks are still held back for catching
# use after free, but the memory they hold can no longer pass for growth. (Mesa's software
# renderer allocates and frees for every glyph it draws, so in play the quarantine fills and
# empties by tens of megabytes.)
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:quarantine_size_mb=4:log_path=$work/sanitizer"
export LSAN_OPTIONS="suppressions=$repo/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$work/sanitizer"
export SDL_AUDIODRIVER=dummy
# Mesa's GL driver stays loaded to the end, as the tests pin it: SDL would unload it with the
# window, and the driver's own blocks would then read as leaks from an unknown module.
pinned=()
for library in /usr/lib/x86_64-linux-gnu/libGLX_mesa.so.0 /usr/lib/x86_64-linux-gnu/libglapi.so.0 \
  /usr/lib/x86_64-linux-gnu/libEGL_mesa.so.0 /usr/lib/x86_64-linux-gnu/dri/swrast_dri.so; do
  [ -e "$library" ] && pinned+=("$library")
done
preload=$(IFS=:; echo "${pinned[*]}")
ASAN_OPTIONS="$ASAN_OPTIONS:verify_asan_link_order=0"
(cd "$game_dir" && LD_PRELOAD="$preload" exec ./tolvar) >"$work/game.log" 2>&1 &
game_pid=$!
stop_on_exit "$game_pid"
started=$(date +%s)
log "game started (pid $game_pid) on $DISPLAY for $duration s"

# Resident memory every ten seconds, while the game lives.
(
  elapsed=0
  while [ "$elapsed" -le "$duration" ] && kill -0 "$game_pid" 2>/dev/null; do
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$game_pid/status" 2>/dev/null || true)
    [ -n "$rss" ] && echo "$elapsed $rss"
    sleep "$sample_seconds"
    elapsed=$((elapsed + sample_seconds))
  done
) >"$work/samples" &
sampler_pid=$!
stop_on_exit "$sampler_pid"

# ---- a tour of the screens within the first minute -----------------------------------------------
# What a screen costs the first time it is shown (a module's samples, the large font, the
# renderer's code for a new drawing state) is paid here, inside the minute the flatness test
# leaves out; random clicks alone might reach a level only after several minutes.
click_at() {
  xdotool mousemove "$1" "$2" click 1 2>/dev/null || true
  sleep "$3"
}
sleep 7                 # the logo's hold and the main menu's fade-in
click_at 485 460 3      # main menu: Help
xdotool key Escape 2>/dev/null || true
sleep 3                 # help: back to the main menu
click_at 485 410 3      # main menu: Play
click_at 495 455 3      # play menu: Level select
click_at 95 722 3       # level select: Back
click_at 495 420 12     # play menu: New game, and level 1 plays for a while
click_at 917 610 3      # level 1: Main menu
log "tour of the screens done after $(($(date +%s) - started)) s"

# ---- random input ------------------------------------------------------------------------------
keys=(Left Right Down Escape)
actions=0
while kill -0 "$game_pid" 2>/dev/null && [ $(($(date +%s) - started)) -lt "$duration" ]; do
  if [ $((RANDOM % 100)) -lt 55 ]; then
    x=$((RANDOM % screen_width))
    y=$((RANDOM % screen_height))
    # Never the main menu's Quit button (x 441..529, y 491..529).
    if [ "$x" -ge 436 ] && [ "$x" -le 534 ] && [ "$y" -ge 486 ] && [ "$y" -le 534 ]; then
      continue
    fi
    xdotool mousemove "$x" "$y" click 1 2>/dev/null || true
  else
    key=${keys[$((RANDOM % ${#keys[@]}))]}
    hold_ms=$((20 + RANDOM % 600))
    xdotool keydown "$key" sleep "$(awk -v m="$hold_ms" 'BEGIN { print m / 1000 }')" keyup "$key" \
      2>/dev/null || true
  fi
  actions=$((actions + 1))
  sleep "$(awk -v r=$((RANDOM % 300)) 'BEGIN { print (50 + r) / 1000 }')"
done

# ---- the end: close the window as a player would, so that the leak check runs -----------------
crashed="no"
exit_status="still running"
if kill -0 "$game_pid" 2>/dev/null; then
  wait "$sampler_pid" 2>/dev/null || true
  wmctrl -c Tolvar 2>/dev/null || xdotool search --name '^Tolvar$' windowclose 2>/dev/null || true
  for _ in $(seq 300); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$game_pid" 2>/dev/null; then
    exit_status="did not close within 30 s; killed"
    kill "$game_pid" 2>/dev/null || true
    wait "$game_pid" 2>/dev/null || true
  else
    set +e
    wait "$game_pid"
    status=$?
    set -e
    exit_status="closed by the window manager, exit code $status"
    [ "$status" -eq 0 ] || crashed="yes"
  fi
else
  set +e
  wait "$game_pid"
  status=$?
  set -e
  crashed="yes"
  exit_status="ended by itself after $(($(date +%s) - started)) s, exit code $status"
fi

# ---- report ------------------------------------------------------------------------------------
echo "soak: $duration s, $actions random inputs (clicks anywhere, Left/Right/Down/Escape)"
echo
echo "resident memory every $sample_seconds s (seconds, MiB):"
awk '{ printf "  %4d s  %7.1f MiB\n", $1, $2 / 1024 }' "$work/samples"
echo
echo "game: $exit_status"
echo "crashed: $crashed"
reports=$(cat "$work"/sanitizer* 2>/dev/null || true)
if [ -n "$reports" ] || grep -qE 'AddressSanitizer|LeakSanitizer|runtime error:' "$work/game.log"; then
  sanitizer="yes"
  echo "sanitizer report: yes"
  printf '%s\n' "$reports" | head -n 60
  grep -E -A20 'AddressSanitizer|LeakSanitizer|runtime error:' "$work/game.log" | head -n 60 || true
else
  sanitizer="no"
  echo "sanitizer report: none"
fi
echo "game's standard error:"
sed 's/^/  /' "$work/game.log" | head -n 20

flat=$(awk -v settle="$settle_seconds" -v tol="$tolerance_percent" '
  $1 >= settle { if (ref == "") ref = $2; if ($2 > hi || hi == "") hi = $2; if ($2 < lo || lo == "") lo = $2; n++ }
  END {
    if (n < 2) { print "unknown (too few samples after the first minute)"; exit }
    up = 100 * (hi - ref) / ref; down = 100 * (ref - lo) / ref
    printf "%s (at %d s %.1f MiB; later from %.1f to %.1f MiB, %+.1f%% / -%.1f%%)",
      (up <= tol && down <= tol) ? "yes" : "no", settle, ref / 1024, lo / 1024, hi / 1024, up, down
  }' "$work/samples")
echo "resident memory flat within ${tolerance_percent}% after the first minute: $flat"

[ "$crashed" = "no" ] && [ "$sanitizer" = "no" ] && [[ "$flat" == yes* ]]
