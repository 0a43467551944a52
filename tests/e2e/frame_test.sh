#!/usr/bin/env bash
# End to end: the wizard's frame under Wine, driven from outside. Packs the
# frame project once per variant (ordinary page at three client sizes, a
# wide page with the left image at two, the close box disabled by the
# project, a German run of the two-language project), opens each setup and
# checks through the window driver: the frame controls' rectangles (client
# coordinates) as the layout rules place them for that size, the title and
# the declared button texts of the chosen language, Enter and Escape, the
# close box, and that leaving by Cancel, Escape or the close box asks first
# and ends the setup with exit code 2 (Next on the only page: 0), its log
# intact. A screenshot per variant goes
# to build/screenshots. Exits non-zero when any check failed.
# Usage: frame_test.sh [VARIANT...]   (default: every variant)
set -uo pipefail
source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/ui_common.sh"
require_files frame_test "$pack" "$runtime" "$drive"
keep_prefix_awake

work="$windows/e2e-frame"
rm -rf "$work"; mkdir -p "$work"

# variant | client W | H | wide page | keys added as SECTION:KEY=VALUE,... |
# locale | how the setup is left
variants=(
  "ordinary500|500|355|0||en_US.UTF-8|escape"
  "ordinary600|600|420|0|s.c:Width=600,s.c:Height=420|en_US.UTF-8|next"
  "ordinary700|700|500|0|s.c:Width=700,s.c:Height=500|en_US.UTF-8|close"
  "wide500|500|355|1|s.p:p1.Id=100|en_US.UTF-8|cancel"
  "wide700|700|500|1|s.p:p1.Id=100,s.c:Width=700,s.c:Height=500|en_US.UTF-8|escape"
  "noclose|600|420|0|s.c:Width=600,s.c:Height=420,s.c:Var.DisabledCloseButton=1|en_US.UTF-8|blocked-close"
  "german|500|355|0||de_DE.UTF-8|cancel"
)

# make_project NAME KEYS: the frame project with KEYS inserted under their
# sections and the English title "Frame NAME".
make_project() {
  local dir="$work/$1-project" entries
  cp -r "$top/tests/e2e/frame_project" "$dir"
  local keys="en-US.s.c:FTitle=Frame $1${2:+,$2}"
  # One information page unless the variant names its own page type.
  [[ "$2" == *p1.Id=* ]] || keys+=",s.p:p1.Id=102"
  IFS=, read -r -a entries <<< "$keys"
  put_ini_keys "$dir/pjcfg.ini" "${entries[@]}"
  echo "$dir"
}

# check_rect TREE NAME X,Y,W,H: the control's client rectangle.
check_rect() {
  check "$2 at $3" same_text "$(field_of "$(tree_line "$1" "$2")" rect)" "$3"
}
check_visible() {  # check_visible TREE NAME 0|1
  check "$2 visible=$3" same_text "$(field_of "$(tree_line "$1" "$2")" visible)" "$3"
}

# The frame's places: the buttons, the bottom line, the credit text and
# link keep their distance to the bottom (and the buttons to the right
# edge) of the client area; the top bar, page host and images follow the
# layout rules of ordinary and wide pages (top image 57, left image 164).
check_frame() {  # check_frame TREE W H WIDE
  local tree=$1 w=$2 h=$3 wide=$4 lw=164 tw=57
  check_rect "$tree" btnBack "$((w - 288)),$((h - 32)),90,23"
  check_rect "$tree" btnNext "$((w - 198)),$((h - 32)),90,23"
  check_rect "$tree" btnCancel "$((w - 98)),$((h - 32)),90,23"
  check_rect "$tree" labLineBottom "-2,$((h - 44)),$((w + 6)),2"
  check_visible "$tree" labLineBottom 1
  check_rect "$tree" linkMain "5,$((h - 35)),200,17"
  check_visible "$tree" linkMain 1
  if [ "$wide" = 0 ]; then
    check_rect "$tree" copyMain "4,$((h - 51)),200,17"
    check_visible "$tree" copyMain 1
    check_rect "$tree" labBack1 "0,0,$w,57"
    check_rect "$tree" labBack2 "0,57,$w,$((h - 101))"
    check_rect "$tree" picTop "$((w - tw + 1)),1,$tw,56"
    check_rect "$tree" labBTitle "20,9,$((w - tw - 23)),18"
    check_rect "$tree" labSTitle "44,27,$((w - tw - 47)),27"
    check_rect "$tree" labLineTop "-2,59,$((w + 6)),2"
    check_visible "$tree" picTop 1
    check_visible "$tree" labSTitle 1
    check_visible "$tree" labLineTop 1
    check_visible "$tree" picLeft 0
  else
    local w2=$((w - lw))
    check_visible "$tree" copyMain 0
    check_rect "$tree" labBack1 "$lw,0,$w2,70"
    check_rect "$tree" labBack2 "$lw,70,$w2,$((h - 114))"
    check_rect "$tree" picLeft "0,0,$lw,$((h - 44))"
    check_rect "$tree" labBTitle "$((lw + 12)),16,$((w2 - 24)),54"
    check_visible "$tree" picLeft 1
    check_visible "$tree" picTop 0
    check_visible "$tree" labSTitle 0
    check_visible "$tree" labLineTop 0
  fi
}

