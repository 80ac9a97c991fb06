#!/usr/bin/env bash
# `cmake --install` with DESTDIR staging, under /usr and under /usr/local:
# exactly the expected files, links and modes relative to the prefix, every
# folder 755, the installed assets the same as the build's, and the
# licences: the copyright file and each font's licence beside it.
# Usage: staged_install.sh BUILD_DIR EXPECTED_LIST
set -u
BUILD=$(cd "$1" && pwd)
EXPECTED=$2
SRC=$(cd "$(dirname "$0")/../.." && pwd)
. "$(dirname "$0")/licences.sh"
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
  # (The system's Noto Sans Mono stands in for the game's copy.)
  diff -r -x NotoSansMono-Regular.ttf -x LICENSE-Noto.txt "$BUILD/assets" \
    "$stage$prefix/lib/games/drevix-raycaster/assets/" ||
    { echo "FAIL: installed assets under $prefix differ from the build's"; status=1; }
  check_copyright "$stage$prefix/share/doc/drevix-raycaster/copyright" "$SRC" || status=1
  check_font_licences "$stage$prefix/share/games/drevix-raycaster/fonts" DejaVu || status=1
done
[ $status -eq 0 ] && echo "staged install: ok"
exit $status
