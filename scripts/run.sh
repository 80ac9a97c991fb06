#!/usr/bin/env bash
# Installs what the game needs, builds the Linux programs and starts the game.
# Without a display it says so and runs the headless demo instead.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  ./scripts/build.sh player
  exec build/bin/raycaster
fi
# One apt run for the build and the demo's tools.
./scripts/deps.sh player demo
./scripts/build.sh player
echo "No display found (DISPLAY is not set)."
echo "Running the headless demo: the real game under Xvfb, screenshots in build/screenshots/."
exec ./scripts/demo.sh