still_open() { drive wait "$1" --timeout 1000 >/dev/null; }
blue=0,0,255  # the image places' colour while the project declares no image

# check_images TREE W WIDE SHOT: the screenshot shows the top image's blue
# on an ordinary page and the left image's on a wide one, and a wide page
# leaves nothing of the top image at its ordinary place.
check_images() {
  local tree=$1 w=$2 wide=$3 shot=$4 ox oy x y
  IFS=, read -r ox oy _ <<< "$(field_of "$(tree_line "$tree" labBack2)" screen)"
  oy=$((oy - 57)); [ "$wide" = 1 ] && { ox=$((ox - 164)); oy=$((oy - 13)); }
  if [ "$wide" = 0 ]; then
    check "the top image's place is blue" same_text "$(pixel_at "$shot" $((ox + w - 28)) $((oy + 28)))" "$blue"
  else
    check "the left image's place is blue" same_text "$(pixel_at "$shot" $((ox + 82)) $((oy + 150)))" "$blue"
    check "no top image on a wide page" test "$(pixel_at "$shot" $((ox + w - 3)) $((oy + 5)))" != "$blue"
  fi
}

# check_log SETUP LANGUAGE: the log beside the setup survived the run whole.
check_log() {
  local text
  text=$(log_text "$1.log" 2>/dev/null)
  check "the log starts with WinVer:" grep -q '^WinVer:' <<< "$(head -1 <<< "$text")"
  check "the log holds the 14 directory lines" test "$(grep -c '^<[A-Za-z0-9()]*>:' <<< "$text")" -eq 14
  check "the log names the language $2" grep -qx "CurLang:$2" <<< "$text"
}

# answer_exit W BUTTON: the "Setup is not complete" question appears over
# the window and is answered with BUTTON (by id: 6 Yes, 7 No; the box's
# button texts follow the system's language).
answer_exit() {
  check "closing asks first" grep -q 'Setup is not complete' <<< "$(drive msgbox --timeout 10000 "$2")"
}

# leave_setup HOW W PID SETUP: ends the setup the variant's way and checks
# its exit: 0 when the wizard ran to its end (Next on its only page), 2 when
# the user left it before.
leave_setup() {
  local how=$1 W=$2 pid=$3 setup=$4 expected=2
  case "$how" in
    escape)
      drive key "$W" escape >/dev/null
      answer_exit "$W" id=7
      check "No keeps the window open" still_open "$W"
      sleep 1
      drive key "$W" escape >/dev/null
      answer_exit "$W" id=6
      check "Escape closes the window as Cancel does" drive wait "$W" --gone --timeout 10000 ;;
    next)
      drive key "$W" enter >/dev/null
      expected=0
      check "Enter (Next on the only page) ends the wizard" drive wait "$W" --gone --timeout 10000 ;;
    cancel)
      drive click "$W" btnCancel >/dev/null
      answer_exit "$W" id=6
      check "btnCancel closes the window" drive wait "$W" --gone --timeout 10000 ;;
    close)
      drive close "$W" >/dev/null
      answer_exit "$W" id=6
      check "the close box closes the window" drive wait "$W" --gone --timeout 10000 ;;
    blocked-close)
      drive close "$W" >/dev/null
      check "the disabled close box leaves the window open" \
        bash -c '! "$0" "$@" >/dev/null 2>&1' "$wine" "$drive" wait "$W" --gone --timeout 3000
      drive click "$W" btnCancel >/dev/null
      answer_exit "$W" id=6
      check "btnCancel still closes it" drive wait "$W" --gone --timeout 10000 ;;
  esac
  wait_program "$pid" 30
  check "the setup exited with $expected" test $? -eq "$expected"
}

