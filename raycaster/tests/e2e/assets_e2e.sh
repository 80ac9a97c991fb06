#!/usr/bin/env bash
# Where the game looks for its files: the parent of its executable's folder,
# however deep; assets it cannot use; a minimised game at rest; and the one
# fatal start-up error when a level texture is missing.
# Usage: assets_e2e.sh BUILD_DIR. Run under xvfb-run -a.
set -u
BUILD=$(cd "$1" && pwd)
. "$(dirname "$0")/drive.sh"
OUT=$(mktemp -d)
openbox >/dev/null 2>&1 & # minimising takes a window manager
WM=$!
trap 'kill $WM; rm -rf "$OUT"' EXIT

# A copy of the game in a sub-folder of a folder holding the assets, over
# 600 bytes down; its small font cut to half its length, a FIFO for music.
game=$OUT/$(printf 'x%.0s' {1..200})/$(printf 'y%.0s' {1..200})/$(printf 'z%.0s' {1..200})/game
mkdir -p "$game/sub"
cp "$BUILD/bin/raycaster" "$game/sub/"
cp -r "$BUILD/assets" "$game/"
font=$game/assets/fonts/NotoSansMono-Regular.ttf music=$game/assets/sounds/bgmusic.mp3
truncate -s $(($(stat -c %s "$font") / 2)) "$font"
rm "$music" && mkfifo "$music"
(cd / && start_game "$game/sub/raycaster" "$OUT/stderr"
 shot "$OUT/title.png"
 # The backdrop image, not the plain blue-black, shows behind the banner.
 std=$(region_stat "$OUT/title.png" 960x80+0+10 standard_deviation)
 [ "$std" -gt 1 ] || fail "title backdrop not loaded from the parent folder"
 press space
 sleep 4.2
 shot "$OUT/play.png"
 lit=$(convert "$OUT/play.png" -crop 120x20+8+572 +repage -fx 'r>0.7 && g>0.7 && b>0.7 ? 1 : 0' \
     -format '%[fx:int(w*h*mean+0.5)]' info:)
 [ "$lit" -gt 20 ] || fail "no position readout ($lit light pixels)"
 # Minimised, it waits instead of drawing: under a tenth of a core, a bound
 # only a loop that keeps drawing reaches; then it draws again.
 cpu() { awk '{print $14 + $15}' "/proc/$GAME_PID/stat"; }
 xdotool windowminimize --sync "$GAME_WID"
 t0=$(cpu)
 sleep 10
 permille=$((($(cpu) - t0) * 1000 / (10 * $(getconf CLK_TCK))))
 echo "minimised for 10 s: $((permille / 10)).$((permille % 10)) % of a core"
 [ "$permille" -lt 100 ] || fail "a minimised game keeps a core busy"
 xdotool windowactivate --sync "$GAME_WID" 2>/dev/null
 sleep 0.5
 # Minimising took the focus away: the options menu opened, and the game
 # waits under it until the menu closes.
 shot "$OUT/back_menu.png"
 menu_shown "$OUT/back_menu.png" || fail "no options menu after losing the focus"
 press Escape
 sleep 0.5
 shot "$OUT/back.png"
 bright=$(region_stat "$OUT/back.png" 960x600+0+0 mean)
 [ "$bright" -gt 30 ] || fail "not drawn again after minimising (mean $bright)"
 press Escape; sleep 0.3; press Escape
 wait_exit 10 || fail "game in a sub-folder did not exit cleanly")
[ $? -eq 0 ] || exit 1
grep -qF "Drevix Raycaster: font $font cannot draw text" "$OUT/stderr" &&
    grep -qxF "Drevix Raycaster: $music: not a regular file; not used" "$OUT/stderr" &&
    [ "$(grep -c . "$OUT/stderr")" -eq 2 ] || fail "expected the font and the music: $(cat "$OUT/stderr")"

# The same without the floor texture: the failure with the system's reason,
# then the fatal line naming the folder, also in a box whose OK ends it.
floor=$game/assets/images/rooms/level_0/floor_.png
rm "$floor"
(cd / && exec "$game/sub/raycaster" 2>"$OUT/stderr") &
GAME_PID=$!
for _ in $(seq 600); do # the box, unlike the game's window, has no class
    box=$(xwininfo -root -tree | awk '/"Drevix Raycaster": \(\)/ {print $1; exit}')
    [ -n "$box" ] && break
    sleep 0.1
done
[ -n "$box" ] || fail "no message box: $(cat "$OUT/stderr")"
xdotool windowfocus --sync "$box" key Return
wait_exit 10
status=$?
[ "$status" -eq 1 ] || fail "missing floor: exit status $status, expected 1"
expected="Failed: $floor (No such file or directory)
Drevix Raycaster: missing textures in $game/assets"
[ "$(tail -2 "$OUT/stderr")" = "$expected" ] && [ "$(grep -c . "$OUT/stderr")" -eq 4 ] ||
    fail "missing floor: $(cat "$OUT/stderr")"
# No display: a clear message and exit status 1, not an invisible game.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 60 "$BUILD/bin/raycaster" 2>&1)
status=$?
[ "$status" -eq 1 ] || fail "without a display: exit status $status, expected 1"
echo "$out" | grep -q "^Drevix Raycaster: cannot open a window: no display found" ||
    fail "without a display: no message ($out)"
echo "assets end to end: ok"
