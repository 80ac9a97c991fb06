#!/usr/bin/env bash
# The Windows game from a folder that holds nothing but the executable, under
# wine inside Xvfb: it must find every asset inside itself and play; then a
# setting changed in its options menu is found again at the next start.
# usage: empty_folder_test.sh RAYCASTER_EXE PARENT
set -euo pipefail
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
parent=$2
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)

if [ -z "${DREVIX_WINE_DISPLAY:-}" ]; then
  export DREVIX_WINE_DISPLAY=1
  exec "$root/scripts/xvfb_run.sh" -a -s "-screen 0 1280x800x24" bash "$0" "$@"
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

# Options: frames per second on, then Quit game. Its file goes to the
# player's application data, never beside the program.
start_game "$work/shots/start.sh" "$work/shots/stderr"
press o
sleep 0.5
for _ in $(seq 12); do press Down; done
press Return Escape
sleep 0.5
press o Up Return
wait_exit 20 || fail "Quit game did not end the Windows game"
settings=$(find "$WINEPREFIX/drive_c/users" -path '*AppData/Roaming/Drevix Raycaster/settings.ini')
grep -qx 'show_fps = true' "$settings" 2>/dev/null || fail "no show_fps = true in '$settings'"
[ "$(ls "$folder")" = raycaster.exe ] || fail "the game left files beside it: $(ls "$folder")"

# The next start shows the counter in the bottom right corner.
start_game "$work/shots/start.sh" "$work/shots/stderr"
press space
sleep 4.5
client_shot "$work/shots/fps.png"
letters=$(convert "$work/shots/fps.png" -crop 110x22+845+572 +repage -colorspace Gray \
    -threshold 70% -format '%[fx:int(w*h*mean+0.5)]' info:)
[ "$letters" -gt 20 ] || fail "no frame counter at the next start ($letters light pixels)"
press Escape
sleep 0.5
press Escape
wait_exit 20 || fail "the second start did not quit"

# The journey: kept in the player's application data by the plays above, so
# the title offers Continue; F12 leaves the window's picture in the Pictures
# known folder; the next start continues where the player quit.
journey=$(find "$WINEPREFIX/drive_c/users" -path '*AppData/Roaming/Drevix Raycaster/journey.ini')
grep -q '^position = ' "$journey" 2>/dev/null || fail "no journey in '$journey'"
continue_shown() {
    [ "$(convert "$1" -crop 960x30+0+390 +repage -colorspace Gray -threshold 70% \
        -format '%[fx:int(w*h*mean+0.5)]' info:)" -gt 100 ]
}
start_game "$work/shots/start.sh" "$work/shots/stderr"
sleep 1
client_shot "$work/shots/continue_title.png"
continue_shown "$work/shots/continue_title.png" || fail "no Continue on the Windows title"
press Return
sleep 4.5
hold w 1.5
sleep 0.5
client_shot "$work/shots/walked.png"
press F12
sleep 2
picture=$(find "$WINEPREFIX/drive_c/users" "$HOME" -name 'drevix-raycaster-*.png' 2>/dev/null | head -1)
[ -n "$picture" ] || fail "F12 left no picture"
# Wine gives the Pictures known folder its own place (without a pictures
# folder in HOME, HOME itself); the game's folder is inside it.
case "$picture" in */Drevix\ Raycaster/drevix-raycaster-*.png) ;; *) fail "picture at $picture" ;; esac
[ "$(identify -format '%wx%h' "$picture")" = 960x600 ] || fail "picture size"
differ=$(compare -metric AE -fuzz 3% -extract 960x540+0+0 "$work/shots/walked.png" "$picture" \
    null: 2>&1 | cut -d' ' -f1)
[ "$differ" -lt 500 ] || fail "the picture differs from the window ($differ pixels)"
convert "$work/shots/walked.png" -crop 120x20+8+572 +repage "$work/shots/readout_quit.png"
press Escape
sleep 0.5
press Escape
wait_exit 20 || fail "the third start did not quit"
start_game "$work/shots/start.sh" "$work/shots/stderr"
sleep 1
press Return
sleep 4.5
client_shot "$work/shots/continued.png"
convert "$work/shots/continued.png" -crop 120x20+8+572 +repage "$work/shots/readout_back.png"
[ "$(compare -metric AE "$work/shots/readout_quit.png" "$work/shots/readout_back.png" null: 2>&1 |
    cut -d' ' -f1)" -eq 0 ] || fail "Continue did not return to the place quit"
if [ -n "${KEEP_SHOTS:-}" ]; then cp "$work"/shots/*.png "$KEEP_SHOTS"/; fi
press Escape
sleep 0.5
press Escape
wait_exit 20 || fail "the fourth start did not quit"
echo "Windows game from an empty folder: ok"
