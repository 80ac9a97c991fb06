#!/usr/bin/env bash
# The release archive the installers download carries the terms of what is
# in it: the project's LICENSE at its top, and the licences of the fonts
# built into the Windows game beside the game.
# Usage: archive_licences.sh ARCHIVE SOURCE_DIR
set -u
archive=$1
src=$(cd "$2" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
. "$(dirname "$0")/licences.sh"
top=Drevix-Q--main
unzip -q "$archive" "$top/LICENSE" "$top/build/*" -d "$out" || { echo "FAIL: unzip"; exit 1; }
status=0
grep -qx 'MIT License' "$out/$top/LICENSE" &&
  grep -qx 'Copyright (c) 2026 The Drevix Raycaster developers' "$out/$top/LICENSE" ||
  { echo "FAIL: no MIT LICENSE at the archive's top"; status=1; }
check_font_licences "$out/$top/build" DejaVu Noto || status=1
[ -f "$out/$top/build/raycaster.exe" ] || { echo "FAIL: no build/raycaster.exe"; status=1; }
[ $status -eq 0 ] && echo "release archive: LICENSE and the fonts' licences are in it"
exit $status
