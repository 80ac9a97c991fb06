#!/usr/bin/env bash
# The real game end to end: title, intro, play view with textured walls,
# the chat line, and a clean quit with Esc. Run under xvfb-run -a.
# Usage: game_e2e.sh BUILD_DIR
set -u
BUILD=$(cd "$1" && pwd)
. "$(dirname "$0")/drive.sh"
OUT=$(mktemp -d)
trap '[ -n "${KEEP_SHOTS:-}" ] && cp "$OUT"/*.png "$KEEP_SHOTS"/; rm -rf "$OUT"' EXIT

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
echo "game end to end: ok"
