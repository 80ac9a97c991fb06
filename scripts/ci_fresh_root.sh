#!/usr/bin/env bash
# The README's test command as a new developer meets it: a fresh Debian 12
# (minbase) root made with debootstrap from this machine's own apt sources,
# the commit under test cloned into it, and ./scripts/test.sh run there as
# root with /proc, /sys and /dev mounted. Prints where the time went; exits
# with the test command's status. Every mount is removed on the way out,
# whether the run passed, failed or was interrupted.
# Needs root and the Debian mirror; about an hour on two cores.
# Usage: scripts/ci_fresh_root.sh [COMMIT] [WORK_DIR]
#   COMMIT    default HEAD
#   WORK_DIR  default /var/tmp/drevix-ci (the root is made anew each run)
set -euo pipefail
SRC=$(cd "$(dirname "$0")/.." && pwd)
COMMIT=$(git -C "$SRC" rev-parse --verify "${1:-HEAD}^{commit}")
WORK=${2:-/var/tmp/drevix-ci}
ROOT=$WORK/root
. "$SRC/scripts/roots.sh"
[ "$(id -u)" -eq 0 ] || { echo "ci_fresh_root: needs root (debootstrap, chroot)" >&2; exit 2; }
if ! command -v debootstrap >/dev/null; then
  echo "ci: installing debootstrap"
  DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 update -q >/dev/null
  DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -q \
    --no-install-recommends debootstrap >/dev/null
fi
mkdir -p "$WORK"

T0=$SECONDS
STAGES=()
stage_done() { # NAME START
  STAGES+=("$(printf '%-9s %5d s' "$1" $((SECONDS - $2)))")
  echo "ci: $1 done in $((SECONDS - $2)) s"
}
summary() {
  local rc=$1 s
  echo "ci: time by stage"
  for s in "${STAGES[@]}"; do echo "ci:   $s"; done
  echo "ci:   total     $(printf '%5d' $((SECONDS - T0))) s, exit status $rc"
}
on_exit() {
  local rc=$?
  # The test command's processes (Xvfb, wine) go before their mounts do.
  if [ -d "$ROOT/proc" ]; then
    local pid r
    for pid in $(ls /proc | grep -E '^[0-9]+$'); do
      r=$(readlink "/proc/$pid/root" 2>/dev/null) || continue
      case $r in "$ROOT" | "$ROOT"/*) kill -9 "$pid" 2>/dev/null || true ;; esac
    done
    sleep 1
  fi
  root_unmount "$ROOT"
  [ -z "$(mounts_under "$ROOT")" ] || echo "ci: mounts left under $ROOT: $(mounts_under "$ROOT")" >&2
  summary "$rc"
  exit "$rc"
}
trap on_exit EXIT
# Each step runs in the background while this shell waits for it: a signal
# then ends the wait at once and the trap clears the root, where a step in
# the foreground would hold the trap until it finished by itself.
step() {
  "$@" &
  wait $!
}
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# --- root: Debian 12 minbase, the machine's own sources, the commit ------------
t=$SECONDS
root_remove "$ROOT"
echo "ci: Debian 12 minbase from $MIRROR into $ROOT"
step debootstrap --variant=minbase bookworm "$ROOT" "$MIRROR" >"$WORK/debootstrap.log" 2>&1 || {
  tail -n 20 "$WORK/debootstrap.log" >&2
  exit 1
}
rm -f "$ROOT/etc/apt/sources.list"
cp /etc/apt/sources.list.d/*.sources "$ROOT/etc/apt/sources.list.d/" 2>/dev/null || true
[ -n "$(ls "$ROOT/etc/apt/sources.list.d/")" ] || echo "deb $MIRROR bookworm main" >"$ROOT/etc/apt/sources.list"
cp /etc/resolv.conf "$ROOT/etc/resolv.conf"
git clone -q --no-hardlinks "$SRC" "$ROOT/root/drevix"
git -C "$ROOT/root/drevix" checkout -q --detach "$COMMIT"
root_mount "$ROOT"
mount --bind /dev/shm "$ROOT/dev/shm"
echo "ci: commit $(git -C "$ROOT/root/drevix" log -1 --format='%h %s')"
stage_done root "$t"

# The README's test command, exactly as a new developer types it: it
# installs what it needs, builds, and runs the suite and the sanitizer pass.
in_ci() { in_root "$ROOT" env CI=true bash -c "cd /root/drevix && $1" </dev/null; }

t=$SECONDS
rc=0
step in_ci './scripts/test.sh 2>&1 | tee /root/test.log; exit ${PIPESTATUS[0]}' || rc=$?
stage_done tests "$t"
# The portable archive and its roots are tests of the suite: their share.
grep -E 'Test +#[0-9]+: portable_' "$ROOT/root/test.log" | sed 's/^/ci:   of which /' || true
grep -E '^test\.sh: ' "$ROOT/root/test.log" | sed 's/^/ci:   /' || true
exit "$rc"
