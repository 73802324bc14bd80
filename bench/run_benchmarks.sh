#!/usr/bin/env bash
# Builds what the benchmarks need, measures the game against its floors and prints one table:
# each figure beside its floor measured in this same run, the target and whether it is met.
#
#   bench/run_benchmarks.sh [BUILD-DIR]      (default: build-bench beside src/, a Release build)
#
# The script runs on an X desktop of its own, Xvfb with openbox (minimizing needs a window
# manager), where the real program is measured (start-up, peak memory, CPU while minimized) with
# SDL's dummy audio driver so that its music is mixed as on a desktop. bench/still_screens.py
# measures it on still screens, with a pad plugged in, from a press to the frame showing it and
# in frame intervals, on a second such desktop of its own beside a bare window drawing at the
# display's rate. The rest runs in-process on SDL's offscreen driver over Mesa's llvmpipe.
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
screen=1024x768
# shellcheck source=scripts/lib/x_desktop.sh
source "$repo/scripts/lib/x_desktop.sh"
run_on_own_x_desktop --screen "$screen" --window-manager -- "$@"
# shellcheck source=scripts/lib/scratch.sh
source "$repo/scripts/lib/scratch.sh" tolvar-bench
build="${1:-$repo/build-bench}"
startup_runs="${TOLVAR_BENCH_STARTUP_RUNS:-7}"
minimized_seconds=10

log() { echo "run_benchmarks: $*" >&2; }
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

# ---- build ------------------------------------------------------------------------------------
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTOLVAR_BENCHMARKS=ON >&2
fi
if grep -Eqi '^TOLVAR_SANITIZE:[A-Z]+=(ON|TRUE|YES|1|address|thread)$' "$build/CMakeCache.txt" ||
  grep -q '^TOLVAR_BENCHMARKS:BOOL=OFF' "$build/CMakeCache.txt"; then
  log "$build has the sanitizers on or the benchmarks off; give a Release build directory"
  exit 2
fi
log "building in $build"
cmake --build "$build" -j2 --target tolvar tolvar_benchmarks frame_allocations bare_window \
  decode_pictures first_frame_probe startup_clock swap_counter_preload virtual_pad_preload >&2

game_dir="$build/game"
bench_dir="$build/bench"
probe="$bench_dir/libfirst_frame_probe.so"

# The game keeps its progress in Data.dat; it must exist, or the first start ends at a message.
[ -f "$game_dir/Data.dat" ] || printf '1' >"$game_dir/Data.dat"

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# ---- start-up and peak memory: exec to the first presented frame -------------------------------
log "start-up, $startup_runs runs each of the game and the bare window"
: >"$work/game_startup"
: >"$work/bare_startup"
for _ in $(seq "$startup_runs"); do
  (cd "$game_dir" && SDL_AUDIODRIVER=dummy "$bench_dir/startup_clock" "$probe" "$work/probe" ./tolvar) \
    >>"$work/game_startup"
  "$bench_dir/startup_clock" "$probe" "$work/probe" "$bench_dir/bare_window" >>"$work/bare_startup"
done
game_startup_ms=$(awk '{ print $2 }' "$work/game_startup" | median)
bare_startup_ms=$(awk '{ print $2 }' "$work/bare_startup" | median)
game_hwm_kb=$(awk '{ print $4 }' "$work/game_startup" | median)
bare_hwm_kb=$(awk '{ print $4 }' "$work/bare_startup" | median)
texture_bytes=$( (cd "$game_dir" && "$bench_dir/decode_pictures") | awk '{ print $2 }')

