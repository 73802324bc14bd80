#!/usr/bin/env bash
# Installs the game to a temporary prefix and starts it through its launcher under Xvfb, as a new
# player with an empty home would: the window appears, the player's folder gets the data linked
# in and a Data.dat holding 1, Quit ends the game with code 0, a second start keeps the
# progress, and nothing is written into the installation.
#   launcher_test.sh <build dir>
set -euo pipefail

build=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/tolvar-install.XXXXXX")
prefix=$work/prefix
home=$work/home
mkdir -p "$home"
xvfb_pid=
game_pid=

finish() {
    if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then
        kill -KILL "$game_pid" 2>/dev/null || true
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap finish EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -f "$work/game.err" ]; then
        echo "--- the game's standard error:" >&2
        cat "$work/game.err" >&2
    fi
    exit 1
}

# ---- the installation ------------------------------------------------------------------------
cmake --install "$build" --prefix "$prefix" > "$work/install.log" || fail "cmake --install failed"

[ -x "$prefix/bin/tolvar" ] || fail "no launcher at bin/tolvar"
program=$( (find "$prefix/libexec/tolvar" "$prefix/lib/tolvar" -maxdepth 1 -name tolvar -type f \
    2>/dev/null || true) | head -n 1)
[ -n "$program" ] && [ -x "$program" ] || fail "no program under libexec/tolvar or lib/tolvar"
for file in Kuvat/Taustat/logo.jpg Kuvat/Objektit/Pallo.png Kuvat/Objektit/10.jpg Musat/menumusa.it \
    Musat/BLACKSMI.it; do
    [ -s "$prefix/share/games/tolvar/Data/$file" ] || fail "no Data/$file in share/games/tolvar"
done
[ "$(find "$prefix/share/games/tolvar/Data/Kuvat" -type f | wc -l)" -eq 25 ] || fail "not 25 pictures"
[ "$(find "$prefix/share/games/tolvar/Data/Musat" -type f | wc -l)" -eq 6 ] || fail "not 6 modules"
if find "$prefix" -name Data.dat | grep -q .; then
    fail "a Data.dat was installed: the progress file is the player's own"
fi

desktop=$prefix/share/applications/tolvar.desktop
[ -f "$desktop" ] || fail "no share/applications/tolvar.desktop"
grep -qx "Exec=$prefix/bin/tolvar" "$desktop" || fail "the menu entry does not start the launcher"
grep -qx "Icon=tolvar" "$desktop" || fail "the menu entry names no tolvar icon"
if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the menu entry"
else
    echo "desktop-file-validate not found (package desktop-file-utils): entry not validated"
fi

# Each icon a PNG of its folder's size: the width and height words of the IHDR chunk.
icons=0
for icon in "$prefix"/share/icons/hicolor/*/apps/tolvar.png; do
    [ -f "$icon" ] || fail "no icons under share/icons/hicolor"
    size=$(basename "$(dirname "$(dirname "$icon")")")
    signature=$(od -An -tx1 -N8 "$icon" | tr -d ' \n')
    [ "$signature" = 89504e470d0a1a0a ] || fail "$icon is no PNG"
    width=$(od -An -tu4 --endian=big -j16 -N4 "$icon" | tr -d ' ')
    height=$(od -An -tu4 --endian=big -j20 -N4 "$icon" | tr -d ' ')
    [ "${width}x${height}" = "$size" ] || fail "$icon is ${width}x${height}"
    icons=$((icons + 1))
done
[ "$icons" -ge 4 ] || fail "only $icons icon sizes"
[ -f "$prefix/share/icons/hicolor/48x48/apps/tolvar.png" ] || fail "no 48x48 icon"

snapshot() {
    (cd "$prefix" && find . -printf '%p %y %s %T@ %l\n' | sort)
}
snapshot > "$work/prefix.before"

# ---- the player's first start under Xvfb -------------------------------------------------------
exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
display=:$(head -n 1 "$work/display")

# A fresh environment as a desktop menu gives it. Leak checking is off for a sanitizer build: at
# exit a GL driver library unloaded under X leaves blocks nobody can name, and what this test
# checks is the installation, not the program's teardown.
start_game() {
    env -i PATH="$PATH" HOME="$home" DISPLAY="$display" SDL_AUDIODRIVER=dummy \
        ASAN_OPTIONS=detect_leaks=0 \
        "$prefix/bin/tolvar" > /dev/null 2> "$work/game.err" &
    game_pid=$!
}

# The window of the game, waiting up to a generous bound for a start-up under the sanitizers.
wait_for_window() {
    for _ in $(seq 600); do
        if DISPLAY=$display xdotool search --name '^Tolvar$' > /dev/null 2>&1; then
            return 0
        fi
        kill -0 "$game_pid" 2>/dev/null || fail "the game ended before its window appeared"
        sleep 0.1
    done
    fail "no window named Tolvar appeared"
}

# Clicks the main menu's Quit until the game ends (a click during the logo's hold or a fade waits
# for the next frame), and returns the game's exit code.
quit_game() {
    for _ in $(seq 60); do
        DISPLAY=$display xdotool mousemove 485 510 click 1 > /dev/null 2>&1 || true
        for _ in $(seq 10); do
            if ! kill -0 "$game_pid" 2>/dev/null; then
                local code=0
                wait "$game_pid" || code=$?
                game_pid=
                return "$code"
            fi
            sleep 0.1
        done
    done
    fail "the game did not end on Quit"
}

start_game
wait_for_window
folder=$home/.local/share/tolvar
for _ in $(seq 50); do
    [ -f "$folder/Data.dat" ] && break
    sleep 0.1
done
[ "$(cat "$folder/Data.dat" 2>/dev/null)" = 1 ] || fail "Data.dat in the player's folder does not hold 1"
[ -L "$folder/Data" ] || fail "the player's Data is not a link to the installed data"
[ "$(readlink -f "$folder/Data")" = "$(readlink -f "$prefix/share/games/tolvar/Data")" ] ||
    fail "the player's Data links elsewhere"
code=0
quit_game || code=$?
[ "$code" -eq 0 ] || fail "the game ended with code $code"

# ---- a second start keeps the player's progress --------------------------------------------------
printf '3' > "$folder/Data.dat"
start_game
wait_for_window
code=0
quit_game || code=$?
[ "$code" -eq 0 ] || fail "the second start ended with code $code"
[ "$(cat "$folder/Data.dat")" = 3 ] || fail "the second start changed Data.dat to $(cat "$folder/Data.dat")"

# ---- nothing written into the installation -------------------------------------------------------
snapshot > "$work/prefix.after"
diff -u "$work/prefix.before" "$work/prefix.after" >&2 || fail "the installation changed"
if grep -qi "sanitizer\|runtime error" "$work/game.err"; then
    fail "sanitizer report"
fi
echo "installed, started twice from the launcher, Data.dat kept, installation untouched"
