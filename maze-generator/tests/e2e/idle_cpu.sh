#!/usr/bin/env bash
# CPU the maze generator spends while it shows a maze and nothing happens:
# its user and system time over IDLE_SECONDS (default 10) with the window
# open, printed as ticks and as a share of one core. Fails above LIMIT_PCT
# (default 1): an idle window waits for events, so the figure is CPU time
# that no amount of load on the machine adds to. Run under xvfb-run -a.
# Usage: idle_cpu.sh MAZE_GENERATOR_EXE
set -u
EXE=$1
SECONDS_IDLE=${IDLE_SECONDS:-10}
LIMIT_PCT=${LIMIT_PCT:-1}
OUT=$(mktemp)
MAZE_GENERATOR_ECHO_STATUS=1 "$EXE" >"$OUT" 2>/dev/null &
PID=$!
trap 'kill $PID 2>/dev/null; wait $PID 2>/dev/null; rm -f "$OUT"' EXIT

# The echoed status line comes after the first frame; then the window settles.
for _ in $(seq 150); do
  [ -s "$OUT" ] && break
  sleep 0.1
done
[ -s "$OUT" ] || { echo "FAIL: the window showed no maze"; exit 1; }
timeout 10 xdotool search --sync --onlyvisible --pid "$PID" --name '^Drevix Maze Generator$' >/dev/null ||
  { echo "FAIL: window not found"; exit 1; }
sleep 1

# Fields 14 and 15 of /proc/PID/stat, counted after the name's closing bracket.
cpu_ticks() {
  local stat
  stat=$(cat "/proc/$PID/stat") || return 1
  set -- ${stat##*) }
  echo $((${12} + ${13}))
}
before=$(cpu_ticks) || { echo "FAIL: the program is gone"; exit 1; }
sleep "$SECONDS_IDLE"
after=$(cpu_ticks) || { echo "FAIL: the program is gone"; exit 1; }
hz=$(getconf CLK_TCK)
ticks=$((after - before))
# Hundredths of a per cent of one core.
share=$((ticks * 10000 / (hz * SECONDS_IDLE)))
printf 'maze-generator idle: %d ticks of CPU (%d per second) in %d s: %d.%02d %% of a core\n' \
  "$ticks" "$hz" "$SECONDS_IDLE" $((share / 100)) $((share % 100))
if [ "$share" -gt $((LIMIT_PCT * 100)) ]; then
  echo "FAIL: above $LIMIT_PCT % of a core while idle"
  exit 1
fi
