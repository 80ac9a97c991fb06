#!/usr/bin/env bash
# The real game and its settings file: a NOT SAVED message with a path of
# 2,500 characters stays two lines inside the menu at 960x600 and 640x400;
# the comma key is bound; a shrunk window is kept at the smallest size; a
# screen-sized window fits, frame and all, under a window manager.
# Run under xvfb-run -a -s "-screen 0 1280x800x24".
# Usage: settings_e2e.sh BUILD_DIR
set -u
BUILD=$(cd "$1" && pwd)
. "$(dirname "$0")/drive.sh"
OUT=$(mktemp -d)
WM_PID=""
trap '[ -n "$WM_PID" ] && kill "$WM_PID"; [ -n "${KEEP_SHOTS:-}" ] && cp "$OUT"/*.png "$KEEP_SHOTS"/; rm -rf "$OUT"' EXIT

# 1. A folder path of some 2,500 characters where the game cannot save.
LONG=$OUT/cfg
for c in a b c d e f g h i j k l; do LONG=$LONG/$(printf "$c%.0s" $(seq 200)); done
mkdir -p "$LONG"
touch "$LONG/drevix-raycaster" # a file where the folder should be
export XDG_CONFIG_HOME=$LONG
start_game "$BUILD/bin/raycaster" "$OUT/stderr"
press o Down Down Down Down Down Right Escape # field of view 65, then close: the save fails
sleep 0.5
shot "$OUT/not_saved.png"
# The panel spans x 200..760; the message's lines start at y 477 and 494.
[ "$(count_red "$OUT/not_saved.png" 540x14+210+478)" -gt 150 ] || fail "no red first line"
[ "$(count_red "$OUT/not_saved.png" 540x14+210+495)" -gt 150 ] || fail "no red second line"
xdotool windowsize --sync "$GAME_WID" 640 400 || true
sleep 0.5
shot "$OUT/not_saved_small.png"
# The panel spans x 133..507: red in it, none beside it.
[ "$(count_red "$OUT/not_saved_small.png" 360x40+140+315)" -gt 150 ] || fail "no message at 640x400"
[ $(($(count_red "$OUT/not_saved_small.png" 133x400+0+0) + $(count_red "$OUT/not_saved_small.png" \
    133x400+507+0))) -eq 0 ] || fail "red text beyond the panel at 640x400"
press Down Down Down Down Down Down Down Down Down Down Return # from Field of view to Quit game
wait_exit 10 || fail "the game did not quit"
grep -qF "NOT SAVED: $LONG/drevix-raycaster/settings.ini: could not be read (Not a directory)" \
    "$OUT/stderr" || fail "the whole message is not on stderr: $(cut -c1-300 "$OUT/stderr")"

# 2. The comma key, and a window made smaller than the game reads back.
export XDG_CONFIG_HOME=$OUT/config
SETTINGS=$XDG_CONFIG_HOME/drevix-raycaster/settings.ini
start_game "$BUILD/bin/raycaster" "$OUT/stderr2"
press o Up Up Up Return # Controls
for _ in $(seq 9); do press Down; done
press Return comma Escape # Chat takes the comma; back on Controls
xdotool windowsize --sync "$GAME_WID" 120 90 || true
sleep 0.5
press Down Down Return # Quit game
wait_exit 10 || fail "the game did not quit"
for line in 'key_chat = ","' "window_width = 320" "window_height = 200"; do
    grep -qx "$line" "$SETTINGS" || fail "settings.ini lacks '$line': $(cat "$SETTINGS")"
done
start_game "$BUILD/bin/raycaster" "$OUT/stderr3"
eval "$(xdotool getwindowgeometry --shell "$GAME_WID")"
[ "$WIDTH"x"$HEIGHT" = 320x200 ] || fail "the window opened at ${WIDTH}x$HEIGHT, not 320x200"
press o Up Return
wait_exit 10 || fail "the game did not quit"
! grep -v '^Failed: .*bgimage' "$OUT/stderr3" | grep -q . || fail "errors: $(cat "$OUT/stderr3")"

# 3. A window remembered as large as the screen, under a window manager with
# a title bar: the frame fits the screen too.
eval "$(xdotool getdisplaygeometry --shell)"
SCREEN_W=$WIDTH SCREEN_H=$HEIGHT
printf 'window_width = %s\nwindow_height = %s\n' "$SCREEN_W" "$SCREEN_H" >"$SETTINGS"
openbox >/dev/null 2>&1 &
WM_PID=$!
sleep 1
start_game "$BUILD/bin/raycaster" "$OUT/stderr4"
sleep 1
# xdotool counts the frame twice under a window manager; xwininfo does not.
info=$(xwininfo -id "$GAME_WID")
field() { echo "$info" | sed -n "s/^ *$1: *//p"; }
X=$(field "Absolute upper-left X") Y=$(field "Absolute upper-left Y")
WIDTH=$(field Width) HEIGHT=$(field Height)
echo "screen ${SCREEN_W}x$SCREEN_H, window ${WIDTH}x$HEIGHT at $X,$Y"
[ "$Y" -gt 0 ] && [ $((Y + HEIGHT)) -le "$SCREEN_H" ] && [ $((X + WIDTH)) -le "$SCREEN_W" ] ||
    fail "the window ${WIDTH}x$HEIGHT at $X,$Y does not fit ${SCREEN_W}x$SCREEN_H with its title bar"
press o Up Return
wait_exit 10 || fail "the game did not quit"
echo "settings end to end: ok"
