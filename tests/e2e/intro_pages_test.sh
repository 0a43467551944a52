#!/usr/bin/env bash
# End to end: the first pages of a setup under Wine, driven from outside.
# Packs tests/e2e/intro_pages_project (English, German, Russian; language
# page, welcome, licence with radio buttons, information, web page) and
# checks through the window driver:
#  - the language page selects the language start-up chose (by the locale),
#    and choosing another switches every text of the form at once, the
#    following pages included (umlauts and Cyrillic as written);
#  - the licence page keeps Next disabled until "I accept" is chosen, shows
#    its document (.txt in two encodings, .rtf), and puts the Next button's
#    caption into the agreement text in every language and both directions;
#  - the information page shows its .htm document (bold text, links without
#    their markers) or .rtf; a click on a link to a file inside the
#    application folder opens it, a click on a program link opens nothing
#    and is logged;
#  - the web page appears without a browser engine, offers its address and
#    can be left both ways; Next on it ends the setup with exit code 0.
# Screenshots of each page (English, German, Russian) go to
# build/screenshots/intro_*.png. Exits non-zero when any check failed.
# Usage: intro_pages_test.sh [RUN...]   (default: every run)
set -uo pipefail
source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/ui_common.sh"
require_files intro_pages_test "$pack" "$runtime" "$drive"
command -v xdotool >/dev/null || { echo "intro_pages_test: xdotool is missing (scripts/setup.sh)" >&2; exit 1; }
keep_prefix_awake

work="$windows/e2e-intro"
rm -rf "$work"; mkdir -p "$work"
prefix="$top/build/wine/prefix"

# visible_line TREE NAME: the line of the visible control NAME (every page
# has a labInfo; only the shown page's is visible).
visible_line() {
  grep "name=\"$2\" " <<< "$1" | grep -m1 'visible=1'
}
text_of() {  # text_of TREE NAME: the quoted text of the visible control
  sed -n 's/.* text="\(.*\)" rect=.*/\1/p' <<< "$(visible_line "$1" "$2")"
}
check_text() {  # check_text TREE NAME EXPECTED
  check "$2 reads '$3'" same_text "$(text_of "$1" "$2")" "$3"
}
check_contains() {  # check_contains TREE NAME PART
  check "$2 shows '$3'" grep -qF -- "$3" <<< "$(text_of "$1" "$2")"
}
check_state() {  # check_state TREE NAME FIELD VALUE (of the visible control)
  check "$2 $3=$4" same_text "$(field_of "$(visible_line "$1" "$2")" "$3")" "$4"
}
frame_state() {  # frame_state W NAME FIELD: a frame control's field
  field_of "$(drive tree "$1" | grep -m1 "name=\"$2\" ")" "$3"
}

# pack_project NAME KEYS: the project with KEYS (SECTION:KEY=VALUE,...)
# put under their sections in place of the project's own values, packed as
# $work/NAME-setup.exe.
pack_project() {
  local dir="$work/$1-project" entries
  cp -r "$top/tests/e2e/intro_pages_project" "$dir"
  if [ -n "$2" ]; then
    IFS=, read -r -a entries <<< "$2"
    put_ini_keys "$dir/pjcfg.ini" "${entries[@]}"
  fi
  pack_or_stop intro_pages_test "$dir" "$work/$1-setup.exe" "$work/$1-pack.log"
}

# start_setup NAME LOCALE TITLE: starts the setup NAME and waits for its
# window; sets W (the window selector) and pid.
start_setup() {
  local handle
  { LANG=$2 LC_ALL=$2 start_program pid "$work/$1-setup.exe"; } 2>/dev/null
  handle=$(drive wait "title=$3" --timeout 60000) || {
    check "the window titled '$3' appears" false; kill "$pid" 2>/dev/null; return 1; }
  W="hwnd=$handle"
  sleep 0.5
}

