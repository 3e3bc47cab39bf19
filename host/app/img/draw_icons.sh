#!/usr/bin/env bash
# Draws Tolvaran's own tray and menu icons (32 x 32 PNG) with ImageMagick. The PNGs are kept in
# the tree; run this again after changing a drawing.
set -euo pipefail
cd "$(dirname "$0")"
ink='#2f7fd0'
draw() {  # name, draw primitives...
  local name=$1; shift
  convert -size 32x32 xc:none -stroke "$ink" -strokewidth 3 -fill none "$@" \
    -define png:exclude-chunks=date,time +set date:create +set date:modify "$name.png"
}
# The program: a phase-scope disc with its rays.
convert -size 32x32 xc:none -fill '#1d2b3a' -stroke '#5fd0a0' -strokewidth 2 -draw 'circle 16,16 16,2' \
  -stroke '#5fd0a0' -strokewidth 2 -draw 'line 9,23 23,9' -draw 'line 16,5 16,27' \
  -define png:exclude-chunks=date,time +set date:create +set date:modify logo.png
draw main -draw 'line 5,16 16,5' -draw 'line 16,5 27,16' -draw 'line 9,14 9,27' -draw 'line 9,27 23,27' -draw 'line 23,27 23,14'
draw bbs -draw 'roundrectangle 4,5 28,21 4,4' -draw 'polyline 10,21 8,28 16,21'
draw about -draw 'circle 16,16 16,3' -fill "$ink" -stroke none -draw 'rectangle 14,14 18,25' \
  -draw 'circle 16,9 16,7'
draw left -draw 'polyline 5,14 5,5 14,5' -draw 'line 5,5 25,25'
draw right -draw 'polyline 18,5 27,5 27,14' -draw 'line 27,5 7,25'
draw quit -draw 'arc 5,6 27,28 -60,240' -draw 'line 16,3 16,15'
