#!/usr/bin/env bash
# Builds the Debian package the way it ships (a Release build without tests, in a folder of its
# own), checks its control data, its file list and lintian's verdict, unpacks it into a temporary
# root with dpkg -x and starts the unpacked launcher under Xvfb as a new player with an empty
# home: the window appears, Data.dat holds 1 in the player's folder, Quit ends it with code 0.
# Nothing is installed into this machine.
#   tests/e2e/x_desktop.py tests/install/package_test.sh <source dir> <version>   (as ctest does)
set -euo pipefail

source_dir=$(readlink -f "$1")
version=$2
# shellcheck source=../../scripts/lib/scratch.sh
source "$(dirname "$0")/../../scripts/lib/scratch.sh" tolvar-package
build=$work/build
root=$work/root
home=$work/home
mkdir -p "$root" "$home"
# shellcheck source=installed_game.sh
source "$(dirname "$0")/installed_game.sh"

require_own_x_desktop
require_tools cmake cpack dpkg-deb dpkg-shlibdeps lintian

# ---- the package -------------------------------------------------------------------------------
configure=(-DCMAKE_BUILD_TYPE=Release -DTOLVAR_TESTS=OFF)
if command -v ccache > /dev/null; then
    configure+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if ! { cmake -S "$source_dir" -B "$build" "${configure[@]}" > "$work/build.log" 2>&1 &&
    cmake --build "$build" -j"$(nproc)" >> "$work/build.log" 2>&1; }; then
    tail -n 40 "$work/build.log" >&2
    fail "the Release build failed"
fi
(cd "$build" && cpack -G DEB) > "$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=$(find "$build" -maxdepth 1 -name "tolvar_${version}_*.deb")
if [ -z "$deb" ] || [ "$(wc -l <<< "$deb")" -ne 1 ]; then
    fail "not one tolvar_${version}_<arch>.deb"
fi

dpkg-deb --info "$deb" | tee "$work/info"
field() {
    sed -n "s/^ $1: //p" "$work/info"
}
[ "$(field Package)" = tolvar ] || fail "the package is not named tolvar"
[ "$(field Version)" = "$version" ] || fail "the package's version is not $version"
[ "$(field Section)" = games ] || fail "the package is not in the games section"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "the package is for another architecture"
for dependency in libsdl2-2.0-0 libopenmpt0 libdevil1c2 libfreetype6 libfontconfig1 libc6 zenity \
    fonts-liberation2; do
    field Depends | tr ',' '\n' | grep -q "^ *$dependency\b" ||
        fail "the package does not depend on $dependency"
done

dpkg-deb --contents "$deb" | awk '{ print $6 }' > "$work/contents"
for file in usr/games/tolvar usr/lib/games/tolvar/tolvar usr/share/games/tolvar/Data/Musat/menumusa.it \
    usr/share/games/tolvar/Data/Kuvat/Taustat/logo.jpg usr/share/applications/$app_id.desktop \
    usr/share/metainfo/$app_id.metainfo.xml usr/share/icons/hicolor/48x48/apps/$app_id.png \
    usr/share/man/man6/tolvar.6.gz usr/share/doc/tolvar/copyright usr/share/doc/tolvar/changelog.gz; do
    grep -qx "\./$file" "$work/contents" || fail "the package has no /$file"
done
if grep -v '^\./usr/' "$work/contents" | grep -qvx '\./'; then
    fail "the package has files outside /usr"
fi
! grep -q '^\./usr/local' "$work/contents" || fail "the package has files under /usr/local"
! grep -q 'Data\.dat$' "$work/contents" ||
    fail "the package has a Data.dat: the progress file is the player's own"

# lintian's errors fail the package; what remains is printed for the record.
lintian --fail-on error --info "$deb" 2>&1 | tee "$work/lintian" || fail "lintian reports errors"

# ---- unpacked into a temporary root ------------------------------------------------------------
dpkg -x "$deb" "$root"
if grep -rlF -e "$work" -e "$source_dir" "$root"; then
    fail "the files above name the build or source folder"
fi
check_installation "$root/usr" /usr/games/tolvar "$version"

start_game "$root/usr/games/tolvar" "$home"
wait_for_window
wait_for_progress "$home/.local/share/tolvar"
code=0
quit_game || code=$?
[ "$code" -eq 0 ] || fail "the game ended with code $code"
echo "package $(basename "$deb"): $(stat -c %s "$deb") bytes; unpacked, started, quit with code 0"