window_shown() { drive wait "$1" --timeout "$2" >/dev/null; }  # window_shown WINDOW MS
# press BUTTON: clicks it and waits (up to 15 s) until the next page's title
# is up, then a little longer for the page's deferred steps.
press() {
  local before tries=0
  before=$(drive text "$W" labBTitle)
  drive click "$W" "$1" >/dev/null
  while [ "$(drive text "$W" labBTitle 2>/dev/null)" = "$before" ] && [ $tries -lt 75 ]; do
    sleep 0.2; tries=$((tries + 1))
  done
  sleep 0.3
}
next() { press btnNext; }
back() { press btnBack; }

# The application folder the setup proposes (its links may open files
# there), from the directory lines of its log, as a Linux path.
app_folder_on_disk() {
  local dir
  dir=$(log_text "$1.log" | sed -n 's/^<ProgramFilesDir(32bit)>:\(.*\)$/\1/p' | head -1)
  dir="${dir//\\//}"
  echo "$prefix/drive_c${dir#C:}/Velmora Intro Test"
}

# click_text_line TREE LINE: a real mouse click on the start of line LINE
# (from 0) of the shown document.
click_text_line() {
  local x y
  IFS=, read -r x y _ <<< "$(field_of "$(visible_line "$1" textMsg)" screen)"
  xdotool mousemove $((x + 20)) $((y + 9 + 15 * $2)) click 1
  sleep 1.5
}

