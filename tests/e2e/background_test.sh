#!/usr/bin/env bash
# End to end: the window background the project declares, under Wine. Packs
# the frame project once per variant (a solid colour, a horizontal and a
# vertical gradient, a stretched and a tiled image, the themed background,
# the top bar's own declared gradient, each on an ordinary and on a wide
# page; a larger window; a hatch; a missing image; malformed values), opens each setup, takes a
# screenshot and probes its pixels at places no control covers: each must
# show what the project declared there (the solid colour, the gradient's
# colour at that place from its start to its end colour, the image's pixel
# as stretched or tiled). A missing image paints the first colour and
# malformed values are skipped; both leave a line in the setup log and the
# window working. Screenshots go to build/screenshots/background_*.png.
# Exits non-zero when any check failed.
# Usage: background_test.sh [VARIANT...]   (default: every variant)
set -uo pipefail
source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/ui_common.sh"
require_files background_test "$pack" "$runtime" "$drive"

work="$windows/e2e-background"
rm -rf "$work"; mkdir -p "$work"
images="$work/images"
"$top/tests/e2e/background_images.sh" "$images"

# The quarters of the images that background_images.sh draws.
quads=(200,40,40 40,160,60 50,70,200 230,200,40)    # 80 x 60, stretched
tiles=(255,128,0 0,128,255 128,0,255 0,200,100)     # 32 x 32, tiled

colour() {  # colour R,G,B: the configuration's number for it
  local r g b
  IFS=, read -r r g b <<< "$1"
  echo $((r + 256 * g + 65536 * b))
}

# Colours the variants declare (R,G,B).
solid=30,110,60
red=255,0,0 blue=0,0,255 black=0,0,0 cyan=0,255,255 unused=255,0,255
pale=250,240,200 deep=20,60,140 fallback=90,30,120

# variant | page layout | keys added as SECTION:KEY=VALUE joined by "&" |
# what the background shows: solid:RGB, hgrad:START:END, vgrad:START:END,
# stretch, tile, themed, hatch:LINES, topbar-h/topbar-v:START:END:UNDER (the top bar's
# own gradient over the window's solid UNDER) | a line the log must hold
bg="s.c:BG"
variants=()
for layout in ordinary wide; do
  variants+=(
    "solid-$layout|$layout|$bg.Index=0&$bg.Color1=$(colour $solid)|solid:$solid|"
    "hgradient-$layout|$layout|$bg.Index=1&$bg.Color1=$(colour $unused)&$bg.Color2=$(colour $red)&$bg.Color3=$(colour $blue)|hgrad:$red:$blue|"
    "vgradient-$layout|$layout|$bg.Index=1&$bg.Vertical=1&$bg.Color2=$(colour $black)&$bg.Color3=$(colour $cyan)|vgrad:$black:$cyan|"
    "stretched-$layout|$layout|$bg.Index=2&$bg.ImgPath=bg/quads.bmp&$bg.Stretch=1&$bg.Color1=$(colour $unused)|stretch|"
    "tiled-$layout|$layout|$bg.Index=2&$bg.ImgPath=bg/tile.bmp&$bg.Stretch=0|tile|"
    "themed-$layout|$layout|$bg.Index=3&$bg.Color1=$(colour $unused)|themed|"
    # The top bar's declared colours: text, accent, back (the gradient's
    # end), second (its start); 0x100 own background, 0x400 horizontal,
    # 0x800 vertical, 0x2 colours. s.c.Flags 0x800 lets it paint its own.
    "topbar-h-$layout|$layout|s.c:Flags=2048&s.c:labBack1._DFlag=1282&s.c:labBack1._DColor=0,255,$(colour $deep),$(colour $pale)&$bg.Index=0&$bg.Color1=$(colour $solid)|topbar-h:$pale:$deep:$solid|"
    "topbar-v-$layout|$layout|s.c:Flags=2048&s.c:labBack1._DFlag=2306&s.c:labBack1._DColor=,,$(colour $deep),$(colour $pale)&$bg.Index=0&$bg.Color1=$(colour $solid)|topbar-v:$pale:$deep:$solid|"
  )
