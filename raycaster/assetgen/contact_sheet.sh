#!/usr/bin/env bash
# Lays the generated images out on one sheet for looking at them together:
# the faces as the game stands them up, a run of wall with the secret and
# door faces set in it, floor and ceiling tiled 2x2, the backdrop, and the
# icon and cursor on a checkerboard. Needs ImageMagick.
#   usage: contact_sheet.sh [ASSET_DIR] [OUT_PNG]
set -euo pipefail
assets=${1:-build/assets}
out=${2:-build/contact_sheet.png}
rooms=$assets/images/rooms/level_0
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

big() { convert "$1" -filter point -resize 300% "$2"; }
# The plain wall's file holds its floor row first; turn it the right way up.
convert "$rooms/wall_brick.png" -flip "$tmp/wall.png"
big "$tmp/wall.png" "$tmp/1_wall.png"
big "$rooms/wall_brick_secret.png" "$tmp/2_secret.png"
big "$rooms/wall_brick_secret_door0.png" "$tmp/3_door0.png"
big "$rooms/wall_brick_secret_door80.png" "$tmp/4_door80.png"
convert \( "$rooms/floor_.png" "$rooms/floor_.png" +append \) \
    \( "$rooms/floor_.png" "$rooms/floor_.png" +append \) -append -filter point -resize 300% "$tmp/5_floor.png"
convert \( "$rooms/ceiling_.png" "$rooms/ceiling_.png" +append \) \
    \( "$rooms/ceiling_.png" "$rooms/ceiling_.png" +append \) -append -filter point -resize 150% "$tmp/6_ceiling.png"
convert "$tmp/wall.png" "$rooms/wall_brick_secret.png" "$tmp/wall.png" "$rooms/wall_brick_secret_door0.png" \
    "$tmp/wall.png" "$rooms/wall_brick_secret_door80.png" "$tmp/wall.png" +append \
    -filter point -resize 150% "$tmp/7_strip.png"
for f in icon cursor; do
    src=$assets/images/icons/icon.ico
    [ "$f" = cursor ] && src=$assets/images/icons/cursors/arrow.cur
    convert -size 64x64 pattern:checkerboard "ico:$src" -gravity center -composite \
        -filter point -resize 384x384 "$tmp/8_$f.png"
done
montage "$tmp"/[1-6]_*.png "$tmp"/8_*.png -tile 4x -geometry 384x384+8+8 -background '#202020' "$tmp/grid.png"
convert "$assets/images/bgimage.png" -resize 1600x "$tmp/bg.png"
convert "$tmp/grid.png" \( "$tmp/7_strip.png" -resize 1600x \) "$tmp/bg.png" -gravity center \
    -background '#202020' -append "$out"
echo "$out"