# Run "switch": English locale; the language page switches to German,
# Russian and back to German; the German pages follow, the licence's radio
# buttons gate Next, the information links open or are refused, the web
# page is left both ways and Next ends the setup.
run_switch() {
  local tree setup="$work/main-setup.exe" folder
  echo "switch (language changed on the first page)"
  start_setup main en_US.UTF-8 "Intro Pages - Velmora" || return
  tree=$(drive tree "$W")
  check "the language page selects English (the locale's)" same_text "$(field_of "$(visible_line "$tree" comboLang)" sel)" '0:"English"'
  check_text "$tree" labInfo "Choose the language of this setup."
  check_text "$tree" labBTitle "Language"
  screenshot intro_language_en

  drive select "$W" page/comboLang 1 >/dev/null; sleep 0.5
  tree=$(drive tree "$W")
  check "the title follows the switch" grep -q 'title="Einführung - Velmora"' <<< "$(head -1 <<< "$tree")"
  check_text "$tree" labInfo "Wählen Sie die Sprache für die Installation. Größe: ÄÖÜ äöü ß"
  check_text "$tree" labLang "Sprache:"
  check_text "$tree" labBTitle "Sprache"
  check "the buttons follow the switch" same_text \
    "$(drive text "$W" btnBack)|$(drive text "$W" btnNext)|$(drive text "$W" btnCancel)" "< &Zurück|&Weiter >|&Abbrechen"
  screenshot intro_language_de

  drive select "$W" page/comboLang 2 >/dev/null; sleep 0.5
  tree=$(drive tree "$W")
  check_text "$tree" labInfo "Выберите язык установки."
  check_soon "Russian button texts" "&Далее >" drive text "$W" btnNext
  screenshot intro_language_ru
  drive select "$W" page/comboLang 1 >/dev/null; sleep 0.5

  next
  tree=$(drive tree "$W")
  check "the welcome page's list shows the language chosen before" \
    same_text "$(field_of "$(visible_line "$tree" comboLang)" sel)" '1:"Deutsch"'
  check_contains "$tree" labInfo "Dieser Assistent zeigt die ersten Seiten einer Installation."
  check_text "$tree" linkPage "pages.example"
  check_text "$tree" labBTitle "Willkommen beim Einführungstest"
  screenshot intro_welcome_de

  next
  tree=$(drive tree "$W")
  check_text "$tree" labBTitle "Lizenzvertrag"
  check_contains "$tree" textMsg "Größe, Änderungen und Übersetzungen sind erlaubt."
  # The whole text is the file's, and nothing after it.
  check "the .txt licence is exactly its file" same_text "$(text_of "$tree" textMsg)" \
    'Deutscher Lizenzvertrag als reiner Text.\r\nGröße, Änderungen und Übersetzungen sind erlaubt.\r\n'
  check_state "$tree" radNo checked 1
  check_state "$tree" radYes checked 0
  check_soon "Next is disabled until the licence is accepted" 0 frame_state "$W" btnNext enabled
  screenshot intro_licence_de
  drive click "$W" radYes >/dev/null; sleep 0.3
  check_soon "accepting enables Next" 1 frame_state "$W" btnNext enabled
  drive click "$W" radNo >/dev/null; sleep 0.3
  check_soon "declining disables Next again" 0 frame_state "$W" btnNext enabled
  drive click "$W" radYes >/dev/null; sleep 0.3

  next
  tree=$(drive tree "$W")
  check_text "$tree" labBTitle "Informationen"
  check_contains "$tree" textMsg "Liesmich öffnen"
  check_contains "$tree" textMsg "Diese Version bringt kräftige Änderungen und Zeilen, die als Leerzeichen enden."
  check "the link markers are gone" bash -c '! grep -q "RTF_LINK" <<< "$0"' "$(text_of "$tree" textMsg)"
  screenshot intro_info_de
  folder=$(app_folder_on_disk "$setup")
  mkdir -p "$folder"
  printf '%s\r\n' '{\rtf1\ansi Readme of the intro test.\par}' > "$folder/readme.rtf"
  cp "$drive" "$folder/tool.exe"
  click_text_line "$tree" 0
  check "the readme link opened the file in the application folder" \
    grep -q '^Link opened: .*\\Velmora Intro Test\\readme.rtf$' <<< "$(log_text "$setup.log")"
  check "the readme is open in its program" window_shown "title=readme.rtf - Wine Wordpad" 15000
  screenshot intro_info_de_opened
  drive close "title=readme.rtf - Wine Wordpad" >/dev/null
  click_text_line "$tree" 1
  check "the program link was refused and logged" \
    grep -qx 'Link not opened: tool.exe (program or script)' <<< "$(log_text "$setup.log")"
  check "each click opened at most once" test "$(log_text "$setup.log" | grep -c '^Link opened:')" -eq 1
  screenshot intro_info_de_clicked
  rm -rf "$folder"

  next
  tree=$(drive tree "$W")
  check_text "$tree" labBTitle "Versionshinweise"
  check_text "$tree" labNoBrowser "Diese Seite kann hier nicht angezeigt werden. Öffnen Sie sie in Ihrem Browser:"
  check_text "$tree" linkUrl "https://pages.example/notes"
  screenshot intro_web_de
  back
  tree=$(drive tree "$W")
  check "Back leaves the web page" same_text "$(text_of "$tree" labBTitle)" "Informationen"
  next
  drive click "$W" btnNext >/dev/null
  check "Next on the web page ends the setup" drive wait "$W" --gone --timeout 10000
  wait_program "$pid" 30
  check "the setup exited with 0" test $? -eq 0
}

