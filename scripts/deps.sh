#!/usr/bin/env bash
# Installs, from Debian's archive, every package the project needs to build,
# run and test; only what is missing is installed. Safe to run repeatedly.
set -euo pipefail

PACKAGES=(
  # build
  build-essential cmake pkg-config git
  libgtest-dev libbenchmark-dev
  libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libsdl2-mixer-dev
  libgl-dev libgl1-mesa-dri
  zlib1g-dev
  # assets: font source and the music encoder
  fonts-dejavu-core lame
  # headless runs and screenshot checks
  xvfb xauth xdotool imagemagick
  # the Windows programs: cross compiler, zlib for the installer, wine to run
  # them, and dpkg-dev to unpack the SDL sources the Windows game is built from
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine wine64 dpkg-dev xz-utils
  # archives for the zip reader's tests and benchmark
  zip unzip p7zip-full libarchive-tools python3
  # fuzzing and sanitizers
  clang libclang-rt-14-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=()
if [ "$(id -u)" -ne 0 ]; then SUDO=(sudo -E); fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -q
"${SUDO[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
