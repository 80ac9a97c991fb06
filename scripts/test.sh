#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite; then the
# native suite again under AddressSanitizer and UndefinedBehaviorSanitizer
# (build-asan/). DREVIX_QUICK=1 skips the sanitizer pass. Tests that need a
# display start their own server with xvfb-run -a.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh   # everything: -DDREVIX_DEVELOPER=ON
(cd build && ctest --output-on-failure -j"$(nproc)")
if [ -z "${DREVIX_QUICK:-}" ]; then
  ./scripts/sanitize.sh
fi
