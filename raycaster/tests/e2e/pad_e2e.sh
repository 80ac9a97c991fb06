#!/usr/bin/env bash
# The real game played with controllers alone, never a key: a virtual pad
# plugged in after start-up leaves the title, walks with the left stick,
# turns with the right one, switches the flashlight and the map; unplugged,
# two others take over; RB opens the chat line and Start closes it; Start
# opens the options menu, where the d-pad and A reach Quit game. Run under
# xvfb-run -a.
# Usage: pad_e2e.sh BUILD_DIR PAD_SHIM (the preloaded library, pad_shim.cpp)
set -u
BUILD=$(cd "$1" && pwd)
SHIM=$2
. "$(dirname "$0")/drive.sh"
OUT=$(mktemp -d)
trap '[ -n "${KEEP_SHOTS:-}" ] && cp "$OUT"/*.png "$KEEP_SHOTS"/; rm -rf "$OUT"' EXIT

# Game-controller order of the virtual pads' buttons and axes.
A=0 X=2 Y=3 START=6 RB=10 DPAD_UP=11 LEFTY=1 RIGHTX=2
COMMANDS="$OUT/pad"
: >"$COMMANDS"
pad() { # one command to the shim, applied after one of the next frames
    echo "$*" >>"$COMMANDS"
    sleep 0.3
}
tap() { pad button "$1" "$2" 1; pad button "$1" "$2" 0; }
differing() { compare -metric AE -fuzz 10% "$1" "$2" null: 2>&1 | cut -d' ' -f1; }
# The readout's light grey letters, mostly without the view behind them: the
# letters' blended edges still follow the floor, so the same text over a
# turned view differs in a few pixels (4 seen), a changed digit in 10 or more.
readout() { convert "$1" -crop 120x20+8+572 +repage -colorspace Gray -threshold 75% "$2"; }
readout_changed() { [ "$(differing "$1" "$2")" -gt 10 ]; }
# brighter BEFORE AFTER -> pixels more than 10 grey levels lighter after
brighter() {
    convert "$2" "$1" -colorspace Gray -compose minus_src -composite -threshold 4% \
        -format '%[fx:int(w*h*mean+0.5)]' info:
}
# Map cells: strong blue in the top-right panel.
map_pixels() {
    convert "$1" -crop 184x184+766+10 +repage -fx 'b>0.6 && b>r+0.3 ? 1 : 0' \
        -format '%[fx:int(w*h*mean+0.5)]' info:
}

GAME_ENV="LD_PRELOAD=$SHIM${LD_PRELOAD:+:$LD_PRELOAD} PAD_SHIM_COMMANDS=$COMMANDS"
start_game "$BUILD/bin/raycaster" "$OUT/stderr"
sleep 0.5
pad attach # plugged in while the title shows
for _ in $(seq 600); do
    grep -q 'attached' "$OUT/stderr" && break
    sleep 0.1
done
grep -q '^pad_shim: pad 0 attached as device [0-9] (game controller)$' "$OUT/stderr" ||
    fail "no virtual controller: $(cat "$OUT/stderr")"
shot "$OUT/title.png"
[ "$(banner_pixels "$OUT/title.png")" -gt 200 ] || fail "title not shown"

tap 0 $A
sleep 4.2 # the intro lasts 3.5 s
shot "$OUT/play.png"
[ "$(banner_pixels "$OUT/play.png")" -lt 50 ] || fail "A did not leave the title"
detail=$(region_stat "$OUT/play.png" 960x400+0+100 standard_deviation)
[ "$detail" -gt 12 ] || fail "play view looks flat (grey deviation $detail)"

# X: the flashlight's spot brightens the far walls ahead (the lighting is
# per vertex, so a near wall's big faces may catch none) and darkens nothing.
tap 0 $X
sleep 1
shot "$OUT/light.png"
lit=$(brighter "$OUT/play.png" "$OUT/light.png")
darker=$(brighter "$OUT/light.png" "$OUT/play.png")
[ "$lit" -gt 1000 ] && [ "$darker" -lt 100 ] ||
    fail "X did not switch the flashlight on ($lit pixels brighter, $darker darker)"

# Left stick forward for a second: the readout changes.
pad axis 0 $LEFTY -32768
sleep 1
pad axis 0 $LEFTY 0
shot "$OUT/walk.png"
readout "$OUT/light.png" "$OUT/readout0.png"
readout "$OUT/walk.png" "$OUT/readout1.png"
readout_changed "$OUT/readout0.png" "$OUT/readout1.png" ||
    fail "the left stick did not walk"

# Right stick across: the view turns, the player stays put.
pad axis 0 $RIGHTX 32767
sleep 0.5
pad axis 0 $RIGHTX 0
shot "$OUT/turn.png"
readout "$OUT/turn.png" "$OUT/readout2.png"
! readout_changed "$OUT/readout1.png" "$OUT/readout2.png" ||
    fail "turning moved the player"
turned=$(differing "$OUT/walk.png" "$OUT/turn.png")
[ "$turned" -gt 100000 ] || fail "the right stick did not turn the view ($turned pixels changed)"

# Y: the corner map.
[ "$(map_pixels "$OUT/turn.png")" -lt 20 ] || fail "map shown before Y"
tap 0 $Y
shot "$OUT/map.png"
cells=$(map_pixels "$OUT/map.png")
[ "$cells" -gt 200 ] || fail "Y did not show the map ($cells map pixels)"

# Unplugged; two others plugged in: either one drives.
pad detach 0
pad attach
pad attach
tap 2 $Y
shot "$OUT/replugged.png"
[ "$(map_pixels "$OUT/replugged.png")" -lt 20 ] || fail "the third pad's Y did not hide the map"
pad axis 1 $LEFTY 32767 # the second pad walks back, over a cell
sleep 0.8
pad axis 1 $LEFTY 0
shot "$OUT/back.png"
readout "$OUT/back.png" "$OUT/readout3.png"
readout_changed "$OUT/readout2.png" "$OUT/readout3.png" ||
    fail "the second pad's stick did not walk"

# RB opens the chat line (its red close box shows), Start closes it.
tap 1 $RB
shot "$OUT/chat.png"
set -- $(pixel "$OUT/chat.png" 315 18)
[ "$1" -gt $(($2 + 40)) ] || fail "RB did not open the chat line"
tap 1 $START
shot "$OUT/chat_closed.png"
set -- $(pixel "$OUT/chat_closed.png" 315 18)
[ "$1" -le $(($2 + 40)) ] || fail "Start did not close the chat line"

# Start opens the options menu; up from Resume wraps round to Quit game.
tap 1 $START
shot "$OUT/menu.png"
menu_shown "$OUT/menu.png" || fail "Start did not open the options menu"
tap 1 $DPAD_UP
tap 1 $A
wait_exit 10
status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
if grep -v -e '^pad_shim: pad [0-9] \(attached as device [0-9] (game controller)\|detached\)$' \
    -e '^Failed: .*bgimage' \
    "$OUT/stderr" | grep -q .; then
    fail "unexpected output: $(cat "$OUT/stderr")"
fi
echo "controller end to end: ok"