# ---- CPU use while minimized -------------------------------------------------------------------
clock_ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# Starts a program, minimizes its window once it is up and prints its CPU use over the interval
# in percent of one core.
minimized_cpu() {
  local name="$1" settle="$2"
  shift 2
  "$@" >"$work/minimized.log" 2>&1 &
  local game_pid=$!
  local window=""
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  if [ -z "$window" ]; then
    log "no window named $name appeared"
    echo "nan"
  else
    sleep "$settle"
    xdotool windowminimize "$window"
    sleep 2
    local before after
    before=$(cpu_ticks "$game_pid")
    sleep "$minimized_seconds"
    after=$(cpu_ticks "$game_pid")
    awk -v t=$((after - before)) -v hz="$clock_ticks" -v s="$minimized_seconds" \
      'BEGIN { printf "%.2f\n", 100 * t / hz / s }'
  fi
  kill "$game_pid" 2>/dev/null || true
  wait "$game_pid" 2>/dev/null || true
}
log "CPU use while minimized, ${minimized_seconds} s each"
# The game is minimized on its main menu, after the logo's hold and the menu's fade-in.
game_cpu=$(cd "$game_dir" && SDL_AUDIODRIVER=dummy minimized_cpu '^Tolvar$' 6 ./tolvar)
bare_cpu=$(minimized_cpu '^bare window$' 1 "$bench_dir/bare_window" --stay)

# ---- still screens, pads, presses and frame intervals ------------------------------------------
log "still screens, a pad, presses and frame intervals of the real program"
python3 "$repo/bench/still_screens.py" "$game_dir/tolvar" "$bench_dir/libswap_counter_preload.so" \
  "$bench_dir/libvirtual_pad_preload.so" "$bench_dir/bare_window" >"$work/still_screens"
still() { awk -v name="$1" '$1 == name { print $2 }' "$work/still_screens"; }
floor_hz=$(still floor_hz)

unset DISPLAY

# ---- in-process benchmarks on the offscreen driver ---------------------------------------------
log "benchmarks on the offscreen driver"
"$bench_dir/tolvar_benchmarks" --benchmark_out="$work/benchmarks.csv" --benchmark_out_format=csv \
  --benchmark_enable_random_interleaving=true >&2
log "frames on a 2048x1536 view"
TOLVAR_BENCH_VIEW=2048x1536 "$bench_dir/tolvar_benchmarks" \
  --benchmark_filter='BM_texturedQuadFrame|BM_playLevelFrame/1/' \
  --benchmark_out="$work/benchmarks-2048.csv" --benchmark_out_format=csv \
  --benchmark_enable_random_interleaving=true >&2
log "heap allocations per frame"
"$bench_dir/frame_allocations" >"$work/allocations"

