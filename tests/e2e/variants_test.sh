#!/usr/bin/env bash
# End to end under Wine: the page variants of tests/e2e/variants_project,
# driven from outside with velmora-drive at the default window size.
# - "tour": every page in turn. Each page shows its own texts and boxes and
#   no other (the visible page's controls, by name and text), every visible
#   control lies inside the page (the narrower page beside the left image
#   included, and after a switch to German), and the page has the place
#   its layout gives it. The welcome page's own background differs from the
#   common one of the next page, and Back and Next bring each back; the
#   file types page paints its own stretched image; the declared left and
#   top images show on every page, the first one included (pixel probes). Hidden
#   buttons are not shown, the driver cannot click them, and neither Escape
#   (Cancel hidden) nor Enter (Next hidden) reaches them; the last page,
#   with no button, is left by the close box (question, exit code 2).
# - "condition": a Windows-version condition that no machine meets ends
#   the setup on the error page over the wide first page: the project's
#   message in red, only Cancel, no question, exit code 2.
# - "empty": a project without a page sequence shows the built-in error
#   texts and Exit, and ends with exit code 3 without a question.
# Nothing is installed; the script checks that the prefix's drive keeps the
# files it had. Screenshots: build/screenshots/variants_*.png. Exits
# non-zero when any check failed.
# Usage: variants_test.sh [RUN...]   (default: tour condition empty)
set -uo pipefail
source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/ui_common.sh"
require_files variants_test "$pack" "$runtime" "$drive"

work="$windows/e2e-variants"
rm -rf "$work"; mkdir -p "$work"
c_drive="$top/build/wine/prefix/drive_c"

# bands W H TOP BOTTOM FILE: an image in two horizontal bands (24-bit BMP).
bands() {
  convert -size "$1x$2" "xc:rgb($3)" -fill "rgb($4)" -draw "rectangle 0,$(($2 / 2)) $(($1 - 1)),$(($2 - 1))" \
    -type TrueColor BMP3:"$5"
}
# make_project NAME SED-EXPRESSIONS...: the project with its images drawn
# into its payload and the edits applied to its pjcfg.ini.
make_project() {
  local dir="$work/$1-project" expr; shift
  cp -r "$top/tests/e2e/variants_project" "$dir"
  "$top/tests/e2e/background_images.sh" "$dir/payload/bg"
  mkdir -p "$dir/payload/skin"
  bands 164 311 "$left_top" "$left_bottom" "$dir/payload/skin/left.bmp"
  bands 57 56 "$top_top" "$top_bottom" "$dir/payload/skin/top.bmp"
  for expr in "$@"; do sed -i "$expr" "$dir/pjcfg.ini"; done
  echo "$dir"
}

# The colours the project declares and the images drawn above hold.
welcome_bg=200,230,250 common_bg=250,240,200
quads=(200,40,40 40,160,60 50,70,200 230,200,40)  # quads.bmp, 80 x 60
left_top=70,100,150 left_bottom=150,110,60 top_top=90,150,90 top_bottom=120,60,140
left_width=164

rect_of() { field_of "$(tree_line "$1" "$2")" rect; }

# page_children TREE: the lines of the visible page's controls.
page_children() {
  awk '/name="page" / && / visible=1/ { match($0, /^ */); depth = RLENGTH; inside = 1; next }
       inside { match($0, /^ */); if (RLENGTH <= depth) exit; print }' <<< "$1"
}
# page_texts TREE: "name:text" of each visible control of the visible page.
page_texts() {
  page_children "$1" | grep ' visible=1 ' | sed -n 's/^ *name="\([^"]*\)".* text="\(.*\)" rect=.*/\1:\2/p'
}
# outside_page TREE: the visible controls of the visible page that reach
# past one of its edges (nothing when all lie inside).
outside_page() {
  local px py pw ph line x y w h
  IFS=, read -r px py pw ph <<< "$(page_children_rect "$1")"
  while IFS= read -r line; do
    IFS=, read -r x y w h <<< "$(field_of "$line" rect)"
    if [ "$x" -lt "$px" ] || [ "$y" -lt "$py" ] || [ $((x + w)) -gt $((px + pw)) ] || [ $((y + h)) -gt $((py + ph)) ]; then
      sed -n 's/^ *name="\([^"]*\)".*/\1/p' <<< "$line"
    fi
  done < <(page_children "$1" | grep ' visible=1 ')
}
page_children_rect() { field_of "$(grep -m1 'name="page" .* visible=1' <<< "$1")" rect; }

# The page's place in client coordinates: an ordinary page below the top
# bar, a wide one right of the left image, below the taller top bar.
page_rect_of() {  # page_rect_of LAYOUT W H
  if [ "$1" = wide ]; then echo "$((left_width + 12)),80,$(($2 - left_width - 24)),$(($3 - 135))"
  else echo "18,67,$(($2 - 36)),$(($3 - 122))"; fi
}

