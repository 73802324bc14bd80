#!/usr/bin/env bash
# Installs, from Debian's packages, the sets of scripts/debian-packages.txt that are named (play
# when none is) and whatever of them the machine does not have yet. Runs apt-get as root, or
# through sudo otherwise.
#
#   scripts/install-dependencies.sh [--list] [play] [test] [ci] [windows] [web]
#
# --list prints the sets' packages, one a line, and installs nothing. An unknown set (exit code
# 2), a package list that cannot be read, a line in it that is not a known set and a package, and
# a set asked for that has no package in the list are errors (exit code 1), never "nothing to
# install".
set -euo pipefail
list_file="$(dirname "$0")/debian-packages.txt"

known_sets=(play test ci windows web)
is_known_set() {
  local known
  for known in "${known_sets[@]}"; do
    [ "$1" = "$known" ] && return 0
  done
  return 1
}
fail() {
  echo "install-dependencies.sh: $1" >&2
  exit "${2:-1}"
}

only_list=false
sets=()
for argument in "$@"; do
  if [ "$argument" = --list ]; then
    only_list=true
  elif is_known_set "$argument"; then
    sets+=("$argument")
  else
    fail "unknown set '$argument' (${known_sets[*]})" 2
  fi
done
[ ${#sets[@]} -gt 0 ] || sets=(play)

if [ ! -f "$list_file" ] || [ ! -r "$list_file" ]; then
  fail "cannot read the package list $list_file"
fi
packages=()
declare -A found=()
line_number=0
while read -r set package _; do
  line_number=$((line_number + 1))
  case $set in '' | '#'*) continue ;; esac
  if ! is_known_set "$set" || [ -z "$package" ] || [ "${package:0:1}" = "#" ]; then
    fail "$list_file:$line_number: not a set (${known_sets[*]}) and a package"
  fi
  for wanted in "${sets[@]}"; do
    if [ "$set" = "$wanted" ]; then
      packages+=("$package")
      found[$set]=1
    fi
  done
done < "$list_file"
for wanted in "${sets[@]}"; do
  [ -n "${found[$wanted]:-}" ] || fail "the package list $list_file names no package for the set $wanted"
done

if $only_list; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update
"${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
