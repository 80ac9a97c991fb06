# Debian roots made with debootstrap, kept between runs: sourced by
# release_linux.sh (the build root) and portable_test.sh (the player roots).
#
#   root_make NAME SUITE PACKAGE...  the root $ROOTS/NAME: Debian SUITE
#       (minbase) with PACKAGEs; made again only when the suite, the list or
#       this file changed. Prints where it is.
#   root_mount ROOT [x11]  /proc, /sys, /dev (and the host's X socket folder)
#   root_unmount ROOT      every mount under ROOT, deepest first
#   in_root ROOT CMD...    CMD as root inside, with a clean environment
#
# ROOTS: $DREVIX_ROOTS, else ~/.cache/drevix/roots. A fresh machine (CI)
# starts with none and makes them all.
ROOTS=${DREVIX_ROOTS:-${XDG_CACHE_HOME:-$HOME/.cache}/drevix/roots}
# Raised when roots are made differently: every cached root is made again.
ROOTS_RECIPE=1
# The machine's own Debian mirror.
MIRROR=$(awk '/^URIs:/ { print $2; exit }' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
MIRROR=${MIRROR:-http://deb.debian.org/debian}

roots_say() { echo "roots: $*"; }

mounts_under() { awk -v r="$1/" 'index($2 "/", r) == 1 { print $2 }' /proc/mounts; }

root_unmount() {
  local m
  # A server or program that has just quit can hold /dev for a moment.
  for m in $(mounts_under "$1" | sort -r); do
    umount "$m" 2>/dev/null || { sleep 2; umount "$m" 2>/dev/null; } || umount -l "$m"
  done
}

root_mount() {
  local root=$1
  root_unmount "$root"
  mount -t proc proc "$root/proc"
  mount -t sysfs sys "$root/sys"
  mount --bind /dev "$root/dev"
  mount --bind /dev/pts "$root/dev/pts"
  if [ "${2:-}" = x11 ]; then
    mkdir -p "$root/tmp/.X11-unix"
    mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
  fi
}

in_root() {
  local root=$1
  shift
  chroot "$root" env -i PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin HOME=/root LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive "$@"
}

# root_install ROOT LOG PACKAGE...: the packages installed into ROOT, with
# /proc and the rest mounted for the while; apt's output goes to LOG.
root_install() {
  local root=$1 log=$2 rc=0
  shift 2
  root_mount "$root"
  { in_root "$root" apt-get update -q && in_root "$root" apt-get install -y -q --no-install-recommends "$@" &&
    in_root "$root" apt-get clean; } >>"$log" 2>&1 || rc=$?
  root_unmount "$root"
  return $rc
}

# Never delete through a bind mount of the host's /dev.
root_remove() {
  root_unmount "$1"
  [ -z "$(mounts_under "$1")" ] || { echo "roots: mounts left under $1" >&2; return 1; }
  rm -rf --one-file-system "$1"
}

root_make() {
  local name=$1 suite=$2
  shift 2
  local root=$ROOTS/$name stamp t0=$SECONDS
  stamp="$suite $ROOTS_RECIPE $MIRROR $*"
  if [ -f "$root/.drevix-root" ] && [ "$(cat "$root/.drevix-root")" = "$stamp" ]; then
    echo "$root"
    return 0
  fi
  mkdir -p "$ROOTS"
  # One run at a time makes a root; the others wait for it.
  exec 8>"$ROOTS/.$name.lock"
  flock 8
  if [ -f "$root/.drevix-root" ] && [ "$(cat "$root/.drevix-root")" = "$stamp" ]; then
    exec 8>&-
    echo "$root"
    return 0
  fi
  # The same release with other packages: installed into it (what was
  # there stays).
  if [ "$(cut -d' ' -f1-3 "$root/.drevix-root" 2>/dev/null)" = "$suite $ROOTS_RECIPE $MIRROR" ]; then
    roots_say "installing into $name: $*" >&2
    if root_install "$root" "$ROOTS/$name.log" "$@"; then
      echo "$stamp" >"$root/.drevix-root"
      exec 8>&-
      echo "$root"
      return 0
    fi
    roots_say "that failed: making $name again" >&2
  fi
  local tmp=$root.new
  root_remove "$root" || return 1
  # A base system already unpacked (by a run stopped later) is used again.
  if [ "$(cat "$tmp/.drevix-base" 2>/dev/null)" != "$suite $MIRROR" ]; then
    root_remove "$tmp" || return 1
    roots_say "making $name: Debian $suite (minbase) from $MIRROR" >&2
    debootstrap --variant=minbase "$suite" "$tmp" "$MIRROR" >"$ROOTS/$name.log" 2>&1 || {
      tail -n 20 "$ROOTS/$name.log" >&2
      echo "roots: debootstrap $suite failed (log $ROOTS/$name.log)" >&2
      return 1
    }
    echo "$suite $MIRROR" >"$tmp/.drevix-base"
  fi
  cp /etc/resolv.conf "$tmp/etc/resolv.conf"
  if ! root_install "$tmp" "$ROOTS/$name.log" "$@"; then
    tail -n 20 "$ROOTS/$name.log" >&2
    echo "roots: installing into $name failed (log $ROOTS/$name.log)" >&2
    return 1
  fi
  echo "$stamp" >"$tmp/.drevix-root"
  mv -T "$tmp" "$root"
  exec 8>&-
  roots_say "$name ready in $((SECONDS - t0)) s ($# packages asked for)" >&2
  echo "$root"
}
