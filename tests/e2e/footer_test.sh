#!/usr/bin/env bash
# End to end under Wine: the frame's footer and a declared control on a
# page, then the packed demo setup left by Cancel.
# - The credit text "copyMain" and link "linkMain" show the texts the
#   project declares under "s.c" in the chosen language (English, German),
#   or the built-in credit when it declares none; page flag 0x1000 hides
#   the link and 0x2000 the credit text; the credit text sits on the bottom
#   line without cutting it.
# - A button declared on the first page ("._DCtlCount", "._DCtl1.*") appears
#   at its declared place with its declared text, can be clicked (the window
#   stays), and Next then Back shows it again once, not twice.
# - The background the project leaves undeclared is the same on the first
#   page and the next.
# - The demo project (examples/demo, packed as scripts/demo.sh does) opens,
#   its btnCancel is found by name and clicked, the exit question answered,
#   and the setup ends with exit code 2 (cancelled) and its log whole.
# Screenshots go to build/screenshots/footer_*.png. Exits non-zero when any
# check failed.
# Usage: footer_test.sh [VARIANT...]   (default: every variant, then "demo")
set -uo pipefail
source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/ui_common.sh"
require_files footer_test "$pack" "$runtime" "$drive"

work="$windows/e2e-footer"
rm -rf "$work"; mkdir -p "$work"

# variant | locale | second page's flags | the credit text, link text and
# declared button text the first page shows ("" : none declared) | which
# footer text the second page hides
variants=(
  "english|en_US.UTF-8|4352|Packed for the footer test|footer.example|&What is new?|linkMain"
  "german|de_DE.UTF-8|8448|Gepackt vom Fußzeilentest|fusszeile.example|&Was ist neu?|copyMain"
  "undeclared|en_US.UTF-8|256|||&What is new?|"
)
builtin_credit="Velmora"

# add_keys INI SECTION KEY=VALUE...: the keys right under SECTION's header
# (a new section at the end when the file has none).
add_keys() {
  local ini=$1 section=$2 entry; shift 2
  grep -qxF "[$section]" "$ini" || printf '[%s]\n' "$section" >> "$ini"
  for entry in "$@"; do
    sed -i "/^\[${section//./\\.}\]\$/a $entry" "$ini"
  done
}

# make_project NAME SECOND_FLAGS DECLARE_FOOTER: the frame project with two
# ordinary pages (welcome, information), a declared button on the first,
# and (when DECLARE_FOOTER is 1) the footer texts in both languages.
make_project() {
  local dir="$work/$1-project"
  cp -r "$top/tests/e2e/frame_project" "$dir"
  local ini="$dir/pjcfg.ini"
  sed -i '/^FTitle=/d' "$ini"
  add_keys "$ini" s.p Page1.IdDiff=2 p1.Id=101 p1.Flags=256 p1._DFlag=8 p1._DCtlCount=1 \
    p1._DCtl1.Name=btnWhatsNew p1._DCtl1.Type=Button p1.btnWhatsNew._DFlag=1 \
    p1.btnWhatsNew._DRect=3,150,180,23 p2.Id=102 "p2.Flags=$2"
  add_keys "$ini" en-US.s.c "FTitle=Footer $1"
  add_keys "$ini" de-DE.s.c "FTitle=Footer $1"
  add_keys "$ini" en-US.s.p "p1.btnWhatsNew=&What is new?"
  add_keys "$ini" de-DE.s.p "p1.btnWhatsNew=&Was ist neu?"
  if [ "$3" = 1 ]; then
    add_keys "$ini" en-US.s.c "copyMain=Packed for the footer test" "linkMain=footer.example"
    add_keys "$ini" de-DE.s.c "copyMain=Gepackt vom Fußzeilentest" "linkMain=fusszeile.example"
  fi
  echo "$dir"
}

text_of() {  # text_of TREE NAME: the control's text (quotes removed)
  sed -n 's/.* text="\([^"]*\)".*/\1/p' <<< "$(tree_line "$1" "$2")"
}
check_visible() {  # check_visible TREE NAME 0|1
  check "$2 visible=$3" same_text "$(field_of "$(tree_line "$1" "$2")" visible)" "$3"
}
still_open() { drive wait "$1" --timeout 1000 >/dev/null; }
# check_log SETUP LANGUAGE: the log beside the setup survived the run whole.
check_log() {
  local text
  text=$(log_text "$1.log" 2>/dev/null)
  check "the log starts with WinVer:" grep -q '^WinVer:' <<< "$(head -1 <<< "$text")"
  check "the log names the language $2" grep -qx "CurLang:$2" <<< "$text"
  check "the log records the exit code 2" grep -q 'Setup ends with exit code 2\.' <<< "$text"
}

# settled_tree W: the window after a move has settled (its frame
# decorations are raised by a short timer), as the driver's tree.
settled_tree() { sleep 1; drive tree "$1"; }

# client_pixel TREE SHOT X Y: the screenshot's colour at client X,Y.
client_pixel() {
  local sx sy rx ry
  IFS=, read -r sx sy _ <<< "$(field_of "$(tree_line "$1" labBack2)" screen)"
  IFS=, read -r rx ry _ <<< "$(field_of "$(tree_line "$1" labBack2)" rect)"
  pixel_at "$2" $((sx - rx + $3)) $((sy - ry + $4))
}

# line_unbroken TREE SHOT: the bottom line's colour is the same under the
# credit text's box, right of its text, as beyond the box.
line_unbroken() {
  local y x
  IFS=, read -r _ y _ <<< "$(field_of "$(tree_line "$1" labLineBottom)" rect)"
  same_text "$(client_pixel "$1" "$2" 200 "$y")" "$(client_pixel "$1" "$2" 300 "$y")"
}

