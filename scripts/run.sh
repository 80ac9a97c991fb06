#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game. Without a display it
# says so and runs the headless demo instead.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
if [ ! -x build/bin/raycaster ]; then
  echo "The game is not built yet; running the test suite instead."
  exec ./scripts/test.sh
fi
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/raycaster
fi
echo "No display found (DISPLAY is not set)."
echo "Running the headless demo: the real game under Xvfb, screenshots in build/screenshots/."
exec ./scripts/demo.sh
