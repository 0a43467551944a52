#!/usr/bin/env bash
# Draws the skin of the sample project with ImageMagick's `convert` into
# OUTPUT_FOLDER, the payload/skin/ folder of a staged copy of examples/demo
# (scripts/demo.sh does this; the images are made, not kept): the left image of
# the welcome and finish pages, the top image of the ordinary pages, the
# window background and the finish page's own background. 24-bit BMP, which
# every Windows picture loader reads.
# Usage: scripts/make_demo_skin.sh OUTPUT_FOLDER
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: scripts/make_demo_skin.sh OUTPUT_FOLDER" >&2; exit 2; }
out=$1
mkdir -p "$out"

# The colours of the product: deep blue into teal, with paper-white notes.
readonly kDeep='#123a5c' kTeal='#2e8b8b' kPaper='#fdfaf0' kLine='#9fb8c8'

# Left image: 164 wide, as tall as the wide page's image column (window
# height 420 less the 44 pixels of the button row). A stack of note sheets.
convert -size 164x376 gradient:"$kTeal"-"$kDeep" \
  -fill '#ffffff22' -draw 'circle 150,40 150,130' \
  -fill "$kPaper" -stroke "$kLine" -strokewidth 1 \
  -draw 'polygon 30,150 118,140 128,250 40,260' \
  -draw 'polygon 36,140 124,136 128,246 40,250' \
  -stroke "$kLine" -draw 'line 52,160 116,157' -draw 'line 52,176 116,173' \
  -draw 'line 52,192 116,189' -draw 'line 52,208 100,206' \
  -fill '#e8b04a' -stroke none -draw 'rectangle 24,300 140,306' \
  BMP3:"$out/left.bmp"

# Top image: 57 x 56 at the right end of the top bar. One note sheet with a
# folded corner on the product's blue.
convert -size 57x56 gradient:"$kDeep"-"$kTeal" \
  -fill "$kPaper" -stroke "$kLine" -draw 'polygon 14,8 36,8 44,16 44,48 14,48' \
  -fill "$kLine" -stroke none -draw 'polygon 36,8 44,16 36,16' \
  -stroke "$kLine" -draw 'line 19,24 39,24' -draw 'line 19,31 39,31' -draw 'line 19,38 33,38' \
  BMP3:"$out/top.bmp"

# Window background (stretched over the client area): a pale paper tone with
# faint ruled lines, quiet enough to read text on.
convert -size 600x420 xc:"#f7f9fb" -stroke '#e3ebf1' \
  -draw "$(for y in $(seq 24 24 420); do printf 'line 0,%d 600,%d ' "$y" "$y"; done)" \
  BMP3:"$out/background.bmp"

# The finish page's own background: a soft teal wash from the top.
convert -size 600x420 gradient:'#dff1ef'-'#ffffff' BMP3:"$out/finish.bmp"

echo "skin images in $out: $(cd "$out" && echo *.bmp)"