run_variant() {
  local name=$1 locale=$2 flags=$3 copy=$4 link=$5 button=$6 hidden=$7 lang=en-US declare=1
  [ "$locale" = de_DE.UTF-8 ] && lang=de-DE
  [ -z "$copy" ] && { declare=0; copy=$builtin_credit; }
  echo "$name ($lang, second page flags $flags)"
  local project setup pid W tree shot first
  project=$(make_project "$name" "$flags" "$declare")
  setup="$work/$name-setup.exe"
  pack_or_stop footer_test "$project" "$setup" "$work/$name-pack.log"
  { LANG=$locale LC_ALL=$locale start_program pid "$setup"; } 2>/dev/null
  W="title=Footer $name - Velmora"
  if ! drive wait "$W" --timeout 60000 >/dev/null; then
    check "the window titled '${W#title=}' appears" false
    kill "$pid" 2>/dev/null; return
  fi

  tree=$(settled_tree "$W")
  check "copyMain shows '$copy'" same_text "$(text_of "$tree" copyMain)" "$copy"
  check "linkMain shows '$link'" same_text "$(text_of "$tree" linkMain)" "$link"
  check_visible "$tree" copyMain 1
  check_visible "$tree" linkMain 1
  # 3,150 on the page, which lies at 18,10 in the page host at 0,57.
  check "the declared button at its declared place" \
    same_text "$(field_of "$(tree_line "$tree" btnWhatsNew)" rect)" "21,217,180,23"
  check "the declared button shows '$button'" same_text "$(text_of "$tree" btnWhatsNew)" "$button"
  screenshot "footer_${name}_first"
  shot="$shots/footer_${name}_first.png"
  check "the credit text leaves the bottom line whole" line_unbroken "$tree" "$shot"
  first=$(client_pixel "$tree" "$shot" 2 352)

  check "a click on the declared button is taken" drive click "$W" btnWhatsNew
  sleep 1
  check "the window stays after the click" still_open "$W"

  drive click "$W" btnNext >/dev/null
  tree=$(settled_tree "$W")
  check_visible "$tree" btnWhatsNew 0
  if [ -n "$hidden" ]; then
    check_visible "$tree" "$hidden" 0
    [ "$hidden" = linkMain ] && check_visible "$tree" copyMain 1 || check_visible "$tree" linkMain 1
  fi
  screenshot "footer_${name}_second"
  check "the second page has the first page's background" \
    same_text "$(client_pixel "$tree" "$shots/footer_${name}_second.png" 2 352)" "$first"

  drive click "$W" btnBack >/dev/null
  tree=$(settled_tree "$W")
  check "showing the first page again makes no second declared button" \
    test "$(grep -c 'name="btnWhatsNew" ' <<< "$tree")" -eq 1
  check_visible "$tree" btnWhatsNew 1
  check_visible "$tree" copyMain 1
  check_visible "$tree" linkMain 1
  check "the declared button still shows '$button'" same_text "$(text_of "$tree" btnWhatsNew)" "$button"

  drive click "$W" btnCancel >/dev/null
  check "leaving asks first" grep -q 'Setup is not complete' <<< "$(drive msgbox --timeout 10000 id=6)"
  wait_program "$pid" 30
  check "the setup exited with 2" test $? -eq 2
  check_log "$setup" "$lang"
}

# The demo project staged and packed as scripts/demo.sh does, into this
# flavour's runtime with this flavour's service program.
run_demo() {
  echo "demo (examples/demo, left by Cancel)"
  local service="$windows/tests/test_service/velmora-test-service.exe"
  require_files footer_test "$service"
  local stage="$work/demo-project" setup="$work/demo-setup.exe" pid W
  cp -r "$top/examples/demo" "$stage"
  "$top/scripts/make_demo_skin.sh" "$stage/payload/skin" >/dev/null
  cp "$service" "$stage/app/BrindleSync.exe"
  pack_or_stop footer_test "$stage" "$setup" "$work/demo-pack.log"
  { LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 start_program pid "$setup"; } 2>/dev/null
  W="title=Brindlecraft Notes 1.4 Setup - Velmora"
  if ! drive wait "$W" --timeout 60000 >/dev/null; then
    check "the demo's window appears" false
    kill "$pid" 2>/dev/null; return
  fi
  sleep 1
  screenshot footer_demo
  check "the driver finds btnCancel by name" grep -q 'name="btnCancel" ' <<< "$(drive tree "$W")"
  drive click "$W" btnCancel >/dev/null
  check "Cancel asks first" grep -q 'Setup is not complete' <<< "$(drive msgbox --timeout 10000 id=6)"
  check "the window closes" drive wait "$W" --gone --timeout 10000
  wait_program "$pid" 30
  check "the demo setup exited with 2 (cancelled)" test $? -eq 2
  check_log "$setup" en-US
}

wanted() { [ $# -eq 1 ] || printf '%s\n' "${@:2}" | grep -qx "$1"; }
for row in "${variants[@]}"; do
  IFS='|' read -r name locale flags copy link button hidden <<< "$row"
  wanted "$name" "$@" && run_variant "$name" "$locale" "$flags" "$copy" "$link" "$button" "$hidden"
done
wanted demo "$@" && run_demo

[ $failures -eq 0 ] || { echo "footer_test: $failures check(s) failed" >&2; exit 1; }
echo "footer_test: all checks passed"
