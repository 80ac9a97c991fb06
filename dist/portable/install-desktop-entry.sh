#!/bin/sh
# Adds the game and the maze generator of this folder to the desktop's menu
# (~/.local/share/applications, the icon in ~/.local/share/icons/hicolor);
# --remove takes them out again.
set -eu
HERE=$(cd "$(dirname "$0")" && pwd)
DATA=${XDG_DATA_HOME:-$HOME/.local/share}
APPS=$DATA/applications
ICON=$DATA/icons/hicolor/256x256/apps/drevix-raycaster.png
GAME=$APPS/drevix-raycaster-portable.desktop
MAZE=$APPS/drevix-maze-generator-portable.desktop

refresh() {
  command -v update-desktop-database >/dev/null 2>&1 && update-desktop-database -q "$APPS" 2>/dev/null || true
  command -v gtk-update-icon-cache >/dev/null 2>&1 &&
    gtk-update-icon-cache -q -t "$DATA/icons/hicolor" 2>/dev/null || true
}

if [ "${1:-}" = --remove ]; then
  rm -f "$GAME" "$MAZE" "$ICON"
  refresh
  echo "Removed the menu entries of Drevix Raycaster."
  exit 0
fi
[ $# -eq 0 ] || { echo "usage: $0 [--remove]" >&2; exit 2; }

# A path in Exec is quoted, with \ " ` $ escaped, each backslash then
# doubled again as the format's string rules ask, and % doubled.
exec_quoted() {
  printf '"%s"' "$(printf '%s' "$1" | sed -e 's/[\\"`$]/\\&/g' -e 's/\\/\\\\/g' -e 's/%/%%/g')"
}

entry() { # FILE NAME COMMENT PROGRAM CATEGORIES
  cat >"$1.new" <<ENTRY
[Desktop Entry]
Type=Application
Name=$2
Comment=$3
Exec=$(exec_quoted "$HERE/$4")
Path=$HERE
Icon=drevix-raycaster
Terminal=false
Categories=$5
ENTRY
  mv -f "$1.new" "$1"
}

mkdir -p "$APPS" "$(dirname "$ICON")"
cp "$HERE/drevix-raycaster.png" "$ICON"
entry "$GAME" "Drevix Raycaster" "Walk an endless maze in the dark with a flashlight" \
  drevix-raycaster "Game;AdventureGame;"
entry "$MAZE" "Drevix Maze Generator" "Draw perfect mazes" drevix-maze-generator \
  "Education;ComputerScience;"
refresh
echo "Added Drevix Raycaster and Drevix Maze Generator to the menu ($APPS)."
