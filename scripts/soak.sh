#!/usr/bin/env bash
# Soak run: the real game under Xvfb for SECONDS (default 600) of scripted
# play: sprinting through new chunks (walls switched off and motion four
# times as fast for the run) until the chunk cache is full, turning,
# flashlight and door clicks, standing in the dark so the presence message
# floods the chat, chat open and closed, window resizes and full screen.
# Then checks a clean exit, no text texture left alive beyond the few kept
# for the next frame, and resident memory
# flat once the cache is full (growth under 5 MB), and prints the frame
# times and the memory curve. A short run (the test suite runs 40 s) checks
# all but the memory, which needs the cache full first.
# Usage: scripts/soak.sh [SECONDS] [BUILD_DIR]
set -euo pipefail
SECONDS_TOTAL=${1:-600}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "${2:-$ROOT/build}" && pwd)
LOG=$(mktemp /tmp/drevix-soak-XXXXXX.log)
export SOAK_SECONDS=$SECONDS_TOTAL ROOT BUILD LOG

"$ROOT/scripts/xvfb_run.sh" -a -s "-screen 0 1920x1200x24" bash -c '
  set -u
  . "$ROOT/raycaster/tests/e2e/drive.sh"
  export DREVIX_SOAK_LOG=$LOG
  start_game "$BUILD/bin/raycaster"
  press space; sleep 4
  end=$((SECONDS + SOAK_SECONDS))
  round=0
  while [ $SECONDS -lt $end ]; do
    round=$((round + 1))
    # Sprint diagonally (W + D is not normalised), keeping the keys down
    # through the switches below.
    xdotool keydown shift keydown w keydown d; sleep 8
    # Look around, then back: the heading stays, so every sprint finds new chunks.
    xdotool mousemove_relative -- 60 -20; sleep 0.3; xdotool mousemove_relative -- -60 20
    press q                              # flashlight toggles
    xdotool click 1                      # toggle any door in reach
    xdotool keyup d keyup w keyup shift
    if [ $((round % 3)) -eq 0 ]; then    # stand still in whatever light there is
      press q; sleep 2; press q
    fi
    if [ $((round % 4)) -eq 0 ]; then    # chat
      press t; type_text "soak round $round"; press Return; press Escape
    fi
    if [ $((round % 5)) -eq 0 ]; then    # resize, then full screen and back
      xdotool windowsize "$GAME_WID" 1280 800; sleep 0.5
      xdotool windowsize "$GAME_WID" 960 600; sleep 0.5
      press f; sleep 1; press f; sleep 0.5
    fi
    kill -0 "$GAME_PID" || fail "the game died in round $round"
  done
  press Escape; sleep 0.3; press Escape
  wait_exit 20
  status=$?
  [ $status -eq 0 ] || fail "exit status $status"
'
python3 - "$LOG" <<'PY'
import sys
rows = [l.split() for l in open(sys.argv[1])][1:]
rows = [dict(zip("sec frames med max rss chunks doors chat live text".split(), map(float, r))) for r in rows]
if len(rows) < 5:
    sys.exit("soak: too few log lines")
# Warm-up ends when the chunk cache is full: until then memory grows by design.
warm = next((r for r in rows if r["chunks"] >= 512), None)
last = rows[-1]
growth_mb = (last["rss"] - warm["rss"]) / 1024 if warm else 0.0
print("memory curve (s: MB resident, chunks):")
step = max(1, len(rows) // 20)
for r in rows[::step] + [last]:
    print("  %4d: %6.1f MB  %3d chunks  %4d doors  chat %d" % (r["sec"], r["rss"] / 1024, r["chunks"], r["doors"], r["chat"]))
meds = sorted(r["med"] for r in rows)
print("frame ms: median of medians %.2f, worst second median %.2f, worst frame %.2f" %
      (meds[len(meds) // 2], meds[-1], max(r["max"] for r in rows)))
print("chunks cached: %d, chat messages: %d" % (last["chunks"], last["chat"]))
live = {int(r["live"]) for r in rows}
print("live GL textures seen, besides kept text: %s" % sorted(live))
text = max(int(r["text"]) for r in rows)
print("text textures kept for the next frame: at most %d" % text)
if warm:
    print("resident growth after warm-up (from %ds): %.2f MB" % (warm["sec"], growth_mb))
else:
    print("memory: the cache did not fill in this run, so there is no warm-up to measure from")
bad = []
if growth_mb >= 5: bad.append("memory grew %.1f MB" % growth_mb)
if len(live) != 1: bad.append("live texture count changed: %s" % sorted(live))
if text > 11: bad.append("%d text textures kept; a frame draws at most 11 strings" % text)
if bad: sys.exit("soak: FAIL: " + "; ".join(bad))
print("soak: ok")
PY
rm -f "$LOG"
