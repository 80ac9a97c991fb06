#!/usr/bin/env bash
# Installs, from Debian's archive, the packages the project needs; only what
# is missing is installed. Safe to run repeatedly.
# Usage: scripts/deps.sh [SET...]   SET: player, demo, all (the default)
#   player  build and run the Linux programs and their assets
#   demo    what the headless demo adds (run.sh without a display)
#   all     the above and the developer's set: tests, sanitizers, fuzzing,
#           the Windows cross-builds and wine, zip tools, packaging checks
set -euo pipefail

PLAYER=(
  g++ make cmake pkg-config
  libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libsdl2-mixer-dev
  # Xlib's headers: both programs set an X error handler before SDL starts
  libx11-dev
  # the maze generator's worksheets (PDF)
  libcairo2-dev
  libgl-dev libgl1-mesa-dri
  zlib1g-dev
  # assets: font sources and the music encoder
  fonts-dejavu-core fonts-noto-mono lame
)

DEMO=(
  # a private X server, keys and screenshots
  xvfb xauth xdotool imagemagick
)

DEVELOPER=(
  build-essential git
  libgtest-dev libbenchmark-dev
  # the Windows programs: cross compiler, zlib for it, and wine to run them;
  # dpkg-dev and xz-utils unpack Debian source packages for the cross build
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine wine64 dpkg-dev xz-utils
  # archives for the zip reader's tests and benchmark
  zip unzip p7zip-full libarchive-tools python3
  # renders the maze generator's SVG export in its tests
  librsvg2-bin
  # reads back the maze generator's PDF worksheets (pdfinfo, pdftoppm)
  poppler-utils
  # fuzzing and sanitizers
  clang libclang-rt-14-dev
  # the .deb (CPack needs file for its dependency list), package and desktop
  # file checks, a fresh root for the .deb test
  lintian desktop-file-utils appstream debootstrap file
  # a font's own coverage table, read by the Windows game's test
  python3-fonttools
  # a window manager under Xvfb: the game's test minimises its window
  openbox
  # xwininfo: where a window really is under it, and the message boxes,
  # which have no class for xdotool
  x11-utils
  # sets and reads the clipboard in the maze generator's window test
  xclip
  # frame costs counted in instructions (raycaster/tests/bench_frame_ir.sh)
  valgrind
)

[ $# -gt 0 ] || set -- all
PACKAGES=()
for set in "$@"; do
  case "$set" in
    player) PACKAGES+=("${PLAYER[@]}") ;;
    demo) PACKAGES+=("${DEMO[@]}") ;;
    all) PACKAGES+=("${PLAYER[@]}" "${DEMO[@]}" "${DEVELOPER[@]}") ;;
    *) echo "usage: $0 [player|demo|all]..." >&2; exit 2 ;;
  esac
done

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
