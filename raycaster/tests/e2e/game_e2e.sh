#!/usr/bin/env bash
# The real game end to end: title, intro, play view with textured walls,
# the chat line, and a clean quit with Esc; then the options menu: field of
# view, brightness and render scale change the picture, the flashlight moves
# to another key, and all of it (and the window's size) is there again at
# the next start. Run under xvfb-run -a.
# Usage: game_e2e.sh BUILD_DIR
set -u
BUILD=$(cd "$1" && pwd)
. "$(dirname "$0")/drive.sh"
OUT=$(mktemp -d)
trap '[ -n "${KEEP_SHOTS:-}" ] && cp "$OUT"/*.png "$KEEP_SHOTS"/; rm -rf "$OUT"' EXIT

export XDG_CONFIG_HOME=$OUT/config # no settings file: the game as it always was
SETTINGS=$XDG_CONFIG_HOME/drevix-raycaster/settings.ini
start_game "$BUILD/bin/raycaster" "$OUT/stderr"
shot "$OUT/title.png"
# Banner strokes in light blue somewhere in the top half.
banner=$(banner_pixels "$OUT/title.png")
[ "$banner" -gt 200 ] || fail "title banner not shown ($banner banner pixels)"

press space
sleep 4.2 # the intro lasts 3.5 s
shot "$OUT/play.png"
detail=$(region_stat "$OUT/play.png" 960x400+0+100 standard_deviation)
[ "$detail" -gt 12 ] || fail "play view looks flat (grey deviation $detail)"
bright=$(region_stat "$OUT/play.png" 960x600+0+0 mean)
[ "$bright" -gt 30 ] || fail "play view is dark (mean $bright): still fading?"

# Walk forward: the readout changes.
convert "$OUT/play.png" -crop 120x20+8+572 +repage "$OUT/readout0.png"
hold w 1
shot "$OUT/walk.png"
convert "$OUT/walk.png" -crop 120x20+8+572 +repage "$OUT/readout1.png"
diff=$(compare -metric AE "$OUT/readout0.png" "$OUT/readout1.png" null: 2>&1)
[ "${diff%% *}" != "0" ] || fail "position readout did not change after walking"

# Chat: open, type, send; the line shows in the first message row.
press t
sleep 0.3
type_text "hello maze"
press Return
sleep 0.3
shot "$OUT/chat.png"
row=$(region_stat "$OUT/chat.png" 470x14+15+29 standard_deviation)
[ "$row" -gt 20 ] || fail "sent chat line not visible (deviation $row)"
box=$(pixel "$OUT/chat.png" 315 18)
set -- $box
[ "$1" -gt $(( $2 + 40 )) ] || fail "close box not red ($box)"

# Esc closes the chat, Esc again releases the mouse, a third Esc quits.
press Escape
sleep 0.3
kill -0 "$GAME_PID" || fail "first Esc quit the game"
press Escape
sleep 0.3
kill -0 "$GAME_PID" || fail "second Esc quit the game"
press Escape
wait_exit 10
status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
if grep -q . "$OUT/stderr"; then
    grep -v '^Failed: .*bgimage' "$OUT/stderr" >&2 || true
fi
[ ! -e "$SETTINGS" ] || fail "a settings file was written without a change"

# The view left of the menu's panel, dimmed but in sight.
strip() { convert "$1" -crop 180x400+10+100 +repage "$2"; }
# Share of pixels unlike their right-hand neighbour: low when the view is
# drawn in blocks.
unlike_neighbour() {
    convert "$1" -crop 180x400+10+100 +repage \( +clone -roll +1+0 \) -compose difference \
        -composite -colorspace Gray -threshold 0 -format '%[fx:int(100*mean)]' info:
}
changed() { [ "$(compare -metric AE -fuzz 3% "$1" "$2" null: 2>&1 | cut -d' ' -f1)" -gt 2000 ]; }

start_game "$BUILD/bin/raycaster" "$OUT/stderr"
press o # on the title: the menu, not the intro
sleep 0.3
shot "$OUT/menu_title.png"
menu_shown "$OUT/menu_title.png" || fail "O on the title did not open the menu"
press Escape space
sleep 4.2
press o
sleep 0.3
shot "$OUT/menu.png"
menu_shown "$OUT/menu.png" || fail "O in play did not open the menu"
blocks0=$(unlike_neighbour "$OUT/menu.png")
press Down Down Down Down Down Right Right Right Right # field of view 60 -> 80
sleep 0.3
shot "$OUT/fov.png"
changed "$OUT/menu.png" "$OUT/fov.png" || fail "the field of view did not change the view"
press Down Down $(printf 'Right %.0s' $(seq 20)) # brightness 100
sleep 0.3
shot "$OUT/bright.png"
lift=$(( $(region_stat "$OUT/bright.png" 180x400+10+100 mean) - $(region_stat "$OUT/fov.png" 180x400+10+100 mean) ))
[ "$lift" -gt 8 ] || fail "brightness 100 did not lift the view ($lift grey levels)"
press Down Right Right Right # render scale 33 %
sleep 0.3
shot "$OUT/scale.png"
blocks=$(unlike_neighbour "$OUT/scale.png")
[ "$blocks" -lt $((blocks0 * 3 / 4)) ] || fail "render scale 33 % not blocky ($blocks0 % -> $blocks %)"

# Controls: the flashlight moves to L.
press Down Down Down Down Down Down Down Return # Controls, past the focus switches
for _ in $(seq 7); do press Down; done
press Return l Escape Escape
sleep 0.3
shot "$OUT/dark.png"
press l
sleep 1
shot "$OUT/lit.png"
brighter() { # pixels more than 10 grey levels lighter in $2
    convert "$2" "$1" -colorspace Gray -compose minus_src -composite -threshold 4% \
        -format '%[fx:int(w*h*mean+0.5)]' info:
}
[ "$(brighter "$OUT/dark.png" "$OUT/lit.png")" -gt 1000 ] || fail "L did not switch the flashlight on"
xdotool windowsize --sync "$GAME_WID" 1000 640 || true
sleep 0.5
press o Up Return # Quit game
wait_exit 10 || fail "Quit game did not end the game"
for line in "field_of_view = 80" "brightness = 100" "render_scale = 33" "key_flashlight = L" \
    "window_width = 1000" "window_height = 640"; do
    grep -qx "$line" "$SETTINGS" || fail "settings.ini lacks '$line': $(cat "$SETTINGS")"
done

# The next start finds it all again.
start_game "$BUILD/bin/raycaster" "$OUT/stderr2"
eval "$(xdotool getwindowgeometry --shell "$GAME_WID")"
[ "$WIDTH"x"$HEIGHT" = 1000x640 ] || fail "the window opened at ${WIDTH}x$HEIGHT, not 1000x640"
press space
sleep 4.2
shot "$OUT/again.png"
blocks=$(unlike_neighbour "$OUT/again.png")
[ "$blocks" -lt $((blocks0 * 3 / 4)) ] || fail "render scale not kept ($blocks %)"
press l
sleep 1
shot "$OUT/again_lit.png"
# The journey kept the light on: L switches it, whichever way.
changed "$OUT/again.png" "$OUT/again_lit.png" || fail "L lost at the next start"
press o Up Return
wait_exit 10 || fail "the second game did not quit"
! grep -v '^Failed: .*bgimage' "$OUT/stderr2" | grep -q . || fail "errors: $(cat "$OUT/stderr2")"
echo "game end to end: ok"
