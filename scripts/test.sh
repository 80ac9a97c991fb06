#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite. Tests that
# need a display start their own server with xvfb-run -a.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
cd build
ctest --output-on-failure -j"$(nproc)"
