#!/usr/bin/env bash
# Draws the images that tests/e2e/background_test.sh declares as window
# backgrounds into OUTPUT_FOLDER (made, not kept): "quads.bmp", 80 x 60 in
# four coloured quarters, to be stretched over the client area, and
# "tile.bmp", 32 x 32 in four 16-pixel quarters, to be tiled. The colours
# are listed in background_test.sh, which probes for them; keep both in step.
# 24-bit BMP, which every Windows picture loader reads.
# Usage: tests/e2e/background_images.sh OUTPUT_FOLDER
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: tests/e2e/background_images.sh OUTPUT_FOLDER" >&2; exit 2; }
out=$1
mkdir -p "$out"

# quarters W H TOPLEFT TOPRIGHT BOTTOMLEFT BOTTOMRIGHT FILE
quarters() {
  local w=$1 h=$2 hw=$(($1 / 2)) hh=$(($2 / 2))
  convert -size "${w}x$h" "xc:rgb($3)" \
    -fill "rgb($4)" -draw "rectangle $hw,0 $((w - 1)),$((hh - 1))" \
    -fill "rgb($5)" -draw "rectangle 0,$hh $((hw - 1)),$((h - 1))" \
    -fill "rgb($6)" -draw "rectangle $hw,$hh $((w - 1)),$((h - 1))" \
    -type TrueColor BMP3:"$7"
}

quarters 80 60 200,40,40 40,160,60 50,70,200 230,200,40 "$out/quads.bmp"
quarters 32 32 255,128,0 0,128,255 128,0,255 0,200,100 "$out/tile.bmp"
