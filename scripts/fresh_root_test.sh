#!/usr/bin/env bash
# The .deb on a fresh Debian 12 root, as a new user would meet it:
#   1. debootstrap (minbase) into a folder of our own, then chroot into it;
#   2. apt-get install ./drevix-raycaster_*.deb: only runtime libraries may
#      come along (no compiler, no -dev package), every library the programs
#      link resolves, and a GL driver is there;
#   3. both programs through their launchers on the PATH under Xvfb: title
#      screen and maze pixels (the test tools are installed only after 2);
#   4. apt-get remove --purge: none of the package's files or folders is left.
# Slow (minutes; needs root and the Debian mirror), so not part of ctest.
# Usage: scripts/fresh_root_test.sh [DEB] [WORK_DIR]
#   DEB       default: made with cpack from build/ (./scripts/build.sh first)
#   WORK_DIR  default /var/tmp/drevix-fresh-root; keeps the downloaded base
#             system (minbase.tgz) for the next run, the root is made anew.
set -euo pipefail
ROOT_DIR=$(cd "$(dirname "$0")/.." && pwd)
WORK=${2:-/var/tmp/drevix-fresh-root}
ROOT=$WORK/root
[ "$(id -u)" -eq 0 ] || { echo "fresh_root_test: needs root (debootstrap, chroot)" >&2; exit 2; }
command -v debootstrap >/dev/null || { echo "fresh_root_test: install debootstrap (scripts/deps.sh all)" >&2; exit 2; }
mkdir -p "$WORK"

if [ -n "${1:-}" ]; then
  DEB=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
else
  (cd "$WORK" && cpack --config "$ROOT_DIR/build/CPackConfig.cmake" -B "$WORK" >"$WORK/cpack.log" 2>&1) ||
    { cat "$WORK/cpack.log"; exit 1; }
  DEB=$(ls "$WORK"/drevix-raycaster_*_amd64.deb | head -1)
fi

