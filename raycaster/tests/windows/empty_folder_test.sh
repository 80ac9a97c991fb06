#!/usr/bin/env bash
# The Windows game from a folder that holds nothing but the executable, under
# wine inside Xvfb: it must find every asset inside itself and play.
# usage: empty_folder_test.sh RAYCASTER_EXE PARENT
set -euo pipefail
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
parent=$2
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)

if [ -z "${DREVIX_WINE_DISPLAY:-}" ]; then
  export DREVIX_WINE_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" "$@"
fi

mkdir -p "$parent"
find "$parent" -mindepth 1 -maxdepth 1 -name 'run.*' -mmin +60 -exec rm -rf {} + || true
work=$(mktemp -d "$parent/run.XXXXXX")
WINE_ROOT=$work/wine
. "$root/installer/tests/wine_env.sh"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
bash "$root/installer/tests/wine_prefix.sh" "$WINE_ROOT" >"$work/prefix.log" 2>&1 || {
  cat "$work/prefix.log" >&2
  exit 1
}

# C:\games\empty\raycaster.exe: the base folder C:\games has no assets.
folder=$WINEPREFIX/drive_c/games/empty
mkdir -p "$folder"
cp "$exe" "$folder/raycaster.exe"

set +e
. "$root/raycaster/tests/e2e/drive.sh"
. "$here/wine_game.sh"
play_windows_game "$folder/raycaster.exe" "$work/shots"
[ ! -s "$work/shots/stderr" ] || fail "the game wrote errors: $(cat "$work/shots/stderr")"
[ "$(ls "$folder")" = raycaster.exe ] || fail "the game left files beside it: $(ls "$folder")"
echo "Windows game from an empty folder: ok"
