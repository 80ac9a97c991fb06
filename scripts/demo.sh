#!/usr/bin/env bash
# Headless demo: runs the real game under Xvfb, walks a few steps and saves
# screenshots in build/screenshots/ (title, intro, play, map, chat).
set -euo pipefail
cd "$(dirname "$0")/.."
[ -x build/bin/raycaster ] || ./scripts/build.sh player
./scripts/deps.sh demo
mkdir -p build/screenshots
exec ./scripts/xvfb_run.sh -a bash -c '
  set -u
  . raycaster/tests/e2e/drive.sh
  S=build/screenshots
  start_game build/bin/raycaster
  shot $S/title.png
  press space; sleep 1.2; shot $S/intro.png
  sleep 3
  hold w 1.2; hold Right 0.35; hold w 0.8
  shot $S/play.png
  press q; sleep 0.6; press m; sleep 0.3
  shot $S/map.png
  press t; sleep 0.2; type_text "hello from the maze"; press Return
  type_text "anyone here?"; sleep 0.3
  shot $S/chat.png
  press Escape; sleep 0.2; press Escape; sleep 0.2; press Escape
  wait_exit 10
  echo "Screenshots: $(ls $S | tr "\n" " ")in build/screenshots/"
'
