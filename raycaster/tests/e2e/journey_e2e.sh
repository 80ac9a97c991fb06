#!/usr/bin/env bash
# The journey end to end: a first start plays as always; a walk with the
# corner map, a marker and the flashlight; F12's picture against the window;
# the journey map; quit, start again, Continue: the same place, the same
# view. Then New journey after its question, a file the game cannot read,
# moved aside, and a game killed after a minute of play. Run under
# xvfb-run -a.
# Usage: journey_e2e.sh BUILD_DIR
set -u
BUILD=$(cd "$1" && pwd)
. "$(dirname "$0")/drive.sh"
OUT=$(mktemp -d)
trap '[ -n "${KEEP_SHOTS:-}" ] && cp "$OUT"/*.png "$KEEP_SHOTS"/; rm -rf "$OUT"' EXIT
export XDG_CONFIG_HOME=$OUT/config XDG_DATA_HOME=$OUT/data XDG_PICTURES_DIR=$OUT/pictures
JOURNEY=$XDG_DATA_HOME/drevix-raycaster/journey.ini
GAME=$BUILD/bin/raycaster

# shot_until FILE TEST...: screenshots until the test holds on one (10 s).
shot_until() {
    local file=$1 i
    shift
    for i in $(seq 40); do
        shot "$file"
        "$@" "$file" && return 0
        sleep 0.25
    done
    return 1
}
title_drawn() { [ "$(banner_pixels "$1")" -gt 200 ]; }
# Continue, in bright letters where the title has only its dimmed ground.
prompt_shown() {
    [ "$(convert "$1" -crop 960x30+0+390 +repage -colorspace Gray -threshold 70% \
        -format '%[fx:int(w*h*mean+0.5)]' info:)" -gt 100 ]
}
view_lit() { [ "$(region_stat "$1" 960x600+0+0 mean)" -gt 30 ]; }
readout() { convert "$1" -crop 120x20+8+572 +repage "$2"; }
same_pixels() { # A B [WxH+X+Y] -> differing pixels
    compare -metric AE -fuzz 3% ${3:+-extract "$3"} "$1" "$2" null: 2>&1 | cut -d' ' -f1
}

