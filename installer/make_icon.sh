#!/bin/sh
# Draws the installer's application icon: a corridor seen in one-point
# perspective, as in the game, with a download badge. Writes a Windows .ico
# with 256, 48, 32 and 16 pixel images.
set -eu
out=$1
"${CONVERT:-convert}" -size 256x256 xc:none \
  -fill '#1b2130' -draw 'roundrectangle 8,8 247,247 36,36' \
  -fill '#2a3244' -draw 'polygon 30,30 226,30 162,94 94,94' \
  -fill '#3d4658' -draw 'polygon 30,226 94,162 162,162 226,226' \
  -fill '#8796ad' -draw 'polygon 30,30 94,94 94,162 30,226' \
  -fill '#66758c' -draw 'polygon 226,30 162,94 162,162 226,226' \
  -fill '#0b0e14' -draw 'rectangle 94,94 162,162' \
  -fill '#f2c14e' -draw 'rectangle 116,112 140,162' \
  -fill '#e0882f' -draw 'circle 194,194 194,246' \
  -fill '#ffffff' -draw 'polygon 186,166 202,166 202,194 216,194 194,220 172,194 186,194' \
  -depth 8 -define icon:auto-resize=256,48,32,16 "$out"