# ---- the table ---------------------------------------------------------------------------------
# One benchmark's column: real time in its own unit, or a counter or label. For a benchmark run
# several times, the median of the runs.
bm() {
  awk -F, -v name="$1" -v column="$2" '
    $1 == "name" { for (i = 1; i <= NF; i++) { gsub(/"/, "", $i); index_of[$i] = i }; next }
    length(index_of) > 0 {
      n = $1; gsub(/"/, "", n)
      median = n ~ /_median$/
      sub(/_median$/, "", n); sub(/\/(min_time|repeats|real_time).*/, "", n)
      if (n != name) next
      if (median) { found_median = $(index_of[column]) } else if (first == "") { first = $(index_of[column]) }
    }
    END { print (found_median != "") ? found_median : first }' "${bm_file:-$work/benchmarks.csv}"
}
alloc() { awk -v name="$1" -v column="$2" '$1 == "allocations" && $2 == name { print $column }' "$work/allocations"; }
alloc_max() {
  local column="$1" best=0 value
  shift
  for name in "$@"; do
    value=$(alloc "$name" "$column")
    best=$(awk -v a="$best" -v b="$value" 'BEGIN { print (b > a) ? b : a }')
  done
  echo "$best"
}

renderer=$(grep -m1 '^# renderer' "$work/allocations" | sed 's/^# renderer: //')

{
  printf '%s\n' "measure|figure|floor|ratio|target|result"

  # row MEASURE FIGURE FLOOR UNIT RELATION(le|ge|eq) TARGET RATIO(yes|no)
  row() {
    awk -v m="$1" -v f="$2" -v fl="$3" -v u="$4" -v rel="$5" -v t="$6" -v ratio="$7" 'BEGIN {
      if (ratio == "yes") {
        r = (fl > 0) ? f / fl : 0
        pass = (rel == "le") ? (r <= t) : (r >= t)
        printf "%s|%.2f %s|%.2f %s|%.2fx|%s %.2fx|%s\n", m, f, u, fl, u, r,
          (rel == "le") ? "<=" : ">=", t, pass ? "pass" : "MISS"
      } else if (rel == "info" && fl == "") {
        printf "%s|%.2f %s|-|-|-|-\n", m, f, u
      } else if (rel == "info") {
        printf "%s|%.2f %s|%.2f %s|%.2fx|-|-\n", m, f, u, fl, u, (fl > 0) ? f / fl : 0
      } else {
        pass = (rel == "le") ? (f <= t) : (rel == "ge") ? (f >= t) : (f == t)
        printf "%s|%.3g %s|%s|-|%s %s %s|%s\n", m, f, u, (fl == "") ? "-" : sprintf("%.3g %s", fl, u),
          (rel == "le") ? "<=" : (rel == "ge") ? ">=" : "=", t, u, pass ? "pass" : "MISS"
      }
    }'
  }

  # The game decodes only the logo before its first frame; the other pictures load behind it.
  logo_ms=$(bm BM_decodeLogoAlone real_time)
  row "start-up, exec to first frame (floor: bare window + decoding the logo)" "$game_startup_ms" \
    "$(awk -v a="$bare_startup_ms" -v b="$logo_ms" 'BEGIN { print a + b }')" ms le 1.2 yes

  # Where the rest goes: the same with the work no loader can skip (uploading the pictures,
  # loading the menu's module, building the fonts) added to the floor.
  upload_ms=$(bm BM_decodeAndUploadAlone real_time)
  song_ms=$(bm BM_loadSong/0 real_time)
  font_ms=$(bm BM_buildFonts real_time)
  row "start-up (floor: bare window + decode/upload + module + font)" "$game_startup_ms" \
    "$(awk -v a="$bare_startup_ms" -v b="$upload_ms" -v c="$song_ms" -v d="$font_ms" \
      'BEGIN { print a + b + c + d }')" ms info 0 no

  quad_ms=$(bm BM_texturedQuadFrame real_time)
  for level in 1 5; do
    frame_ms=$(bm "BM_playLevelFrame/$level" real_time)
    row "frame rate, level $level in play (floor: one textured quad)" \
      "$(awk -v t="$frame_ms" 'BEGIN { print 1000 / t }')" \
      "$(awk -v t="$quad_ms" 'BEGIN { print 1000 / t }')" fps ge 0.8 yes
  done
  # Text is drawn from the glyph atlas, whose glyphs grow with the view: four times the pixels here.
  quad_2048_ms=$(bm_file="$work/benchmarks-2048.csv" bm BM_texturedQuadFrame real_time)
  frame_2048_ms=$(bm_file="$work/benchmarks-2048.csv" bm "BM_playLevelFrame/1" real_time)
  row "frame rate, level 1 in play, 2048x1536 view (floor: one textured quad)" \
    "$(awk -v t="$frame_2048_ms" 'BEGIN { print 1000 / t }')" \
    "$(awk -v t="$quad_2048_ms" 'BEGIN { print 1000 / t }')" fps ge 0.8 yes
  for level in 1 5; do
    row "play rules alone, one level-$level frame" "$(bm "BM_applyPlayRules/$level" real_time)" "" ns info 0 no
  done

  row "loadTextures, 25 pictures (floor: libjpeg-turbo + libpng)" \
    "$(bm BM_loadTextures real_time)" "$(bm BM_decodePicturesAlone real_time)" ms le 1.3 yes
  row "loadTextures (floor: libjpeg-turbo + libpng + glTexImage2D)" \
    "$(bm BM_loadTextures real_time)" "$upload_ms" ms info 0 no
  row "loadSong, menu module" "$song_ms" "" ms info 0 no
  row "building both fonts (16 and 36 px)" "$font_ms" "" ms info 0 no

  row "operator new per frame, menus" \
    "$(alloc_max 4 main_menu play_menu help game_over credits)" 0 "" eq 0 no
  row "operator new per frame, level select" "$(alloc level_select 4)" 0 "" eq 0 no
  row "operator new per frame, play (levels 1-5)" \
    "$(alloc_max 4 level_1_play level_2_play level_3_play level_4_play level_5_play)" 0 "" eq 0 no
  for kind in main_menu level_select level_1_play level_5_play; do
    row "malloc per frame incl. GL driver, $kind" "$(alloc "$kind" 5)" \
      "$(alloc textured_quad 5)" "" info 0 no
  done

  row "CPU while minimized, % of a core (floor: bare window)" "$game_cpu" "$bare_cpu" "%" le 1 no

  # A still screen against a bare window drawing one picture at the display's rate.
  drawing_floor="bare window drawing one picture at $floor_hz Hz"
  row "frames presented per second, still main menu" "$(still menu_fps)" "$floor_hz" /s info 0 no
  row "CPU, still main menu, % of a core (floor: $drawing_floor)" "$(still menu_cpu)" \
    "$(still floor_cpu)" "%" le 0.15 yes
  row "CPU, paused level 1 (same floor)" "$(still paused_cpu)" "$(still floor_cpu)" "%" le 0.15 yes
  row "CPU, still main menu, pad plugged in (same floor)" "$(still pad_menu_cpu)" \
    "$(still floor_cpu)" "%" le 0.15 yes
  row "CPU while minimized, pad plugged in (floor: minimized without a pad)" \
    "$(still pad_minimized_cpu)" "$(still minimized_cpu)" "%" le 1.5 no
  for press in key pad; do
    row "$press press on the still main menu to the frame showing it, in 1/60 s, median" \
      "$(still "${press}_frames")" "" frames le 1 no
  done
  period_ms=$(awk -v hz="$floor_hz" 'BEGIN { print 1000 / hz }')
  row "frame interval p99, level 1 in play (floor: one period at $floor_hz Hz)" \
    "$(still play_p99_ms)" "$period_ms" ms le 21 no
  row "frame interval p99, crossfades (same floor)" "$(still fade_p99_ms)" "$period_ms" ms le 21 no

  row "peak RSS at first frame (floor: textures + bare window)" \
    "$(awk -v k="$game_hwm_kb" 'BEGIN { print k / 1024 }')" \
    "$(awk -v b="$texture_bytes" -v k="$bare_hwm_kb" 'BEGIN { print b / 1048576 + k / 1024 }')" \
    MiB le 1.25 yes
  # Read on the still main menu, which presents no frame to count to.
  row "peak RSS on the still main menu (same floor)" \
    "$(awk -v k="$(still menu_vmhwm_kb)" 'BEGIN { print k / 1024 }')" \
    "$(awk -v b="$texture_bytes" -v k="$bare_hwm_kb" 'BEGIN { print b / 1048576 + k / 1024 }')" \
    MiB le 1.25 yes

  # The music benchmarks' labels read "<file> song_seconds=<length of one play>".
  song_seconds() { bm "$1" label | sed 's/.*song_seconds=//'; }
  for track in 0 1 2 3 4 5; do
    file=$(bm "BM_renderSongFrames/$track" label | awk '{ print $1 }')
    speed=$(awk -v s="$(song_seconds "BM_renderSongFrames/$track")" \
      -v m="$(bm "BM_renderSongFrames/$track" cpu_time)" 'BEGIN { print s * 1000 / m }')
    alone=$(awk -v s="$(song_seconds "BM_openmptAlone/$track")" \
      -v m="$(bm "BM_openmptAlone/$track" cpu_time)" 'BEGIN { print s * 1000 / m }')
    awk -v m="music at 32000 Hz, ${file##*/} (floor: libopenmpt alone)" -v f="$speed" -v fl="$alone" 'BEGIN {
      printf "%s|%.0fx real time|%.0fx real time|%.2fx|>= 300x real time|%s\n", m, f, fl, f / fl,
        (f >= 300) ? "pass" : "MISS" }'
  done
} >"$work/table"

echo
echo "Tolvar benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, renderer: $renderer"
echo "start-up and memory: median of $startup_runs runs under Xvfb ${screen}x24 with openbox"
echo "still screens: CPU over 10 s each, presses median of 9; load average before the run: $load_before"
echo
column -t -s '|' "$work/table"
