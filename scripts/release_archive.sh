#!/usr/bin/env bash
# The archive the installers download: the repository's tracked files (at
# HEAD) under "Drevix-Q--main/", plus the Windows game at
# Drevix-Q--main/build/raycaster.exe, which is built, not tracked.
# usage: release_archive.sh SOURCE_DIR GAME_EXE OUTPUT_ZIP
set -euo pipefail
src=$1 game=$2 out=$3
top=Drevix-Q--main
git -C "$src" rev-parse --verify -q HEAD >/dev/null || {
  echo "release_archive: $src is not a git checkout with a commit" >&2
  exit 1
}
tmp=$out.tmp
git -C "$src" archive --format=zip --prefix="$top/" -o "$tmp" HEAD
# Appended with a seekable writer, so the entry has its sizes in its header
# (no data descriptor), as the installer's zip reader needs.
python3 - "$tmp" "$game" "$top/build/raycaster.exe" <<'PY'
import sys, zipfile
archive, game, name = sys.argv[1:]
with zipfile.ZipFile(archive, "a", compression=zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    if name in z.namelist():
        sys.exit("release_archive: %s is tracked; the built game would be shadowed" % name)
    z.write(game, name)
PY
mv -f "$tmp" "$out"
echo "release archive: $out ($(stat -c %s "$out") bytes)"
