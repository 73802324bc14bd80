#!/usr/bin/env bash
# Installs, from Debian's packages, the sets of scripts/debian-packages.txt that are named (play
# when none is) and whatever of them the machine does not have yet. Runs apt-get as root, or
# through sudo otherwise.
#
#   scripts/install-dependencies.sh [--list] [play] [test] [ci]
#
# --list prints the sets' packages, one a line, and installs nothing.
set -euo pipefail
list_file="$(dirname "$0")/debian-packages.txt"

only_list=false
sets=()
for argument in "$@"; do
  case $argument in
    --list) only_list=true ;;
    play | test | ci) sets+=("$argument") ;;
    *)
      echo "install-dependencies.sh: unknown set '$argument' (play, test or ci)" >&2
      exit 2
      ;;
  esac
done
[ ${#sets[@]} -gt 0 ] || sets=(play)

packages=()
while read -r set package _; do
  for wanted in "${sets[@]}"; do
    [ "$set" = "$wanted" ] && packages+=("$package")
  done
done < <(grep -Ev '^[[:space:]]*(#|$)' "$list_file")

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