done
large="s.c:Width=700&s.c:Height=500"
variants+=(
  # A client area larger than the one the frame is built at.
  "hgradient-large|ordinary|$large&$bg.Index=1&$bg.Color2=$(colour $red)&$bg.Color3=$(colour $blue)|hgrad:$red:$blue|"
  "stretched-large|wide|$large&$bg.Index=2&$bg.ImgPath=bg/quads.bmp&$bg.Stretch=1|stretch|"
  # Hatch 1: horizontal lines in the first colour, one row in eight.
  "hatch-ordinary|ordinary|$bg.Index=0&$bg.Color1=$(colour $deep)&$bg.Cross=1|hatch:$deep|"
  "missing-image|ordinary|$bg.Index=2&$bg.ImgPath=bg/none.bmp&$bg.Stretch=1&$bg.Color1=$(colour $fallback)|solid:$fallback|background image 'bg/none.bmp' could not be loaded"
  # A malformed colour reads as the colour's default, black; a malformed
  # rectangle leaves the button where it was.
  "bad-colour|ordinary|$bg.Index=0&$bg.Color1=12x4|solid:$black|s.c.BG.Color1"
  "bad-rectangle|ordinary|s.c:btnNext._DFlag=1&s.c:btnNext._DRect=10,abc,90,23&$bg.Index=0&$bg.Color1=$(colour $solid)|solid:$solid|s.c.btnNext._DRect"
)