# The system's own Debian mirror.
MIRROR=$(awk '/^URIs:/ { print $2; exit }' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
MIRROR=${MIRROR:-http://deb.debian.org/debian}

mounts_under_root() { awk -v r="$ROOT/" 'index($2 "/", r) == 1 { print $2 }' /proc/mounts; }
unmount_all() {
  local m
  # A server that has just quit can hold /dev for a moment.
  for m in $(mounts_under_root | sort -r); do
    umount "$m" 2>/dev/null || { sleep 2; umount "$m"; } || umount -l "$m"
  done
}
remove_root() {
  unmount_all
  # Never delete through a bind mount of the host's /dev.
  [ -z "$(mounts_under_root)" ] || { echo "fresh_root_test: mounts left under $ROOT" >&2; exit 1; }
  rm -rf --one-file-system "$ROOT"
}
trap unmount_all EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
in_root() { chroot "$ROOT" env -i PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin:/usr/games \
  HOME=/root LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }

t0=$SECONDS
remove_root
[ -f "$WORK/minbase.tgz" ] ||
  debootstrap --variant=minbase --make-tarball="$WORK/minbase.tgz" bookworm "$WORK/tarball" "$MIRROR" >"$WORK/debootstrap.log"
debootstrap --variant=minbase --unpack-tarball="$WORK/minbase.tgz" bookworm "$ROOT" "$MIRROR" >>"$WORK/debootstrap.log"
cp /etc/resolv.conf "$ROOT/etc/resolv.conf"
mount -t proc proc "$ROOT/proc"
mount -t sysfs sys "$ROOT/sys"
mount --bind /dev "$ROOT/dev"
mount --bind /dev/pts "$ROOT/dev/pts"
in_root apt-get update -q >/dev/null
echo "fresh root: Debian 12 minbase from $MIRROR ($((SECONDS - t0)) s)"

# 2. Install the package.
in_root dpkg-query -W -f='${Package}\n' | sort >"$WORK/before.txt"
cp "$DEB" "$ROOT/tmp/"
chmod 644 "$ROOT/tmp/$(basename "$DEB")"
t1=$SECONDS
in_root sh -c 'cd /tmp && apt-get install -y -q ./drevix-raycaster_*.deb' >"$WORK/install.log" 2>&1 ||
  { cat "$WORK/install.log"; fail "apt-get install ./$(basename "$DEB")"; }
in_root dpkg-query -W -f='${Package}\n' | sort >"$WORK/after.txt"
comm -13 "$WORK/before.txt" "$WORK/after.txt" >"$WORK/added.txt"
echo "installed $(basename "$DEB") in $((SECONDS - t1)) s: it and $(grep -vc '^drevix-raycaster$' "$WORK/added.txt") packages it pulled" \
  "($(grep -o 'Need to get [^ ]* [kMG]B' "$WORK/install.log" | head -1 | cut -d' ' -f4-) to download," \
  "$(grep -o '[^ ]* [kMG]B of additional disk space' "$WORK/install.log" | cut -d' ' -f1-2) on disk)"
echo "  $(tr '\n' ' ' <"$WORK/added.txt")"
tools=$(grep -E -- '-dev$|^(gcc|g\+\+|cpp|binutils|cmake|make|clang|llvm)(-|$)' "$WORK/added.txt" || true)
[ -z "$tools" ] || fail "build tools came with the package: $tools"
in_root dpkg -L drevix-raycaster >"$WORK/files.txt"
for exe in /usr/lib/games/drevix-raycaster/bin/raycaster /usr/lib/games/drevix-raycaster/bin/maze-generator; do
  missing=$(in_root ldd "$exe" | grep 'not found' || true)
  [ -z "$missing" ] || fail "$exe: $missing"
done
ls "$ROOT"/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so >/dev/null 2>&1 || fail "no software GL driver came along"
ls "$ROOT"/usr/lib/x86_64-linux-gnu/libGL.so.1 >/dev/null 2>&1 || fail "no libGL.so.1 for SDL to load"
echo "libraries: all resolve; libGL and a GL driver are there"

# 3. Both programs under Xvfb, through the launchers on the PATH.
in_root apt-get install -y -q --no-install-recommends xvfb xauth xdotool imagemagick >"$WORK/tools.log" 2>&1 ||
  { cat "$WORK/tools.log"; fail "installing the test tools"; }
mkdir -p "$ROOT/tmp/check"
cp "$ROOT_DIR/dist/tests/installed_launchers.sh" "$ROOT_DIR/raycaster/tests/e2e/drive.sh" "$ROOT/tmp/check/"
in_root sh -c 'command -v drevix-raycaster drevix-maze-generator' >/dev/null || fail "launchers not on the PATH"
in_root xvfb-run -a -s "-noreset -screen 0 1280x1024x24" bash /tmp/check/installed_launchers.sh /usr/games || fail "programs in the fresh root"

# 4. Remove with purge: nothing of the package's may be left.
in_root apt-get remove --purge -y -q drevix-raycaster >"$WORK/remove.log" 2>&1 ||
  { cat "$WORK/remove.log"; fail "apt-get remove --purge"; }
left=()
while read -r path; do
  case "$path" in
    # Folders other packages share stay; the package's own must go.
    /. | /usr | /usr/games | /usr/lib | /usr/lib/games | /usr/share | /usr/share/applications | \
      /usr/share/doc | /usr/share/games | /usr/share/icons | /usr/share/icons/hicolor | \
      /usr/share/icons/hicolor/*x*/apps | /usr/share/icons/hicolor/*x* | /usr/share/man | \
      /usr/share/man/man6 | /usr/share/metainfo) ;;
    *) if [ -e "$ROOT$path" ] || [ -L "$ROOT$path" ]; then left+=("$path"); fi ;;
  esac
done <"$WORK/files.txt"
[ ${#left[@]} -eq 0 ] || fail "left after purge: ${left[*]}"
in_root dpkg-query -W -f='${Status}' drevix-raycaster 2>/dev/null | grep -q 'install ok' &&
  fail "dpkg still lists the package"
echo "purge: none of the package's $(grep -c . "$WORK/files.txt") paths is left" \
  "(shared folders such as /usr/games excepted)"

trap - EXIT
remove_root
echo "fresh root test: ok ($((SECONDS - t0)) s in all)"
