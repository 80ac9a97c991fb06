#!/usr/bin/env bash
# Prints the CPU the maze generator uses over IDLE_SECONDS (10) while it shows
# a maze and nothing happens, and fails above LIMIT_PCT (1) % of a core. It
# counts CPU time, not wall time: load on the machine delays an idle window
# but adds nothing to it. Run under xvfb-run -a. Usage: idle_cpu.sh EXE
set -u
IDLE=${IDLE_SECONDS:-10} LIMIT=${LIMIT_PCT:-1} OUT=$(mktemp)
MAZE_GENERATOR_ECHO_STATUS=1 "$1" >"$OUT" 2>/dev/null &
PID=$!
trap 'kill $PID 2>/dev/null; wait $PID 2>/dev/null; rm -f "$OUT"' EXIT
# The echo follows the first frame; then the window settles.
for _ in $(seq 150); do [ -s "$OUT" ] && break; sleep 0.1; done
timeout 10 xdotool search --sync --onlyvisible --pid "$PID" --name '^Drevix Maze Generator$' \
  >/dev/null && [ -s "$OUT" ] || { echo "FAIL: no window with a maze"; exit 1; }
sleep 1
# utime + stime: fields 14 and 15, counted after the name's closing bracket.
cpu_ticks() { local f; f=($(cut -d')' -f2- "/proc/$PID/stat")) && echo $((f[11] + f[12])); }
before=$(cpu_ticks) && sleep "$IDLE" && after=$(cpu_ticks) || { echo "FAIL: it quit"; exit 1; }
hz=$(getconf CLK_TCK) ticks=$((after - before))
share=$((ticks * 10000 / (hz * IDLE))) # hundredths of a per cent
printf 'maze-generator idle: %d ticks of CPU (%d a second) in %d s: %d.%02d %% of a core\n' \
  "$ticks" "$hz" "$IDLE" $((share / 100)) $((share % 100))
[ "$share" -le $((LIMIT * 100)) ] || { echo "FAIL: above $LIMIT % of a core at rest"; exit 1; }
