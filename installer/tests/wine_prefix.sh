#!/usr/bin/env bash
# Makes a fresh wine prefix for the installer tests (10 to 20 s). Without a
# window manager, wine's managed windows make every close wait, so they are
# switched off.
# usage: wine_prefix.sh WINE_ROOT
set -euo pipefail
WINE_ROOT=$1
. "$(dirname "$0")/wine_env.sh"
rm -rf "$WINE_ROOT"
# An existing ~/Desktop becomes the prefix's Desktop.
mkdir -p "$HOME/Desktop"
unset DISPLAY
wineboot -i
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
wineserver -w
users=("$WINEPREFIX"/drive_c/users/*/Temp)
[ -d "${users[0]}" ] || { echo "prefix has no user Temp folder" >&2; exit 1; }
echo "wine prefix ready in $WINEPREFIX"
