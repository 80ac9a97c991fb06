#!/usr/bin/env bash
# The installed programs started through their launchers, from a working
# folder with no assets in it: the game shows its title screen with the
# backdrop and banner from its installed assets, the maze generator its maze
# and status text (the system font found). Run under xvfb-run -a.
# Usage: installed_launchers.sh GAMES_DIR       (folder holding the launchers)
#        installed_launchers.sh --staged BUILD  (stages an install of BUILD first)
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
. "$HERE/drive.sh" 2>/dev/null || . "$HERE/../../raycaster/tests/e2e/drive.sh"
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT
if [ "$1" = --staged ]; then
  DESTDIR=$OUT/stage cmake --install "$2" --prefix /usr/local >/dev/null || fail "install failed"
  GAMES=$OUT/stage/usr/local/games
else
  GAMES=$1
fi
mkdir "$OUT/work"
cd "$OUT/work"

# On a cold system the first frame can take seconds after the window shows.
start_game "$GAMES/drevix-raycaster" "$OUT/stderr"
for attempt in $(seq 120); do
  shot "$OUT/title.png"
  std=$(region_stat "$OUT/title.png" 960x80+0+10 standard_deviation)
  banner=$(banner_pixels "$OUT/title.png")
  [ "$std" -gt 1 ] && [ "$banner" -gt 200 ] && break
  sleep 0.5
done
[ "$std" -gt 1 ] || fail "title backdrop not loaded (grey deviation $std)"
[ "$banner" -gt 200 ] || fail "title banner not shown ($banner banner pixels)"
press Escape; sleep 0.3; press Escape; sleep 0.3; press Escape
wait_exit 10 || fail "the game did not exit cleanly"
[ ! -s "$OUT/stderr" ] || fail "the game reported: $(cat "$OUT/stderr")"
[ -z "$(ls -A "$OUT/work")" ] || fail "the game wrote into its working folder: $(ls -A "$OUT/work")"
echo "game through its launcher: title ok (backdrop deviation $std, $banner banner pixels)"

"$GAMES/drevix-maze-generator" 2>"$OUT/maze.err" &
GAME_PID=$!
GAME_WID=$(find_window '^Drevix Maze Generator$')
[ -n "$GAME_WID" ] || fail "no maze generator window appeared"
# Walls in the maze's blue; status text (grey on the toolbar) needs the font.
for attempt in $(seq 120); do
  shot "$OUT/maze.png"
  walls=$(convert "$OUT/maze.png" -crop 1180x680+10+54 +repage -fuzz 2% \
      -fill black +opaque '#58A6FF' -fill white -opaque '#58A6FF' \
      -colorspace Gray -format '%[fx:int(w*h*mean+0.5)]' info:)
  text=$(convert "$OUT/maze.png" -crop 370x20+410+12 +repage -fuzz 3% \
      -fill black -opaque '#161B22' -fill white +opaque black \
      -colorspace Gray -format '%[fx:int(w*h*mean+0.5)]' info:)
  [ "$walls" -gt 2000 ] && [ "$text" -gt 100 ] && break
  sleep 0.5
done
[ "$walls" -gt 2000 ] || fail "no maze drawn ($walls wall pixels)"
[ "$text" -gt 100 ] || fail "no status text: font not found? ($text text pixels)"
press Escape
wait_exit 10 || fail "the maze generator did not exit cleanly"
echo "maze generator through its launcher: ok ($walls wall pixels, $text text pixels)"
