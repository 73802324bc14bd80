#!/usr/bin/env bash
# Runs a command in the project on a fresh Debian bookworm: a minimal system made with debootstrap,
# into which what is committed in this clone is cloned, so that only what the project's own
# scripts install is there. CI runs its steps this way; the packages of the machine it happens to
# run on do not matter.
#
#   scripts/fresh-debian.sh COMMAND [ARGUMENT...]      (as root: chroot and mounts)
#
# COMMAND runs as root in the project's folder inside the fresh system, with
# TOLVAR_FRESH_DEBIAN=1 in its environment. Kept between runs, in $TOLVAR_FRESH_CACHE (default
# /var/cache/tolvar-fresh-debian): the debootstrapped base as a tarball, apt's downloaded
# archives and the libraries cross-built for Windows and for the browser
# (scripts/windows-libraries.sh and scripts/web-libraries.sh, which key them by their sources).
# Everything else, the system and the clone, is made anew each run under that folder.
set -euo pipefail

[ $# -gt 0 ] || { echo "usage: scripts/fresh-debian.sh COMMAND [ARGUMENT...]" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "fresh-debian.sh: needs root (chroot and mounts)" >&2; exit 2; }
project=$(git -C "$(dirname "$0")/.." rev-parse --show-toplevel)
cache=${TOLVAR_FRESH_CACHE:-/var/cache/tolvar-fresh-debian}
base=$cache/bookworm-minbase.tar
root=$cache/root
started=$SECONDS
say() { echo "fresh-debian: [$((SECONDS - started)) s] $*" >&2; }

command -v debootstrap > /dev/null ||
  { echo "fresh-debian.sh: debootstrap not found (scripts/install-dependencies.sh ci)" >&2; exit 1; }
mkdir -p "$cache/archives/partial" "$cache/windows-libraries" "$cache/web-libraries"
# One run at a time: the runs share the cache.
exec 9> "$cache/lock"
flock 9

# The Debian mirror this machine's apt uses.
mirror=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/debian.sources 2> /dev/null |
  head -n 1)
[ -n "$mirror" ] ||
  mirror=$(awk '$1 == "deb" && $3 == "bookworm" { print $2; exit }' /etc/apt/sources.list 2> /dev/null)
[ -n "$mirror" ] || { echo "fresh-debian.sh: no Debian mirror in apt's sources" >&2; exit 1; }

if [ ! -f "$base" ]; then
  say "making a minimal bookworm with debootstrap (once; kept in $base)"
  rm -rf "$cache/base"
  debootstrap --variant=minbase --cache-dir="$cache/archives" bookworm "$cache/base" "$mirror" \
    > "$cache/debootstrap.log" 2>&1 || { tail -n 5 "$cache/debootstrap.log" >&2; exit 1; }
  tar -C "$cache/base" -cf "$base.partial" . && mv "$base.partial" "$base"
  rm -rf "$cache/base"
fi

rm -rf "$root"
mkdir -p "$root"
tar -C "$root" -xf "$base"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# The same sources as this machine's apt, security updates among them.
if [ -f /etc/apt/sources.list.d/debian.sources ]; then
  cp /etc/apt/sources.list.d/debian.sources "$root/etc/apt/sources.list.d/"
  rm -f "$root/etc/apt/sources.list"
fi
git clone -q "$project" "$root/root/tolvar"
say "fresh bookworm with $(git -C "$project" rev-parse --short HEAD) cloned into it"

# The mounts live in a mount namespace of the command's own and go away with it.
# shellcheck disable=SC2016
unshare --mount --propagation private bash -c '
  set -e
  root=$1 archives=$2 windows_libraries=$3 web_libraries=$4; shift 4
  mount --bind /proc "$root/proc"
  mount --bind /sys "$root/sys"
  mount --bind /dev "$root/dev"
  mount -t tmpfs tmpfs "$root/dev/shm"
  mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts" 2> /dev/null || true
  mount -t tmpfs tmpfs "$root/tmp"
  mount --bind "$archives" "$root/var/cache/apt/archives"
  mkdir -p "$root/root/.cache/tolvar-windows"
  mount --bind "$windows_libraries" "$root/root/.cache/tolvar-windows"
  mkdir -p "$root/root/.cache/tolvar-web"
  mount --bind "$web_libraries" "$root/root/.cache/tolvar-web"
  cd /
  exec chroot "$root" env -i HOME=/root TERM=dumb LANG=C.UTF-8 CI="${CI:-}" \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin TOLVAR_FRESH_DEBIAN=1 \
    bash -c "cd /root/tolvar && exec \"\$@\"" command "$@"
' fresh-debian "$root" "$cache/archives" "$cache/windows-libraries" "$cache/web-libraries" \
  "$@"
