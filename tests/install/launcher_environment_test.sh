#!/usr/bin/env bash
# The launcher's own work, with the installed program replaced by a stand-in that records the
# folder it was started in and its arguments: the arguments reach the game unchanged; without HOME
# the player's folder is under XDG_DATA_HOME or else under the account's home in the password
# database; a relative XDG_DATA_HOME counts for nothing; with no home to be found the launcher
# says why on standard error and in a box (where a display is named), starts nothing and ends
# with 1.
#   launcher_environment_test.sh <build dir>
set -euo pipefail

build=$1
# shellcheck source=../../scripts/lib/scratch.sh
source "$(dirname "$0")/../../scripts/lib/scratch.sh" tolvar-launcher
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" > "$work/install.log" || fail "cmake --install failed"
launcher=$prefix/bin/tolvar
record=$work/started
cat > "$prefix/lib/games/tolvar/tolvar" <<EOF
#!/bin/sh
{ pwd; for argument; do printf '%s\n' "\$argument"; done; } > "$record"
EOF

# Stand-ins for the password database: one that knows this account with a home of its own, one
# that knows no home; and a zenity that records how it was asked.
mkdir -p "$work/known" "$work/unknown"
cat > "$work/known/getent" <<EOF
#!/bin/sh
[ "\$1" = passwd ] && [ "\$2" = "\$(id -u)" ] || exit 2
echo "player:x:\$2:\$(id -g)::$work/account:/bin/sh"
EOF
printf '#!/bin/sh\nexit 2\n' > "$work/unknown/getent"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" > "%s"\n' "$work/zenity.args" > "$work/unknown/zenity"
chmod +x "$prefix/lib/games/tolvar/tolvar" "$work/known/getent" "$work/unknown/getent" "$work/unknown/zenity"

# expect_started FOLDER ARGUMENT...: the stand-in ran in FOLDER, which holds the progress file and
# the data link, with exactly these arguments.
expect_started() {
    local folder=$1
    shift
    [ -f "$record" ] || fail "the program was not started"
    printf '%s\n' "$folder" "$@" | diff -u - "$record" >&2 || fail "started elsewhere or with other arguments"
    [ "$(cat "$folder/Data.dat")" = 1 ] || fail "no Data.dat holding 1 in $folder"
    [ -L "$folder/Data" ] || fail "no Data link in $folder"
    rm -f "$record"
}

# ---- arguments passed through; XDG_DATA_HOME needs no HOME ---------------------------------------
env -u HOME XDG_DATA_HOME="$work/data" "$launcher" --windowed "two words" "" ||
    fail "the launcher failed with XDG_DATA_HOME and no HOME"
expect_started "$work/data/tolvar" --windowed "two words" ""

# ---- no HOME: the account's home from the password database --------------------------------------
env -u HOME -u XDG_DATA_HOME PATH="$work/known:$PATH" "$launcher" --fullscreen ||
    fail "the launcher failed without HOME"
expect_started "$work/account/.local/share/tolvar" --fullscreen

# ---- a relative XDG_DATA_HOME is ignored ---------------------------------------------------------
(cd "$work" && HOME="$work/home" XDG_DATA_HOME=relative "$launcher") ||
    fail "the launcher failed with a relative XDG_DATA_HOME"
expect_started "$work/home/.local/share/tolvar"
[ ! -e "$work/relative" ] || fail "a folder was made under the relative XDG_DATA_HOME"

# ---- no home at all: the reason on standard error and in a box, nothing started ------------------
code=0
env -u HOME -u XDG_DATA_HOME -u WAYLAND_DISPLAY DISPLAY=:99 PATH="$work/unknown:$PATH" \
    "$launcher" 2> "$work/stderr" || code=$?
[ "$code" -eq 1 ] || fail "without a home the launcher ended with $code, not 1"
[ ! -f "$record" ] || fail "the program was started without a home"
grep -q "^tolvar: cannot find your home folder" "$work/stderr" || fail "standard error does not say why"
grep -qx -- "--error" "$work/zenity.args" || fail "no error box was shown"
grep -q "cannot find your home folder" "$work/zenity.args" || fail "the box does not say why"

# Without a display no box is tried.
rm -f "$work/zenity.args"
code=0
env -u HOME -u XDG_DATA_HOME -u DISPLAY -u WAYLAND_DISPLAY PATH="$work/unknown:$PATH" \
    "$launcher" 2> "$work/stderr" || code=$?
[ "$code" -eq 1 ] || fail "without a home or a display the launcher ended with $code, not 1"
[ ! -e "$work/zenity.args" ] || fail "a box was tried without a display"
echo "arguments passed on; homes found from XDG_DATA_HOME, HOME and the password database; no home reported"