for row in "${variants[@]}"; do
  IFS='|' read -r name w h wide keys locale how <<< "$row"
  # Names given on the command line run only those variants.
  if [ $# -gt 0 ] && ! printf '%s\n' "$@" | grep -qx "$name"; then continue; fi
  echo "$name (${w}x$h, wide=$wide, $how)"
  project=$(make_project "$name" "$keys")
  setup="$work/$name-setup.exe"
  pack_or_stop frame_test "$project" "$setup" "$work/$name-pack.log"
  # (bash warns when this machine lacks the locale; Wine needs only the name)
  { LANG=$locale LC_ALL=$locale start_program pid "$setup"; } 2>/dev/null
  if [ "$locale" = de_DE.UTF-8 ]; then
    W="title=Rahmentest - Velmora"; lang=de-DE
    texts="< &Zurück|&Weiter >|&Abbrechen"
  else
    W="title=Frame $name - Velmora"; lang=en-US
    texts="< &Previous|&Forward >|&Quit"
  fi
  if ! drive wait "$W" --timeout 60000 >/dev/null; then
    check "the window titled '${W#title=}' appears" false
    kill "$pid" 2>/dev/null; continue
  fi
  tree=$(drive tree "$W")
  check "the client area is ${w}x$h" same_text "$(field_of "$(head -1 <<< "$tree")" client)" "${w}x$h"
  check_frame "$tree" "$w" "$h" "$wide"
  IFS='|' read -r back next cancel <<< "$texts"
  check "declared $lang button texts" same_text \
    "$(drive text "$W" btnBack)|$(drive text "$W" btnNext)|$(drive text "$W" btnCancel)" "$back|$next|$cancel"
  check "Back is disabled on the first page" grep -q 'enabled=0' <<< "$(tree_line "$tree" btnBack)"
  screenshot "frame_$name"
  check_images "$tree" "$w" "$wide" "$shots/frame_$name.png"
  leave_setup "$how" "$W" "$pid" "$setup"
  check_log "$setup" "$lang"
done

# The error page, for a sequence without a first page and for a run
# condition that fails (a registry key that is not there): its texts, only
# the Exit/Cancel button left, closing without a question, the exit code
# (3: no valid page; 2: ended before the end), and the message in red.
# name | keys | title label | subtitle label | page host text | exit code
error_variants=(
  "nopages|s.p:p1.Id=999|Error|Error for no any setup files, Click Exit to exit.||3"
  "condition|s.i:Condition.Flag=1140850688,s.i:Condition.RegRoot=1,s.i:Condition.RegDir=Software\\VelmoraAbsent,en-US.s.i:Var.ConditionError3=This computer lacks what Frame condition needs.|||This computer lacks what Frame condition needs.|2"
)
red_pixels() {  # red_pixels FILE X,Y,W,H: how many pure red pixels the area holds
  local x y w h
  IFS=, read -r x y w h <<< "$2"
  convert "$1" -crop "${w}x${h}+${x}+${y}" +repage txt:- | grep -c '#FF0000'
}
for row in "${error_variants[@]}"; do
  IFS='|' read -r name keys title subtitle message code <<< "$row"
  if [ $# -gt 0 ] && ! printf '%s\n' "$@" | grep -qx "$name"; then continue; fi
  echo "$name (error page)"
  project=$(make_project "$name" "$keys")
  setup="$work/$name-setup.exe"
  pack_or_stop frame_test "$project" "$setup" "$work/$name-pack.log"
  start_program pid "$setup"
  W=class=ccForm
  if ! drive wait "$W" --timeout 60000 >/dev/null; then
    check "the wizard window appears" false; kill "$pid" 2>/dev/null; continue
  fi
  sleep 1
  tree=$(drive tree "$W")
  check_visible "$tree" btnBack 0
  check_visible "$tree" btnNext 0
  check_visible "$tree" btnCancel 1
  if [ -n "$title" ]; then
    check_soon "the title says '$title'" "$title" drive text "$W" labBack1/labBTitle
    check_soon "the subtitle explains" "$subtitle" drive text "$W" labBack1/labSTitle
    check_soon "the button reads Exit" "Exit" drive text "$W" btnCancel
  fi
  if [ -n "$message" ]; then
    check "the page host shows the project's message" same_text "$(drive text "$W" labBack2 | tr -d '\n')" "$message"
    screenshot "frame_$name"
    check "the message is drawn in red" test "$(red_pixels "$shots/frame_$name.png" "$(field_of "$(tree_line "$tree" labBack2)" screen)")" -gt 20
  else
    screenshot "frame_$name"
  fi
  drive click "$W" btnCancel >/dev/null
  check "leaving asks nothing" drive wait "$W" --gone --timeout 10000
  wait_program "$pid" 30
  check "the setup exited with $code" test $? -eq "$code"
done

[ $failures -eq 0 ] || { echo "frame_test: $failures check(s) failed" >&2; exit 1; }
echo "frame_test: all checks passed"