start_game "$GAME" "$OUT/stderr1"
shot_until "$OUT/title1.png" title_drawn || fail "no title"
prompt_shown "$OUT/title1.png" && fail "Continue offered without a journey"
[ -e "$JOURNEY" ] && fail "a journey written before any play"
press space
sleep 4.2
press m q
hold w 1.2
press b
hold w 1 # the marker stays behind
sleep 0.6
shot_until "$OUT/before_f12.png" view_lit || fail "play view dark"
press F12
sleep 1.5
pictures=("$XDG_PICTURES_DIR/Drevix Raycaster"/drevix-raycaster-*.png)
[ ${#pictures[@]} -eq 1 ] && [ -f "${pictures[0]}" ] || fail "no screenshot written"
[ "$(identify -format '%wx%h' "${pictures[0]}")" = 960x600 ] || fail "screenshot size"
# The picture is the window as shown; only the notice line under the view
# may have changed in between.
diff=$(same_pixels "$OUT/before_f12.png" "${pictures[0]}" 960x540+0+0)
[ "$diff" -lt 500 ] || fail "screenshot differs from the window ($diff pixels)"
shot "$OUT/saved.png"
[ "$(region_stat "$OUT/saved.png" 700x14+10+553 standard_deviation)" -gt 20 ] ||
    fail "no SAVED line"

press j
# A loaded machine may take a while to open the map: wait for the arrow.
arrow_shown() { [ "$(count_red "$1" 200x200+380+200)" -gt 20 ]; }
shot_until "$OUT/map.png" arrow_shown || fail "no player arrow on the map"
yellow=$(convert "$OUT/map.png" -fx 'r>0.9 && g>0.75 && b<0.4 ? 1 : 0' \
    -format '%[fx:int(w*h*mean+0.5)]' info:)
[ "$yellow" -gt 20 ] || fail "no marker on the map ($yellow yellow pixels)"
press Escape
sleep 0.5
shot "$OUT/play_end.png"
readout "$OUT/play_end.png" "$OUT/readout_end.png"
press Escape Escape
wait_exit 10 || fail "quit failed"
grep -q '^position = ' "$JOURNEY" || fail "no journey written at quit"
grep -q '^flashlight = on' "$JOURNEY" || fail "flashlight not kept"
grep -q '^marker = 1 ' "$JOURNEY" || fail "marker not kept"

# Continue: the same place, facing the same way, lit as it was.
start_game "$GAME" "$OUT/stderr2"
shot_until "$OUT/title2.png" prompt_shown || fail "no Continue on the title"
press Return
sleep 4.5
press m # the corner map is not part of the journey
sleep 0.5
shot_until "$OUT/continued.png" view_lit || fail "continued view dark"
readout "$OUT/continued.png" "$OUT/readout_continued.png"
[ "$(same_pixels "$OUT/readout_end.png" "$OUT/readout_continued.png")" -eq 0 ] ||
    fail "continued elsewhere"
diff=$(same_pixels "$OUT/play_end.png" "$OUT/continued.png" 960x400+0+100)
[ "$diff" -lt 2000 ] || fail "continued view differs ($diff pixels)"
press Escape Escape
wait_exit 10 || fail "second quit failed"

# New journey: N asks, Return answers; the player is back at the spawn.
start_game "$GAME" "$OUT/stderr3"
shot_until "$OUT/title3.png" prompt_shown || fail "no Continue on the third title"
press n
sleep 0.5
press Return
sleep 4.2
shot_until "$OUT/new.png" view_lit || fail "new journey view dark"
readout "$OUT/new.png" "$OUT/readout_new.png"
[ "$(same_pixels "$OUT/readout_end.png" "$OUT/readout_new.png")" -gt 0 ] ||
    fail "New journey did not start over"
press Escape Escape
wait_exit 10 || fail "third quit failed"
grep -q '^marker' "$JOURNEY" && fail "the new journey kept the old markers"

# A journey the game cannot read: said on stderr with its line, moved aside,
# the title as on a first start, and the menu says so.
printf 'version = 1\nposition = nowhere\n' >"$JOURNEY"
start_game "$GAME" "$OUT/stderr4"
shot_until "$OUT/title4.png" title_drawn || fail "no fourth title"
grep -q "journey.ini:2: " "$OUT/stderr4" || fail "no line reported: $(cat "$OUT/stderr4")"
ls "$XDG_DATA_HOME/drevix-raycaster"/journey-unreadable-*.ini >/dev/null 2>&1 ||
    fail "unreadable journey not moved aside"
prompt_shown "$OUT/title4.png" && fail "Continue offered for an unreadable journey"
press o
sleep 0.5
shot "$OUT/menu4.png"
[ "$(count_red "$OUT/menu4.png" 560x30+200+500)" -gt 30 ] || fail "the menu does not say so"
press Up Return # Quit game, the last row
wait_exit 10 || fail "fourth quit failed"

# Killed with SIGKILL after a minute of play: the file holds that minute's
# walk (written every 60 s of play).
rm -f "$JOURNEY"
start_game "$GAME"
press space
sleep 4
hold w 1.5 # off the spawn cell
[ -e "$JOURNEY" ] && fail "written before a minute of play"
for i in $(seq 90); do # the minute counts frames, which a busy machine slows
    [ -e "$JOURNEY" ] && break
    sleep 1
done
[ -e "$JOURNEY" ] || fail "nothing written after 90 s of play"
kill -9 "$GAME_PID"
wait "$GAME_PID" 2>/dev/null
played=$(sed -n 's/^time_played = \([0-9]*\).*/\1/p' "$JOURNEY")
[ "${played:-0}" -ge 59 ] || fail "time played in the file: ${played:-none}"
walked=$(sed -n 's/^distance = \([0-9.]*\).*/\1/p' "$JOURNEY")
awk "BEGIN { exit !($walked > 0.5) }" || fail "the walk is not in the file ($walked cells)"
echo "journey end to end: ok (killed after a minute: time played $played s, walked $walked cells)"
