#!/usr/bin/env bash
# Installs what is missing, then configures and builds into build/.
# Usage: scripts/build.sh [player]
#   player: only the Linux programs and their assets (what run.sh needs);
#   otherwise everything: tests, fuzzer, benchmarks and the Windows programs.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = player ]; then
  ./scripts/deps.sh player
  DEVELOPER=OFF
else
  ./scripts/deps.sh all
  DEVELOPER=ON
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDREVIX_DEVELOPER=$DEVELOPER
cmake --build build -j"$(nproc)"
