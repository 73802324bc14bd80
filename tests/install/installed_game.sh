# shellcheck shell=bash disable=SC2154
# Checks and runs of an installed game, sourced by the install and package tests once
# scripts/lib/scratch.sh has made their scratch folder (work), which also ends a game they started
# on exit. The game runs on the X desktop the test runs on (see require_own_x_desktop).

app_id=io.github.tolvar.Tolvar
package_list=$(readlink -f "$(dirname "${BASH_SOURCE[0]}")/../../scripts/debian-packages.txt")
game_pid=

# fail MESSAGE: ends the test, with the game's standard error when there is one.
fail() {
    echo "FAIL: $*" >&2
    if [ -f "$work/game.err" ]; then
        echo "--- the game's standard error:" >&2
        cat "$work/game.err" >&2
    fi
    exit 1
}

# require_tools TOOL...: each on PATH, or the test fails naming it and the Debian package that
# the project's list gives for it.
require_tools() {
    local tool package
    for tool in "$@"; do
        command -v "$tool" > /dev/null && continue
        package=$(awk -v tool="$tool" '!/^[[:space:]]*#/ { for (i = 3; i <= NF; ++i)
            if ($i == tool) { print $2; exit } }' "$package_list")
        fail "$tool not found: it comes with the Debian package ${package:-(none listed)}" \
            "(scripts/install-dependencies.sh play test)"
    done
}

# check_installation PREFIX LAUNCHER_PATH VERSION
# The files under PREFIX, where the menu entry and the manual page name the launcher by
# LAUNCHER_PATH (the path it has once installed, which for an unpacked package is not where it
# lies now).
check_installation() {
    local prefix=$1 launcher=$2 version=$3
    require_tools desktop-file-validate appstreamcli man gzip
    local program=$prefix/lib/games/tolvar/tolvar data=$prefix/share/games/tolvar/Data
    [ -x "$program" ] || fail "no program at lib/games/tolvar/tolvar"
    for file in Kuvat/Taustat/logo.jpg Kuvat/Objektit/Pallo.png Kuvat/Objektit/10.jpg \
        Musat/menumusa.it Musat/BLACKSMI.it; do
        [ -s "$data/$file" ] || fail "no Data/$file in share/games/tolvar"
    done
    [ "$(find "$data/Kuvat" -type f | wc -l)" -eq 25 ] || fail "not 25 pictures"
    [ "$(find "$data/Musat" -type f | wc -l)" -eq 6 ] || fail "not 6 modules"
    if find "$prefix" -name Data.dat | grep -q .; then
        fail "a Data.dat was installed: the progress file is the player's own"
    fi

    local desktop=$prefix/share/applications/$app_id.desktop
    [ -f "$desktop" ] || fail "no share/applications/$app_id.desktop"
    grep -qx "Exec=$launcher" "$desktop" || fail "the menu entry does not start $launcher"
    grep -qx "Exec=$launcher --windowed" "$desktop" || fail "the menu entry offers no play in a window"
    grep -qx "Icon=$app_id" "$desktop" || fail "the menu entry names no $app_id icon"
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the menu entry"

    local metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
    [ -f "$metainfo" ] || fail "no share/metainfo/$app_id.metainfo.xml"
    appstreamcli validate --no-net "$metainfo" > "$work/appstream.log" 2>&1 ||
        { cat "$work/appstream.log" >&2; fail "appstreamcli rejects the metainfo"; }
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        fail "the metainfo does not launch $app_id.desktop"
    grep -q "<release version=\"$version\" date=\"[0-9-]*\"" "$metainfo" ||
        fail "the metainfo has no release $version"

    # The manual page renders without a warning and names the installed files.
    local manual=$prefix/share/man/man6/tolvar.6.gz
    gzip -t "$manual" || fail "no gzipped share/man/man6/tolvar.6.gz"
    LC_ALL=C.UTF-8 MANWIDTH=200 man --warnings -l "$manual" > "$work/manual.txt" 2> "$work/manual.err" ||
        fail "man cannot render the manual page"
    [ ! -s "$work/manual.err" ] || { cat "$work/manual.err" >&2; fail "the manual page has warnings"; }
    for text in "Tolvar $version" "--windowed" "Data.dat" "EXIT STATUS" "$launcher" \
        "${launcher%/*/tolvar}/lib/games/tolvar/tolvar"; do
        grep -qF -- "$text" "$work/manual.txt" || fail "the manual page does not say $text"
    done

    [ -s "$prefix/share/doc/tolvar/copyright" ] || fail "no share/doc/tolvar/copyright"
    grep -q "^License: Expat" "$prefix/share/doc/tolvar/copyright" ||
        fail "the copyright names no MIT licence"
    [ "$(gzip -dc "$prefix/share/doc/tolvar/changelog.gz" | head -n 1)" = \
        "tolvar ($version) unstable; urgency=medium" ] || fail "the changelog does not start with $version"

    # Each icon a PNG of its folder's size: the width and height words of the IHDR chunk.
    local icons=0 icon size signature width height
    for icon in "$prefix"/share/icons/hicolor/*/apps/"$app_id".png; do
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
    [ -f "$prefix/share/icons/hicolor/48x48/apps/$app_id.png" ] || fail "no 48x48 icon"
}

# The test runs on an X desktop of its own, which tests/e2e/x_desktop.py makes (ctest runs the
# test under it): never on the desktop of whoever started it.
require_own_x_desktop() {
    [ -n "${TOLVAR_X_DESKTOP:-}" ] ||
        fail "not on an X desktop of its own: run the test through ctest or tests/e2e/x_desktop.py"
    require_tools xdotool
}

# start_game LAUNCHER HOME [ARGUMENT...]
# Starts the launcher in a fresh environment as a desktop menu gives it. Leak checking is off for
# a sanitizer build: at exit a GL driver library unloaded under X leaves blocks nobody can name,
# and what these tests check is the installation, not the program's teardown.
start_game() {
    local launcher=$1 home=$2
    shift 2
    env -i PATH="$PATH" HOME="$home" DISPLAY="$DISPLAY" SDL_AUDIODRIVER=dummy \
        ASAN_OPTIONS=detect_leaks=0 \
        "$launcher" "$@" > /dev/null 2> "$work/game.err" &
    game_pid=$!
    stop_on_exit "$game_pid"
}

# The window of the game, waiting up to a generous bound for a start-up under the sanitizers.
wait_for_window() {
    for _ in $(seq 600); do
        if xdotool search --name '^Tolvar$' > /dev/null 2>&1; then
            return 0
        fi
        kill -0 "$game_pid" 2>/dev/null || fail "the game ended before its window appeared"
        sleep 0.1
    done
    fail "no window named Tolvar appeared"
}

# wait_for_progress FOLDER: Data.dat in FOLDER holds 1.
wait_for_progress() {
    for _ in $(seq 50); do
        [ -f "$1/Data.dat" ] && break
        sleep 0.1
    done
    [ "$(cat "$1/Data.dat" 2>/dev/null)" = 1 ] || fail "Data.dat in the player's folder does not hold 1"
}

# Clicks the main menu's Quit until the game ends (a click during the logo's hold or a fade waits
# for the next frame), and returns the game's exit code.
quit_game() {
    for _ in $(seq 60); do
        xdotool mousemove 485 510 click 1 > /dev/null 2>&1 || true
        for _ in $(seq 10); do
            if ! kill -0 "$game_pid" 2>/dev/null; then
                local code=0
                wait "$game_pid" || code=$?
                return "$code"
            fi
            sleep 0.1
        done
    done
    fail "the game did not end on Quit"
}
