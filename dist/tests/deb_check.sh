#!/usr/bin/env bash
# The .deb as CPack writes it: its name and version, dependencies computed
# from the binaries plus the font packages, the same files as the staged
# install under /usr, the licences in it, and lintian reporting no errors.
# Usage: deb_check.sh BUILD_DIR EXPECTED_LIST VERSION
set -u
SRC=$(cd "$(dirname "$0")/../.." && pwd)
. "$(dirname "$0")/licences.sh"
BUILD=$(cd "$1" && pwd)
EXPECTED=$2
VERSION=$3
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$OUT" && cpack --config "$BUILD/CPackConfig.cmake" -B "$OUT" >"$OUT/cpack.log" 2>&1) ||
  { cat "$OUT/cpack.log"; fail "cpack"; }
DEB=$OUT/drevix-raycaster_${VERSION}_amd64.deb
[ -f "$DEB" ] || fail "no $(basename "$DEB"); made: $(ls "$OUT"/*.deb 2>/dev/null)"

[ "$(dpkg-deb -f "$DEB" Version)" = "$VERSION" ] || fail "version $(dpkg-deb -f "$DEB" Version)"
depends=$(dpkg-deb -f "$DEB" Depends)
for lib in libc6 libsdl2-2.0-0 libsdl2-image-2.0-0 libsdl2-ttf-2.0-0 libsdl2-mixer-2.0-0 libgl1 fonts-dejavu-core fonts-noto-mono; do
  echo "$depends" | grep -Eq "(^|, )$lib( |,|$)" || fail "Depends lacks $lib: $depends"
done

dpkg-deb --fsys-tarfile "$DEB" | tar -tv | awk '
  /^l/ { sub(/^\.\/usr\//, "", $6); print "link " $6 " -> " $8; next }
  /^-/ { sub(/^\.\/usr\//, "", $6); print ($1 ~ /x/ ? "755 " : "644 ") $6 }' |
  LC_ALL=C sort >"$OUT/contents"
diff -u "$EXPECTED" "$OUT/contents" || fail "package files differ from $EXPECTED (+ in the package)"

mkdir "$OUT/root"
dpkg-deb -x "$DEB" "$OUT/root"
check_copyright "$OUT/root/usr/share/doc/drevix-raycaster/copyright" "$SRC" || fail "copyright file"
check_font_licences "$OUT/root/usr/share/games/drevix-raycaster/fonts" DejaVu || fail "font licences"

lintian --fail-on error --tag-display-limit 0 "$DEB" 2>&1 | grep -v "root privileges" | tee "$OUT/lintian"
[ "${PIPESTATUS[0]}" -eq 0 ] || fail "lintian reports errors"
echo "$(basename "$DEB"): ok, Depends: $depends"
