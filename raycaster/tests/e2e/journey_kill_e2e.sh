#!/usr/bin/env bash
# A game killed with SIGKILL after a minute of play: the journey file holds
# that minute's walk (written every 60 s of play), and Continue starts there.
# Run under xvfb-run -a. Usage: journey_kill_e2e.sh BUILD_DIR
set -u
BUILD=$(cd "$1" && pwd)
. "$(dirname "$0")/drive.sh"
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT
export XDG_CONFIG_HOME=$OUT/config XDG_DATA_HOME=$OUT/data XDG_PICTURES_DIR=$OUT/pictures
JOURNEY=$XDG_DATA_HOME/drevix-raycaster/journey.ini

start_game "$BUILD/bin/raycaster"
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
echo "killed after a minute: ok (time played $played s, walked $walked cells)"
