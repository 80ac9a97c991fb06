#!/usr/bin/env bash
# The portable archive on Debian 11, 12 and 13 roots that have only a
# desktop's base: GL with Mesa, the X client libraries and ALSA, no SDL. In
# each, the archive is unpacked into a folder whose path holds a space and
# the game is started through a symlink from another folder: ldd finds every
# library; the game shows its title, the intro and the view, writes its
# settings and exits 0 on Esc Esc; the maze generator draws a maze. On
# Debian 12 the game is also started without libGL.so.1: one line says so.
# The display is this machine's Xvfb, reached through its socket folder: one
# for each release (see the end).
# Needs root.
# Usage: scripts/portable_test.sh ARCHIVE [SHOTS_DIR]
#        scripts/portable_test.sh --make-roots   (only makes the roots: the
#        suite does that while the archive is being built)
set -u
SRC=$(cd "$(dirname "$0")/.." && pwd)
. "$SRC/scripts/roots.sh"
[ "$(id -u)" -eq 0 ] || { echo "portable_test: needs root (debootstrap, chroot)" >&2; exit 77; }

# A desktop's base, as each release names it.
BASE=(libgl1 libgl1-mesa-dri libegl1 libx11-6 libxext6 libxcursor1 libxi6 libxfixes3 libxrandr2
  libxss1 libxrender1 libxcb-render0 libxcb-shm0 libxkbcommon0 libwayland-client0
  libwayland-cursor0 libwayland-egl1)
declare -A ALSA=([bullseye]=libasound2 [bookworm]=libasound2 [trixie]=libasound2t64)
declare -A RELEASE=([bullseye]="Debian 11" [bookworm]="Debian 12" [trixie]="Debian 13")
player_root() { root_make "player-$1" "$1" "${BASE[@]}" "${ALSA[$1]}"; }

if [ "${1:-}" = --make-roots ]; then
  for suite in bullseye bookworm trixie; do
    t0=$SECONDS
    player_root $suite >/dev/null || exit 1
    echo "${RELEASE[$suite]} root ready ($((SECONDS - t0)) s)"
  done
  exit 0
fi

ARCHIVE=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
SHOTS=${2:-$(dirname "$ARCHIVE")/shots}

# Each release on a display of its own. The test displays never reset, and
# one that had served the Debian 11 programs lost the Debian 12 game's first
# window as soon as it was found; a new server per release starts clean.
if [ -z "${PORTABLE_RELEASE:-}" ]; then
  for suite in bullseye bookworm trixie; do
    PORTABLE_RELEASE=$suite "$SRC/scripts/xvfb_run.sh" -a bash "$0" "$ARCHIVE" "$SHOTS" || exit 1
  done
  echo "portable archive: ok on Debian 11, 12 and 13 (screenshots in $SHOTS)"
  exit 0