# Places no control covers in each layout (client coordinates): the top
# bar above the title, along the bottom edge, the page host's left margin.
probes_of() {  # probes_of LAYOUT W H: "x,y" lines
  local w=$2 h=$3
  if [ "$1" = wide ]; then
    printf '%s\n' "$((w - 5)),3" "$((w / 2 - 20)),$((h - 3))" "$((w / 2 + 20)),$((h - 3))" "$((left_width + 5)),$((h / 2 - 20))"
  else
    printf '%s\n' "$((w - 70)),2" "2,$((h - 3))" "$((w / 2 - 20)),$((h - 3))" "$((w / 2 + 20)),$((h - 3))" "5,$((h / 2 - 20))"
  fi
}
expected_at() {  # expected_at BACKGROUND X Y W H: solid:R,G,B or stretch
  case "$1" in
    solid:*) echo "${1#solid:}" ;;
    stretch)
      local i=0
      [ $(($2 * 80 / $4)) -ge 40 ] && i=$((i + 1))
      [ $(($3 * 60 / $5)) -ge 30 ] && i=$((i + 2))
      echo "${quads[$i]}" ;;
  esac
}

# check_page SHOT LAYOUT BACKGROUND EXPECTED_TEXTS: the page now shown sits
# at its layout's place with every control inside it, shows exactly the
# controls and texts expected ("name:text" lines), and the window's
# background is BACKGROUND at the probes; the screenshot is SHOT.
check_page() {
  local shot=$1 layout=$2 background=$3 expected=$4 tree w h ox oy x y tries=0 probes
  tree=$(drive tree "$W")
  IFS=x read -r w h <<< "$(field_of "$(head -1 <<< "$tree")" client)"
  check "the page sits at its $layout place" same_text "$(page_children_rect "$tree")" "$(page_rect_of "$layout" "$w" "$h")"
  check "the page shows its own controls and texts" same_text "$(page_texts "$tree")" "$expected"
  check "no control reaches past the page" same_text "$(outside_page "$tree" | paste -sd' ')" ""
  IFS=, read -r x y _ <<< "$(field_of "$(tree_line "$tree" labBack2)" screen)"
  IFS=, read -r ox oy _ <<< "$(rect_of "$tree" labBack2)"
  ox=$((x - ox)); oy=$((y - oy))
  probes=$(probe_list "$layout" "$background" "$w" "$h")
  # The window paints a moment after the page shows: the picture is taken
  # again until every probe shows what it should (or about five seconds).
  while screenshot "$shot"; ! probes_match "$shots/$shot.png" "$ox" "$oy" "$probes" && [ $tries -lt 20 ]; do
    sleep 0.25; tries=$((tries + 1))
  done
  while IFS='|' read -r what x y colour; do
    check "$what at $x,$y" near "$(pixel_at "$shots/$shot.png" $((ox + x)) $((oy + y)))" "$colour" 4
  done <<< "$probes"
}
# probe_list LAYOUT BACKGROUND W H: "what|x|y|R,G,B" lines: the background
# at the bare places, and the left image on a wide page (164 x 311 at this
# size) or the top image (57 x 56, one pixel in from the right) on an
# ordinary one, each in both its bands.
probe_list() {
  local layout=$1 background=$2 w=$3 h=$4 x y
  while IFS=, read -r x y; do
    echo "background|$x|$y|$(expected_at "$background" "$x" "$y" "$w" "$h")"
  done < <(probes_of "$layout" "$w" "$h")
  if [ "$layout" = wide ]; then
    printf '%s\n' "the left image's top band|82|70|$left_top" "the left image's bottom band|82|240|$left_bottom"
  else
    printf '%s\n' "the top image's top band|$((w - 28))|14|$top_top" "the top image's bottom band|$((w - 28))|42|$top_bottom"
  fi
}
probes_match() {  # probes_match FILE OX OY PROBES: every probe near its colour
  local what x y colour
  while IFS='|' read -r what x y colour; do
    near "$(pixel_at "$1" $(($2 + x)) $(($3 + y)))" "$colour" 4 2>/dev/null || return 1
  done <<< "$4"
}