# Run "english": the English documents (.rtf licence, .htm information)
# and the agreement text way: Back and Next keep its caption filled in.
run_english() {
  local tree
  echo "english (RTF licence, HTML information)"
  start_setup main en_US.UTF-8 "Intro Pages - Velmora" || return
  next
  tree=$(drive tree "$W")
  check_text "$tree" labBTitle "Welcome to the Intro Test"
  check_state "$tree" linkPage visible 1
  screenshot intro_welcome_en
  next
  tree=$(drive tree "$W")
  check_contains "$tree" textMsg "English licence in RTF."
  check_contains "$tree" textMsg "Bold terms apply to every copy."
  check "no RTF markup shows" bash -c '! grep -q "rtf1" <<< "$0"' "$(text_of "$tree" textMsg)"
  screenshot intro_licence_en
  drive click "$W" radYes >/dev/null; sleep 0.3
  next
  tree=$(drive tree "$W")
  check_contains "$tree" textMsg "This version brings bold changes and new lines joined by spaces."
  screenshot intro_info_en
  next
  tree=$(drive tree "$W")
  check_text "$tree" labNoBrowser "This page cannot be shown here. You can open it in your web browser:"
  screenshot intro_web_en
  back; back
  tree=$(drive tree "$W")
  check_soon "the licence stays accepted after Back" 1 frame_state "$W" btnNext enabled
  check_state "$tree" radYes checked 1
  drive click "$W" btnCancel >/dev/null
  drive msgbox --timeout 10000 "&Yes" >/dev/null
  wait_program "$pid" 30
  check "Cancel ends the setup with 2" test $? -eq 2
}

# Run "russian": a Russian locale; the language page shows Russian as
# start-up chose it, the UTF-8 licence and the RTF information show
# Cyrillic.
run_russian() {
  local tree
  echo "russian (start-up's choice on the first page)"
  start_setup main ru_RU.UTF-8 "Введение - Velmora" || return
  tree=$(drive tree "$W")
  check "the language page selects Russian (the locale's)" same_text "$(field_of "$(visible_line "$tree" comboLang)" sel)" '2:"Русский"'
  check_text "$tree" labInfo "Выберите язык установки."
  next; next
  tree=$(drive tree "$W")
  check_contains "$tree" textMsg "Лицензионное соглашение простым текстом."
  check "the byte-order mark is not shown" bash -c '! grep -q $'"'"'\xef\xbb\xbf'"'"' <<< "$0"' "$(text_of "$tree" textMsg)"
  screenshot intro_licence_ru
  drive click "$W" radYes >/dev/null; sleep 0.3
  next
  tree=$(drive tree "$W")
  check_contains "$tree" textMsg "Новое в этой версии."
  screenshot intro_info_ru
  drive click "$W" btnCancel >/dev/null
  drive msgbox --timeout 10000 "&Yes" >/dev/null
  wait_program "$pid" 30
}

# Run "agreement": the licence agreed by Next alone (no radio buttons); the
# agreement text names the Next button in the current language, after a
# switch, and again when the page is reached by Back.
run_agreement() {
  local tree
  echo "agreement (text with the Next button's name)"
  pack_project agreement "s.p:p3.Flags=256"
  start_setup agreement en_US.UTF-8 "Intro Pages - Velmora" || return
  next; next
  tree=$(drive tree "$W")
  check_text "$tree" labIAgreeMsg "Click Next > to accept the agreement."
  check_soon "Next is enabled without radio buttons" 1 frame_state "$W" btnNext enabled
  check "no radio buttons" test -z "$(visible_line "$tree" radYes)"
  screenshot intro_agreement_en
  back; back
  drive select "$W" page/comboLang 1 >/dev/null; sleep 0.5
  next; next
  tree=$(drive tree "$W")
  check_text "$tree" labIAgreeMsg "Klicken Sie auf Weiter >, um den Vertrag anzunehmen."
  next; back
  tree=$(drive tree "$W")
  check "reached by Back, the text still names the button" \
    same_text "$(text_of "$tree" labIAgreeMsg)" "Klicken Sie auf Weiter >, um den Vertrag anzunehmen."
  screenshot intro_agreement_de
  drive click "$W" btnCancel >/dev/null
  drive msgbox --timeout 10000 "&Yes" >/dev/null
  wait_program "$pid" 30
}

pack_project main ""
for run in switch english russian agreement; do
  if [ $# -gt 0 ] && ! printf '%s\n' "$@" | grep -qx "$run"; then continue; fi
  "run_$run"
done

[ $failures -eq 0 ] || { echo "intro_pages_test: $failures check(s) failed" >&2; exit 1; }
echo "intro_pages_test: all checks passed"
