#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# into build-asan/ and runs the whole test suite there.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh all
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDREVIX_SANITIZE=ON -DDREVIX_DEVELOPER=ON \
  -DDREVIX_WINDOWS_PROGRAMS=OFF
cmake --build build-asan -j"$(nproc)"
# Mesa unloads its software driver before the leak check runs, and the
# checker can no longer name what the driver left behind. Loading it up
# front keeps it mapped, so its leftovers match the suppressions.
DRIVER=$(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null | head -1)
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:verify_asan_link_order=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp:print_suppressions=0}
cd build-asan
# The Windows programs are not sanitizer builds, so this tree leaves them out.
# A package of sanitizer builds is nobody's package: the .deb is checked in
# build/ only, and so is the portable archive, which is built apart anyway.
LD_PRELOAD=$DRIVER ctest --output-on-failure -j"$(nproc)" -E "install_deb|portable_"
