#!/usr/bin/env bash
# `cmake --install` with DESTDIR staging, under /usr and under /usr/local:
# exactly the expected files, links and modes relative to the prefix, every
# folder 755, and the installed assets the same as the build's.
# Usage: staged_install.sh BUILD_DIR EXPECTED_LIST
set -u
BUILD=$(cd "$1" && pwd)
EXPECTED=$2
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT
status=0
for prefix in /usr /usr/local; do
  stage=$OUT/stage$(echo $prefix | tr / _)
  DESTDIR=$stage cmake --install "$BUILD" --prefix $prefix >"$OUT/log" 2>&1 ||
    { cat "$OUT/log"; echo "FAIL: install under $prefix"; exit 1; }
  # Nothing may land outside the prefix.
  outside=$(cd "$stage" && find . -mindepth 1 \( -type f -o -type l \) | grep -v "^\.$prefix/")
  [ -z "$outside" ] || { echo "FAIL: outside $prefix: $outside"; status=1; }
  (cd "$stage$prefix" && find . -mindepth 1 \( -type f -printf '%m %P\n' \) -o \
     \( -type l -printf 'link %P -> %l\n' \) | LC_ALL=C sort) >"$OUT/actual"
  if ! diff -u "$EXPECTED" "$OUT/actual"; then
    echo "FAIL: files installed under $prefix differ from $EXPECTED (- expected, + installed)"
    status=1
  fi
  bad_dirs=$(cd "$stage" && find . -type d ! -perm 755)
  [ -z "$bad_dirs" ] || { echo "FAIL: folders not 755 under $prefix: $bad_dirs"; status=1; }
  # Through the links, as the game sees them.
  diff -r "$BUILD/assets" "$stage$prefix/lib/games/drevix-raycaster/assets/" ||
    { echo "FAIL: installed assets under $prefix differ from the build's"; status=1; }
done
[ $status -eq 0 ] && echo "staged install: ok"
exit $status