fi
. "$SRC/raycaster/tests/e2e/drive.sh"
[ -n "${DISPLAY:-}" ] || { echo "portable_test: run under xvfb-run -a" >&2; exit 2; }
mkdir -p "$SHOTS"
NAME=$(basename "$ARCHIVE" -linux-x86_64.tar.gz)
DIR="/opt/My Games/$NAME"
OUT=$(mktemp -d)
ROOT=
cleanup() {
  [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null
  [ -z "$ROOT" ] || root_unmount "$ROOT"
  rm -rf "$OUT"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# wrapper PROGRAM: a command for start_game that runs PROGRAM in $ROOT
# from /root/elsewhere, as a player would, with this display.
wrapper() {
  cat >"$OUT/run" <<EOF
#!/bin/sh
exec chroot "$ROOT" env -i PATH=/usr/local/bin:/usr/bin:/bin HOME=/root LANG=C.UTF-8 \
  DISPLAY=$DISPLAY XAUTHORITY=/tmp/xauth SDL_AUDIODRIVER=dummy \
  sh -c 'cd /root/elsewhere && exec "\$0"' "$1"
EOF
  chmod +x "$OUT/run"
  echo "$OUT/run"
}

check_root() {
  local suite=$1 tag=$2 t0=$SECONDS
  ROOT=$(player_root "$suite") || fail "no $suite root"
  in_root "$ROOT" dpkg-query -W 'libsdl2*' >/dev/null 2>&1 && fail "$suite root has SDL"
  rm -rf "$ROOT/opt/My Games" "$ROOT/root/.config" "$ROOT/root/elsewhere"
  mkdir -p "$ROOT/opt/My Games" "$ROOT/root/elsewhere"
  tar -xzf "$ARCHIVE" -C "$ROOT/opt/My Games"
  ln -sfn "$DIR/drevix-raycaster" "$ROOT/usr/local/bin/drevix-raycaster"
  ln -sfn "$DIR/drevix-maze-generator" "$ROOT/usr/local/bin/drevix-maze-generator"
  root_mount "$ROOT" x11
  cp "${XAUTHORITY:-/dev/null}" "$ROOT/tmp/xauth" 2>/dev/null || : >"$ROOT/tmp/xauth"

  local missing
  missing=$(in_root "$ROOT" sh -c "cd '$DIR' && for f in drevix-raycaster drevix-maze-generator lib/*; do
    ldd \"\$f\" | sed \"s|^|\$f: |\"; done" | grep 'not found')
  [ -z "$missing" ] || fail "${RELEASE[$suite]}: $missing"

  start_game "$(wrapper /usr/local/bin/drevix-raycaster)" "$OUT/game.err"
  local attempt std banner
  for attempt in $(seq 40); do
    shot "$OUT/title.png"
    banner=$(banner_pixels "$OUT/title.png")
    [ "$banner" -gt 200 ] && break
    sleep 0.5
  done
  [ "$banner" -gt 200 ] || fail "${RELEASE[$suite]}: title banner not shown ($banner banner pixels)"
  press space
  sleep 1.5
  shot "$OUT/intro.png"
  sleep 3
  shot "$OUT/play.png"
  local detail bright
  detail=$(region_stat "$OUT/play.png" 960x400+0+100 standard_deviation)
  bright=$(region_stat "$OUT/play.png" 960x600+0+0 mean)
  [ "$detail" -gt 12 ] || fail "${RELEASE[$suite]}: the view looks flat (grey deviation $detail)"
  [ "$bright" -gt 30 ] || fail "${RELEASE[$suite]}: the view is dark (mean $bright)"
  # The intro fades the view in: darker halfway than when it is over.
  [ "$(region_stat "$OUT/intro.png" 960x600+0+0 mean)" -lt "$bright" ] ||
    fail "${RELEASE[$suite]}: no intro before the view"
  # A new window size is kept at quit: the settings file is written.
  xdotool windowsize --sync "$GAME_WID" 1000 640 || true
  sleep 0.5
  press Escape
  sleep 0.3
  press Escape
  wait_exit 60
  local status=$?
  [ "$status" -eq 0 ] || fail "${RELEASE[$suite]}: the game exited with $status: $(cat "$OUT/game.err")"
  grep -qx 'window_width = 1000' "$ROOT/root/.config/drevix-raycaster/settings.ini" ||
    fail "${RELEASE[$suite]}: no settings written"
  for s in title intro play; do cp "$OUT/$s.png" "$SHOTS/$tag-$s.png"; done

  start_game "$(wrapper /usr/local/bin/drevix-maze-generator)" "$OUT/maze.err" '^Drevix Maze Generator$'
  local walls
  for attempt in $(seq 40); do
    shot "$OUT/maze.png"
    walls=$(convert "$OUT/maze.png" -crop 1180x680+10+54 +repage -fuzz 2% \
      -fill black +opaque '#58A6FF' -fill white -opaque '#58A6FF' \
      -colorspace Gray -format '%[fx:int(w*h*mean+0.5)]' info:)
    [ "$walls" -gt 2000 ] && break
    sleep 0.5
  done
  [ "$walls" -gt 2000 ] || fail "${RELEASE[$suite]}: no maze drawn ($walls wall pixels)"
  cp "$OUT/maze.png" "$SHOTS/$tag-maze.png"
  # These roots have no fonts of their own: the caption of the first button
  # comes from the archive's font.
  local caption
  caption=$(convert "$OUT/maze.png" -crop 140x28+10+10 +repage -colorspace Gray -threshold 75% \
    -format '%[fx:int(w*h*mean+0.5)]' info:)
  [ "$caption" -gt 100 ] || fail "${RELEASE[$suite]}: no button captions ($caption light pixels)"
  press Escape
  wait_exit 60 || fail "${RELEASE[$suite]}: the maze generator did not exit cleanly"
  # A worksheet: its text in a font of the archive's font setup, embedded,
  # and not a word on standard error from the font library.
  in_root "$ROOT" sh -c 'cd /root/elsewhere && drevix-maze-generator --seed ABC123 --output sheet.pdf' \
    >/dev/null 2>"$OUT/cli.err" || fail "${RELEASE[$suite]}: no worksheet: $(cat "$OUT/cli.err")"
  [ ! -s "$OUT/cli.err" ] || fail "${RELEASE[$suite]}: the worksheet's run said: $(cat "$OUT/cli.err")"
  pdffonts "$ROOT/root/elsewhere/sheet.pdf" | grep -q ' TrueType ' ||
    fail "${RELEASE[$suite]}: no font embedded in the worksheet: $(pdffonts "$ROOT/root/elsewhere/sheet.pdf")"

  if [ "$suite" = bookworm ]; then
    check_no_libgl
    check_desktop_entry
  fi
  root_unmount "$ROOT"
  echo "${RELEASE[$suite]}: ok in $((SECONDS - t0)) s (view deviation $detail, mean $bright;" \
    "$walls maze wall pixels)"
}

# Without libGL.so.1: the one line, and a message box whose OK ends the game.
check_no_libgl() {
  local gl box= status
  gl=$(cd "$ROOT" && ls usr/lib/x86_64-linux-gnu/libGL.so.1)
  mv "$ROOT/$gl" "$ROOT/$gl.away"
  "$(wrapper /usr/local/bin/drevix-raycaster)" 2>"$OUT/nogl.err" &
  GAME_PID=$!
  for _ in $(seq 120); do # the box has a name but no class
    box=$(xwininfo -root -tree | awk '/"Drevix Raycaster": \(\)/ { print $1; exit }')
    [ -n "$box" ] && break
    kill -0 "$GAME_PID" 2>/dev/null || break
    sleep 0.5
  done
  [ -n "$box" ] && xdotool windowfocus --sync "$box" key Return
  wait_exit 60
  status=$?
  mv "$ROOT/$gl.away" "$ROOT/$gl"
  local want="Drevix Raycaster: cannot start: libGL.so.1 not found (install your system's OpenGL driver)"
  [ "$(cat "$OUT/nogl.err")" = "$want" ] || fail "without libGL: '$(cat "$OUT/nogl.err")'"
  [ -n "$box" ] || fail "without libGL: no message box"
  [ "$status" -eq 1 ] || fail "without libGL: exit status $status, not 1"
  echo "Debian 12 without libGL.so.1: '$want', in a message box too"
}

# The menu entries point at the unpacked folder, and go again on --remove.
check_desktop_entry() {
  local dir=$ROOT$DIR home=$OUT/home
  local apps=$home/.local/share/applications icon=$home/.local/share/icons/hicolor/256x256/apps
  env -u XDG_DATA_HOME HOME="$home" sh "$dir/install-desktop-entry.sh" >/dev/null || fail "install-desktop-entry.sh"
  desktop-file-validate "$apps"/*.desktop || fail "desktop entries not valid"
  [ "$(sed -n 's/^Exec=//p' "$apps/drevix-raycaster-portable.desktop")" = "\"$dir/drevix-raycaster\"" ] ||
    fail "the game's entry does not start $dir/drevix-raycaster: $(cat "$apps/drevix-raycaster-portable.desktop")"
  grep -qx "Exec=\"$dir/drevix-maze-generator\"" "$apps/drevix-maze-generator-portable.desktop" ||
    fail "the maze generator's entry does not start it"
  cmp -s "$icon/drevix-raycaster.png" "$dir/drevix-raycaster.png" || fail "no icon in the theme"
  env -u XDG_DATA_HOME HOME="$home" sh "$dir/install-desktop-entry.sh" --remove >/dev/null
  local left
  left=$(ls -A "$apps" "$icon" | grep -v -e mimeinfo.cache -e "^/" -e "^$" || true)
  [ -z "$left" ] || fail "left after --remove: $left"
  echo "desktop entries: added for \"$dir\", removed again"
}

declare -A TAG=([bullseye]=debian11 [bookworm]=debian12 [trixie]=debian13)
check_root "$PORTABLE_RELEASE" "${TAG[$PORTABLE_RELEASE]}"