# The page shows CONTROL (with TEXT) once it has come.
next_page() { drive click "$W" btnNext >/dev/null; drive wait-control "$W" "$@" --timeout 10000 >/dev/null; }
back_page() { drive click "$W" btnBack >/dev/null; drive wait-control "$W" "$@" --timeout 10000 >/dev/null; }
# refused W CONTROL: the driver's click is refused because CONTROL is hidden.
refused() { grep -q 'the control is hidden' <<< "$(drive click "$W" "$1" 2>&1)"; }
# no_question: no message box comes within three seconds (and the driver said
# so, rather than failing some other way).
no_question() { grep -q 'timed out waiting for a message box' <<< "$(drive msgbox --timeout 3000 id=7 2>&1)"; }
# buttons TREE [FIELD]: the field (default visible) of Back, Next and Cancel.
buttons() {
  local b
  for b in btnBack btnNext btnCancel; do
    printf '%s' "$(field_of "$(tree_line "$1" "$b")" "${2:-visible}")"
  done
}
start_setup() {  # start_setup SETUP: starts it in English, waits for the window
  { LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 start_program pid "$1"; } 2>/dev/null
  drive wait "$W" --timeout 60000 >/dev/null || { check "the window appears" false; kill "$pid" 2>/dev/null; return 1; }
}

welcome_en='labInfo:This wizard shows the page variants: wide pages, backgrounds of their own, the task pages and hidden buttons.\r\n\r\nClick Next to continue.
labLang:Language:
comboLang:English'
shortcuts_en='labInfo:Choose where the shortcuts go.
labShortcut:Variants Viewer gets shortcuts in:
chkShort0_0:Program menu
chkShort0_1:Desktop
chkShort0_2:Start menu
chkShort0_3:Startup
labShortcut:Variants Agent gets shortcuts in:
chkShort2_0:Program menu'
shortcuts_de='labInfo:Wählen Sie, wohin die Verknüpfungen kommen.
labShortcut:Varianten-Betrachter erhält Verknüpfungen in:
chkShort0_0:Programmmenü
chkShort0_1:Desktop
chkShort0_2:Startmenü
chkShort0_3:Autostart
labShortcut:Varianten-Agent erhält Verknüpfungen in:
chkShort2_0:Programmmenü'
filetypes_de='labInfo:Entfernen Sie die Haken bei Dateitypen, die bleiben sollen.
labAssoc:Varianten-Betrachter öffnet die Dateitypen:
chkShortcut:.vvnote
chkShortcut:.vvmemo
chkShortcut:.vvlog'
services_de='labInfo:Diese Seite hat weder Zurück noch Abbrechen.
labService:Der Dienst VelmoraVariantsSvc wird eingerichtet:
chkShort1:Varianten-Abgleichdienst
labService:Der Dienst VelmoraVariantsAgent wird eingerichtet:
chkShort2:Varianten-Agent (immer)'
done_de='labInfo:Schließen Sie das Fenster, um die Installation zu verlassen.
textMsg:Alle Seiten des Rundgangs wurden gezeigt.\r\nDiese Seite hat keine Schaltfläche: das Schließfeld des Fensters beendet die Installation.\r\n'

run_tour() {
  local setup="$work/tour-setup.exe" tree
  pack_or_stop variants_test "$(make_project tour)" "$setup" "$work/tour-pack.log"
  W="title=Variants - Velmora"
  start_setup "$setup" || return
  drive wait-control "$W" comboLang --timeout 10000 >/dev/null
  sleep 1  # the frame decorations are raised by a timer after the page shows
  echo " welcome (wide, its own background)"
  check_soon "the welcome title" "Welcome to Velmora Variants" drive text "$W" labBack1/labBTitle
  check_page variants_welcome wide "solid:$welcome_bg" "$welcome_en"

  echo " shortcuts (wide, the common background)"
  next_page chkShort0_3
  check_page variants_shortcuts wide "solid:$common_bg" "$shortcuts_en"
  back_page comboLang
  check_page variants_welcome_again wide "solid:$welcome_bg" "$welcome_en"
  drive select "$W" comboLang text=Deutsch >/dev/null
  W="title=Varianten - Velmora"
  check_soon "the language list switches the wizard to German" "Willkommen bei Velmora Varianten" \
    drive text "$W" labBack1/labBTitle
  next_page chkShort0_3 --text Autostart
  check_page variants_shortcuts_de wide "solid:$common_bg" "$shortcuts_de"

  echo " file types (its own stretched image)"
  next_page chkShortcut
  check_soon "the file types title" "Dateitypen" drive text "$W" labBack1/labBTitle
  check_page variants_filetypes_de ordinary stretch "$filetypes_de"

  echo " services (Back and Cancel hidden)"
  next_page chkShort1
  check_page variants_services_de ordinary "solid:$common_bg" "$services_de"
  tree=$(drive tree "$W")
  check "the fixed service box is checked and disabled" same_text \
    "$(field_of "$(page_children "$tree" | grep -m1 'name="chkShort2"')" checked),$(field_of "$(page_children "$tree" | grep -m1 'name="chkShort2"')" enabled)" "1,0"
  check "only Next is shown" same_text "$(buttons "$tree")" 010
  check "the hidden Back cannot be clicked" refused btnBack
  check "the hidden Cancel cannot be clicked" refused btnCancel
  drive key "$W" escape >/dev/null
  check "Escape does not reach the hidden Cancel" no_question
  check "the page stays" drive wait-control "$W" chkShort1 --timeout 2000

  echo " information (no button at all)"
  next_page textMsg
  check_page variants_done_de ordinary "solid:$common_bg" "$done_de"
  tree=$(drive tree "$W")
  check "no button shown, none enabled" same_text "$(buttons "$tree")$(buttons "$tree" enabled)" 000000
  check "the hidden Next cannot be clicked" refused btnNext
  drive key "$W" enter >/dev/null
  drive key "$W" escape >/dev/null
  check "Enter and Escape do nothing" no_question
  check "the window stays on the page" drive wait-control "$W" textMsg --timeout 2000
  drive close "$W" >/dev/null
  check "the close box asks first" grep -q 'text="Die Installation ist nicht abgeschlossen\|text="Setup is not complete' \
    <<< "$(drive msgbox --timeout 10000 id=6)"
  check "and then ends the setup" drive wait "$W" --gone --timeout 10000
  wait_program "$pid" 30
  check "the setup exited with 2 (left before its end)" test $? -eq 2
}

