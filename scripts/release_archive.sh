#!/usr/bin/env bash
# The archive the installers download: the repository's tracked files (at
# HEAD) under "Drevix-Q--main/", plus the Windows game at
# Drevix-Q--main/build/raycaster.exe, which is built, not tracked, and
# beside it the licences of the fonts it carries (the project's own licence
# is the tracked LICENSE).
# usage: release_archive.sh SOURCE_DIR GAME_EXE OUTPUT_ZIP [FILE_BESIDE_GAME...]
set -euo pipefail
src=$1 game=$2 out=$3
shift 3
top=Drevix-Q--main
git -C "$src" rev-parse --verify -q HEAD >/dev/null || {
  echo "release_archive: $src is not a git checkout with a commit" >&2
  exit 1
}
tmp=$out.tmp
git -C "$src" archive --format=zip --prefix="$top/" -o "$tmp" HEAD
# Appended with a seekable writer, so the entry has its sizes in its header
# (no data descriptor), as the installer's zip reader needs.
python3 - "$tmp" "$top/build" "$game" "$@" <<'PY'
import os, sys, zipfile
archive, folder, *files = sys.argv[1:]
with zipfile.ZipFile(archive, "a", compression=zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for path in files:
        name = "%s/%s" % (folder, os.path.basename(path))
        if name in z.namelist():
            sys.exit("release_archive: %s is tracked; the built file would be shadowed" % name)
        z.write(path, name)
PY
mv -f "$tmp" "$out"
echo "release archive: $out ($(stat -c %s "$out") bytes)"
