#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite; then the
# native suite again under AddressSanitizer and UndefinedBehaviorSanitizer
# (build-asan/). DREVIX_QUICK=1 skips the sanitizer pass. Tests that need a
# display start their own server with xvfb-run -a.
set -euo pipefail
cd "$(dirname "$0")/.."
t=$SECONDS
./scripts/build.sh   # everything: -DDREVIX_DEVELOPER=ON
echo "test.sh: build $((SECONDS - t)) s"
t=$SECONDS
(cd build && ctest --output-on-failure -j"$(nproc)")
echo "test.sh: test suite $((SECONDS - t)) s"
if [ -z "${DREVIX_QUICK:-}" ]; then
  t=$SECONDS
  ./scripts/sanitize.sh
  echo "test.sh: sanitizer pass $((SECONDS - t)) s"
fi
