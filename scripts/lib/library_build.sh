# shellcheck shell=bash
# What the two cross-builds of the game's libraries share (scripts/windows-libraries.sh and
# scripts/web-libraries.sh): the pins, the cache with its lock, the sources, the logged steps and
# the finished prefix. Sourced after the script has set `progress` and `fail`:
#
#   source scripts/lib/library_build.sh
#   library_cache_open CACHE_ROOT        locks the cache (a second run waits, then finds the prefix)
#   library_sources_find || { …offline… } sets `sources` and `devil_source` from the pins; fails
#                                        (1) where the archive's source index cannot be read
#   library_newest_prefix                the newest prefix already built (for a run offline)
#   library_scratch_open KEY             lowers the priority, makes the scratch folder and stage,
#                                        fetches and unpacks the sources (`src`, `stage`, `scratch`)
#   step NAME COMMAND...                 one logged step; on failure the log's end is shown
#   in_dir DIR COMMAND...                a command run in a folder
#   source_dir NAME                      the unpacked source of a package
#   library_prefix_finish PREFIX WANTED...  checks each WANTED.pc, makes the stage the prefix
#
# Each library is pinned by its upstream version, bookworm's (those the Linux build links), as
# Debian spells it (no epoch, no revision), and built from the newest Debian revision of it the
# archive serves when the script runs. DevIL is sid's 1.8.0, of which only the original tarball is
# used: bookworm's 1.7.8 source is no longer served.

# shellcheck source=scripts/lib/debian_sources.sh
source "$(dirname "${BASH_SOURCE[0]}")/debian_sources.sh"

library_pins=(
  zlib=1.2.13.dfsg
  libpng1.6=1.6.39
  libjpeg-turbo=2.1.5
  freetype=2.12.1+dfsg
  libsdl2=2.26.5+dfsg
  libopenmpt=0.6.9
)
devil_pin=devil=1.8.0.40.g6f3d5e9b+dfsg

library_cache_open() {
  cache_root=$1
  mkdir -p "$cache_root"
  exec 9> "$cache_root/.lock"
  if ! flock -n 9; then
    progress "waiting for another run building into $cache_root"
    flock 9
  fi
}

library_sources_find() {
  debian_sources_update "$cache_root/apt" || return 1
  local pin
  sources=()
  for pin in "${library_pins[@]}"; do
    sources+=("$(debian_source_version "${pin%%=*}" "${pin#*=}")")
  done
  devil_source=$(debian_source_version "${devil_pin%%=*}" "${devil_pin#*=}" '\.orig\.tar\.')
}

library_newest_prefix() {
  find "$cache_root" -mindepth 1 -maxdepth 1 -type d -not -name '.*' -not -name apt \
    -printf '%T@ %p\n' | sort -rn | head -n 1 | cut -d' ' -f2-
}

library_scratch_open() {
  local key=$1
  # The machine's cores are shared: everything from here on runs at a lower priority.
  renice -n 10 $$ > /dev/null
  library_build_started=$SECONDS
  # Scratch folders of interrupted runs are worth nothing: the lock says none is running.
  rm -rf "$cache_root"/.build-*
  scratch=$cache_root/.build-$key
  stage=$scratch/prefix
  logs=$scratch/logs
  src=$scratch/src
  mkdir -p "$stage"/{bin,lib/pkgconfig,include} "$logs" "$src" "$src/devil"
  step apt-source debian_sources_fetch "$src" "${sources[@]}"
  progress "devil-source"
  tar -xf "$(debian_orig_tarball "$src" "$devil_source")" -C "$src/devil" --strip-components=1
}

in_dir() (
  cd "$1" && shift && "$@"
)

step() {
  local name=$1
  shift
  progress "$name"
  if ! "$@" > "$logs/$name.log" 2>&1; then
    tail -n 40 "$logs/$name.log" >&2
    fail "$name failed (the whole log: $logs/$name.log)"
  fi
}

source_dir() {
  local dirs=("$src/$1"-*/)
  [ -d "${dirs[0]}" ] || fail "no unpacked source of $1 in $src"
  echo "${dirs[0]%/}"
}

library_prefix_finish() {
  local prefix=$1 pc wanted
  shift
  # libtool's archives only carry absolute paths of the scratch folder.
  find "$stage" -name '*.la' -delete
  # The .pc files name their folders relative to themselves; everything else that names the
  # scratch folder (sdl2-config, CMake packages) names the final prefix instead.
  for pc in "$stage"/lib/pkgconfig/*.pc; do
    sed -i -e "s|^prefix=.*|prefix=\${pcfiledir}/../..|" -e "s|$stage|\${prefix}|g" "$pc"
  done
  grep -rlI --null -F "$stage" "$stage" | xargs -0 -r sed -i "s|$stage|$prefix|g"
  for wanted in "$@"; do
    [ -f "$stage/lib/pkgconfig/$wanted.pc" ] || fail "the build left no $wanted.pc"
  done
  mv "$stage" "$prefix"
  rm -rf "$scratch"
  progress "done in $((SECONDS - library_build_started)) s"
  echo "$prefix"
}
