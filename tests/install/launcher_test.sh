#!/usr/bin/env bash
# Installs the game to a temporary prefix and starts it through its launcher under Xvfb, as a new
# player with an empty home would: the window appears, the player's folder gets the data linked
# in and a Data.dat holding 1, Quit ends the game with code 0, a second start keeps the
# progress, and nothing is written into the installation.
#   tests/e2e/x_desktop.py tests/install/launcher_test.sh <build dir> <version>   (as ctest does)
set -euo pipefail

build=$1
version=$2
# shellcheck source=../../scripts/lib/scratch.sh
source "$(dirname "$0")/../../scripts/lib/scratch.sh" tolvar-install
prefix=$work/prefix
home=$work/home
mkdir -p "$home"
# shellcheck source=installed_game.sh
source "$(dirname "$0")/installed_game.sh"
require_own_x_desktop

# ---- the installation ------------------------------------------------------------------------
cmake --install "$build" --prefix "$prefix" > "$work/install.log" || fail "cmake --install failed"
launcher=$prefix/bin/tolvar
[ -x "$launcher" ] || fail "no launcher at bin/tolvar"
[ ! -e "$prefix/games" ] || fail "a prefix of the player's own got a games/ folder"
check_installation "$prefix" "$launcher" "$version"

# The system's prefixes keep games apart: /usr/local/games, as Debian's /usr/games (staged here
# through DESTDIR, so nothing reaches this machine's /usr/local).
DESTDIR=$work/staged cmake --install "$build" --prefix /usr/local > "$work/install-staged.log" ||
    fail "cmake --install --prefix /usr/local failed"
[ -x "$work/staged/usr/local/games/tolvar" ] || fail "no launcher at /usr/local/games/tolvar"
[ ! -e "$work/staged/usr/local/bin" ] || fail "a launcher in /usr/local/bin besides games/"
grep -qx "Exec=/usr/local/games/tolvar" "$work/staged/usr/local/share/applications/$app_id.desktop" ||
    fail "the staged menu entry does not start /usr/local/games/tolvar"

snapshot() {
    (cd "$prefix" && find . -printf '%p %y %s %T@ %l\n' | sort)
}
snapshot > "$work/prefix.before"

# ---- the player's first start ------------------------------------------------------------------
start_game "$launcher" "$home"
wait_for_window
folder=$home/.local/share/tolvar
wait_for_progress "$folder"
[ -L "$folder/Data" ] || fail "the player's Data is not a link to the installed data"
[ "$(readlink -f "$folder/Data")" = "$(readlink -f "$prefix/share/games/tolvar/Data")" ] ||
    fail "the player's Data links elsewhere"
code=0
quit_game || code=$?
[ "$code" -eq 0 ] || fail "the game ended with code $code"

# ---- a second start keeps the player's progress --------------------------------------------------
printf '3' > "$folder/Data.dat"
start_game "$launcher" "$home"
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