# make_project NAME LAYOUT KEYS: the frame project with one information
# page of LAYOUT, the test images in its payload and KEYS inserted under
# their sections.
make_project() {
  local dir="$work/$1-project" entries flags=256
  [ "$2" = wide ] && flags=128
  cp -r "$top/tests/e2e/frame_project" "$dir"
  mkdir -p "$dir/payload/bg"
  cp "$images"/*.bmp "$dir/payload/bg/"
  local keys="en-US.s.c:FTitle=Background $1&s.p:p1.Id=102&s.p:p1.Flags=$flags${3:+&$3}"
  IFS='&' read -r -a entries <<< "$keys"
  put_ini_keys "$dir/pjcfg.ini" "${entries[@]}"
  echo "$dir"
}

# gradient_at START END POS LENGTH: the colour a gradient from START to END
# over LENGTH pixels has at POS. The painter builds a strip of as many steps
# as the largest channel difference and stretches it, so the last pixel
# stays one step short of END.
gradient_at() {
  awk -v s="$1" -v e="$2" -v pos="$3" -v len="$4" 'BEGIN {
    split(s, a, ","); split(e, b, ","); n = 1
    for (c = 1; c <= 3; c++) { d = b[c] - a[c]; if (d < 0) d = -d; if (d > n) n = d }
    i = int(pos * n / len)
    for (c = 1; c <= 3; c++) out = out (c > 1 ? "," : "") a[c] + int(i * (b[c] - a[c]) / n)
    print out }'
}

# quarter_of COLOURS X Y W H: the colour of the quarter that X,Y falls in
# on an image W x H drawn in four quarters (COLOURS: an array's name).
quarter_of() {
  local -n q=$1
  local i=0
  [ "$2" -ge $(($4 / 2)) ] && i=$((i + 1))
  [ "$3" -ge $(($5 / 2)) ] && i=$((i + 2))
  echo "${q[$i]}"
}

# The probes, in client coordinates, at places the frame leaves bare in
# each layout: near the top edge, along the bottom edge, and in the page
# host's margin left of the page (a transparent control there shows the
# window's background, which must continue seamlessly).
probes_of() {  # probes_of LAYOUT W H: "x,y" lines
  local w=$2 h=$3 left=5
  [ "$1" = wide ] && left=$((164 + 5))
  printf '%s\n' "$((w - 70)),2" "2,$((h - 3))" "$((w / 2 - 20)),$((h - 3))" "$((w / 2 - 4)),$((h - 3))" \
    "$((w / 2 - 20)),$((h - 8))" "$((w / 2 - 4)),$((h - 8))" "$((w - 3)),$((h - 3))" "$left,$((h / 2 - 10))"
}

# expected_at KIND X Y W H LAYOUT: the colour the background KIND shows at
# X,Y of a client area W x H; "" when the probe says nothing about it.
expected_at() {
  local kind=$1 x=$2 y=$3 w=$4 h=$5 layout=$6 start end under lw=0
  IFS=: read -r kind start end under <<< "$kind"
  case "$kind" in
    solid) echo "$start" ;;
    hgrad) gradient_at "$start" "$end" "$x" "$w" ;;
    vgrad) gradient_at "$start" "$end" "$y" "$h" ;;
    stretch) quarter_of quads $((x * 80 / w)) $((y * 60 / h)) 80 60 ;;
    tile) quarter_of tiles $((x % 32)) $((y % 32)) 32 32 ;;
    topbar-h|topbar-v)
      # The top bar spans the client area's width (less the left image on
      # a wide page) and 57 pixels (70 on a wide page).
      local bar=57; [ "$layout" = wide ] && { lw=164; bar=70; }
      if [ "$y" -lt "$bar" ] && [ "$x" -ge "$lw" ]; then
        if [ "$kind" = topbar-h ]; then gradient_at "$start" "$end" $((x - lw)) $((w - lw))
        else gradient_at "$start" "$end" "$y" "$bar"; fi
      else
        echo "$under"
      fi ;;
  esac
}

for row in "${variants[@]}"; do
  IFS='|' read -r name layout keys kind logline <<< "$row"
  if [ $# -gt 0 ] && ! printf '%s\n' "$@" | grep -qx "$name"; then continue; fi
  echo "$name ($kind)"
  project=$(make_project "$name" "$layout" "$keys")
  setup="$work/$name-setup.exe"
  pack_or_stop background_test "$project" "$setup" "$work/$name-pack.log"
  { LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 start_program pid "$setup"; } 2>/dev/null
  W="title=Background $name - Velmora"
  if ! drive wait "$W" --timeout 60000 >/dev/null; then
    check "the window titled '${W#title=}' appears" false
    kill "$pid" 2>/dev/null; continue
  fi
  sleep 1  # the frame decorations are raised by a timer after the page shows
  tree=$(drive tree "$W")
  IFS=x read -r w h <<< "$(field_of "$(head -1 <<< "$tree")" client)"
  IFS=, read -r sx sy _ <<< "$(field_of "$(tree_line "$tree" labBack2)" screen)"
  IFS=, read -r rx ry _ <<< "$(field_of "$(tree_line "$tree" labBack2)" rect)"
  ox=$((sx - rx)); oy=$((sy - ry))
  screenshot "background_$name"
  shot="$shots/background_$name.png"

  if [ "${kind%%:*}" = hatch ]; then
    # Eight rows down the left edge and eight in the page host's margin:
    # one row of each eight is the line colour, the rest is not.
    for x in 2 5; do
      lines=0
      for y in $(seq $((h / 2)) $((h / 2 + 7))); do
        [ "$(pixel_at "$shot" $((ox + x)) $((oy + y)))" = "${kind#hatch:}" ] && lines=$((lines + 1))
      done
      check "one row in eight at x=$x is the hatch colour" test "$lines" -eq 1
    done
  elif [ "${kind%%:*}" = themed ]; then
    # The platform draws the themed background (or, without visual styles,
    # the window's own colour): it is not the first colour, which only a
    # solid background uses, and it is the same along the bottom edge.
    first=$(pixel_at "$shot" $((ox + 2)) $((oy + h - 3)))
    check "the themed background is not the first colour" test "$first" != "$unused"
    check "the themed background is even along the bottom" \
      near "$(pixel_at "$shot" $((ox + w - 3)) $((oy + h - 3)))" "$first" 8
  else
    while IFS=, read -r x y; do
      expected=$(expected_at "$kind" "$x" "$y" "$w" "$h" "$layout")
      check "pixel $x,$y is $expected" near "$(pixel_at "$shot" $((ox + x)) $((oy + y)))" "$expected" 4
    done < <(probes_of "$layout" "$w" "$h")
  fi
  if [ "$name" = bad-rectangle ]; then
    check "a malformed rectangle leaves btnNext in place" \
      same_text "$(field_of "$(tree_line "$tree" btnNext)" rect)" "$((w - 198)),$((h - 32)),90,23"
  fi

  drive click "$W" btnCancel >/dev/null
  check "the setup asks before it ends" grep -q 'Setup is not complete' <<< "$(drive msgbox --timeout 10000 id=6)"
  wait_program "$pid" 30
  check "the setup exited with 2 (cancelled)" test $? -eq 2
  if [ -n "$logline" ]; then
    check "the log says: $logline" grep -qF "$logline" <<< "$(log_text "$setup.log")"
  fi
done

[ $failures -eq 0 ] || { echo "background_test: $failures check(s) failed" >&2; exit 1; }
echo "background_test: all checks passed"