# drawn_in_red SHOT X,Y,W,H: a screenshot whose area holds some pure red.
drawn_in_red() {
  local x y w h
  IFS=, read -r x y w h <<< "$2"
  screenshot "$1"
  [ "$(convert "$shots/$1.png" -crop "${w}x${h}+${x}+${y}" +repage txt:- | grep -c '#FF0000')" -gt 20 ]
}
message_text() { drive text "$W" labBack2 | tr -d '\n'; }  # the error page's message
# A Windows-version condition with no bitness bit refuses every machine.
run_condition() {
  local setup="$work/condition-setup.exe" tree
  pack_or_stop variants_test "$(make_project condition '/^\[s\.i\]$/a Condition.Flag=33554432')" \
    "$setup" "$work/condition-pack.log"
  W="title=Variants - Velmora"
  start_setup "$setup" || return
  check_soon "the project's message" "Velmora Variants needs a newer Windows." \
    message_text
  tree=$(drive tree "$W")
  check "no page is shown" same_text "$(grep -c 'name="page" .* visible=1' <<< "$tree")" 0
  check "only Cancel is shown, and usable" same_text "$(buttons "$tree")$(field_of "$(tree_line "$tree" btnCancel)" enabled)" 0011
  check "the message is drawn in red" soon_true drawn_in_red variants_condition \
    "$(field_of "$(tree_line "$tree" labBack2)" screen)"
  drive click "$W" btnCancel >/dev/null
  check "leaving asks nothing" drive wait "$W" --gone --timeout 10000
  wait_program "$pid" 30
  check "the setup exited with 2" test $? -eq 2
}

run_empty() {
  local setup="$work/empty-setup.exe" tree
  pack_or_stop variants_test "$(make_project empty '/^Page[0-9]*\.IdDiff=/d')" "$setup" "$work/empty-pack.log"
  { LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 start_program pid "$setup"; } 2>/dev/null
  W=class=ccForm
  drive wait "$W" --timeout 60000 >/dev/null || { check "the window appears" false; kill "$pid" 2>/dev/null; return; }
  check_soon "the title says Error" "Error" drive text "$W" labBack1/labBTitle
  check_soon "the subtitle explains" "Error for no any setup files, Click Exit to exit." drive text "$W" labBack1/labSTitle
  check_soon "the button reads Exit" "Exit" drive text "$W" btnCancel
  tree=$(drive tree "$W")
  check "only Exit is shown" same_text "$(buttons "$tree")" 001
  screenshot variants_empty
  drive click "$W" btnCancel >/dev/null
  check "leaving asks nothing" drive wait "$W" --gone --timeout 10000
  wait_program "$pid" 30
  check "the setup exited with 3 (no page)" test $? -eq 3
}

# What the prefix's drive holds outside the Windows folder (Wine keeps its
# own files there): the setup runs must leave it as it was.
drive_files() { (cd "$c_drive" && find . -path ./windows -prune -o -print | sort); }
"$wine" --prepare
before=$(drive_files)

for run in tour condition empty; do
  if [ $# -gt 0 ] && ! printf '%s\n' "$@" | grep -qx "$run"; then continue; fi
  echo "$run"
  "run_$run"
done
check "the prefix's drive holds the files it held" same_text "$(diff <(echo "$before") <(drive_files))" ""

[ $failures -eq 0 ] || { echo "variants_test: $failures check(s) failed" >&2; exit 1; }
echo "variants_test: all checks passed"
