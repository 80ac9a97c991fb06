#!/usr/bin/env bash
# Where the game looks for its files: the parent of its executable's folder,
# however deep; assets it cannot use; and the one fatal start-up error when a
# level texture is missing.
# Usage: assets_e2e.sh BUILD_DIR. Run under xvfb-run -a.
set -u
BUILD=$(cd "$1" && pwd)
. "$(dirname "$0")/drive.sh"
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT

# A copy of the game in a sub-folder of a folder holding the assets, over
# 600 bytes down; a FIFO in place of the music.
game=$OUT/$(printf 'x%.0s' {1..200})/$(printf 'y%.0s' {1..200})/$(printf 'z%.0s' {1..200})/game
mkdir -p "$game/sub"
cp "$BUILD/bin/raycaster" "$game/sub/"
cp -r "$BUILD/assets" "$game/"
music=$game/assets/sounds/bgmusic.mp3
rm "$music" && mkfifo "$music"
(cd / && start_game "$game/sub/raycaster" "$OUT/stderr"
 shot "$OUT/title.png"
 # The backdrop image, not the plain blue-black, shows behind the banner.
 std=$(region_stat "$OUT/title.png" 960x80+0+10 standard_deviation)
 [ "$std" -gt 1 ] || fail "title backdrop not loaded from the parent folder"
 press Escape; sleep 0.3; press Escape; sleep 0.3; press Escape
 wait_exit 10 || fail "game in a sub-folder did not exit cleanly")
[ $? -eq 0 ] || exit 1
[ "$(cat "$OUT/stderr")" = "Drevix Raycaster: $music: not a regular file; not used" ] ||
    fail "expected the music: $(cat "$OUT/stderr")"

# The same without the floor texture: one failure line with the system's
# reason, then the fatal one.
floor=$game/assets/images/rooms/level_0/floor_.png
rm "$floor"
(cd / && "$game/sub/raycaster" 2>"$OUT/stderr")
status=$?
[ "$status" -eq 1 ] || fail "missing floor: exit status $status, expected 1"
sed -n 2p "$OUT/stderr" | grep -qxF "Failed: $floor (No such file or directory)" ||
    fail "no failure line: $(cat "$OUT/stderr")"
[ "$(tail -1 "$OUT/stderr")" = "Missing textures" ] || fail "no 'Missing textures': $(cat "$OUT/stderr")"
[ "$(grep -c . "$OUT/stderr")" -eq 3 ] || fail "extra output: $(cat "$OUT/stderr")"
# No display: a clear message and exit status 1, not an invisible game.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 20 "$BUILD/bin/raycaster" 2>&1)
status=$?
[ "$status" -eq 1 ] || fail "without a display: exit status $status, expected 1"
echo "$out" | grep -q "^Drevix Raycaster: cannot open a window: no display found" ||
    fail "without a display: no message ($out)"
echo "assets end to end: ok"
