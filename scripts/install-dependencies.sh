#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the game's build, its tools and its tests need and
# the machine does not have yet. Runs apt-get as root, or through sudo otherwise.
set -euo pipefail

packages=(
  # toolchain
  cmake g++ make pkg-config clang-format
  # the game
  libsdl2-dev libx11-dev libopenmpt-dev libdevil-dev libfreetype-dev libfontconfig-dev libgl-dev
  libgl1-mesa-dri libegl1 libegl-mesa0 fonts-liberation2 zenity
  # the picture and music makers
  libcairo2-dev libpango1.0-dev libjpeg-dev libpng-dev fonts-dejavu-core
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool x11-utils openbox wmctrl
  x11-xserver-utils xserver-xorg-core xserver-xorg-video-dummy
  desktop-file-utils
  imagemagick python3
  # the Debian package and the checks of what gets installed
  dpkg-dev lintian man-db appstream
)

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
