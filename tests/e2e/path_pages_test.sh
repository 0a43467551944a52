#!/usr/bin/env bash
# End to end: the location, start-menu folder and confirmation pages under
# Wine, driven from outside. Packs tests/e2e/path_pages_project (those three
# pages, then a plain page) and, in English: the proposed folder and the
# space line; rejected folders show their message and stay; the folder
# browser cancelled keeps the typed folder; a typed "D:/Apps/Tool" and a
# typed start-menu folder with a sub-folder appear in the confirmation
# text, which lists exactly the choices; the folder list follows the
# all-users answer; Back keeps what was typed; the "no folder" check box;
# the last question on Next; exit code 0 after the last page. In German:
# the pages' texts and the summary's captions. Without the all-users
# question: start-up's answer (all users) stands. Screenshots of the three
# pages in both languages go to build/screenshots.
# Exits non-zero when any check failed.
set -uo pipefail
source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/ui_common.sh"
require_files path_pages_test "$pack" "$runtime" "$drive"
keep_prefix_awake

work="$windows/e2e-path-pages"
rm -rf "$work"; mkdir -p "$work"
setup="$work/path-pages-setup.exe"
pack_or_stop path_pages_test "$top/tests/e2e/path_pages_project" "$setup" "$work/pack.log"

# A folder in each program menu tells which one the list was filled from.
drive_c="$top/build/wine/prefix/drive_c"
common_menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
user_menu=$(find "$drive_c/users" -type d -path '*/Start Menu/Programs' 2>/dev/null | head -1)
mkdir -p "$common_menu/Common Vendor"
[ -n "$user_menu" ] && mkdir -p "$user_menu/My Vendor"
check "the user's program menu exists in the prefix" test -n "$user_menu"

shown() {  # shown CONTROL: the control (so its page) is visible
  soon_true state_has "$1" 'visible=1'
}
state_has() {  # state_has CONTROL FIELD=VALUE: the control's state shows it now
  grep -q "$2" <<< "$(drive state "$W" "$1")"
}
hidden() { state_has "$1" 'visible=0'; }  # hidden CONTROL
# The checks of a state wait for it: a window answers a click a moment later
# on a loaded machine.
enabled() { soon_true state_has "$1" "enabled=$2"; }  # enabled CONTROL 0|1
checked() { soon_true state_has "$1" "checked=$2"; }  # checked CONTROL 0|1
# on_page CONTROL: waits until the page holding CONTROL is shown.
on_page() { drive wait-control "$W" "$1" --timeout 10000 >/dev/null; }
text_of() { drive text "$W" "$1"; }
rect_of() {  # rect_of CONTROL: "x,y,w,h" in the window's client area
  sed -n "s/.* rect=\([^ ]*\).*/\1/p" <<< "$(grep -m1 "name=\"$1\" " <<< "$(drive tree "$W")")"
}
# check_browse_fits WIDTH_TEST: the browse button's width passes the test
# ("-eq 80", "-gt 80") and the text box ends where the button begins.
check_browse_fits() {
  local bx bw tx tw
  IFS=, read -r bx _ bw _ <<< "$(rect_of selLocation)"
  IFS=, read -r tx _ tw _ <<< "$(rect_of textLocation)"
  check "the browse button's width: $1" test "${bw:-0}" $1
  check "the folder box ends where the browse button begins" test $((tx + tw)) -eq "${bx:-0}"
}
next() { drive click "$W" btnNext >/dev/null; }
back() { drive click "$W" btnBack >/dev/null; }

# answer_box TEXT BUTTON: a message box showing TEXT appears and is
# answered with BUTTON.
answer_box() {
  local seen
  seen=$(drive msgbox --timeout 10000 "$2")
  check "a message box says '$1'" grep -qF -- "$1" <<< "$seen"
}

# rejected TEXTBOX TYPED MESSAGE: typing TYPED and pressing Next shows
# MESSAGE, and the page stays with the typed text.
rejected() {
  drive type "$W" "$1" "$2" >/dev/null
  next
  answer_box "$3" OK
  sleep 0.3
  check "'$2' keeps the page" shown "$1"
  check_soon "'$2' stays typed" "$2" text_of "$1"
}

# The summary the confirmation page shows (carriage returns removed by the
# driver's output).
summary() {  # summary LOCATION MENU_LINE
  printf '%s\n' "Destination location:" "    $1" "" \
    "Selected components:" "    Core files" "" \
    "Start Menu folder:" "$2" "" \
    "Additional tasks:" ""
}

# ---- English ---------------------------------------------------------------
echo "english"
W="title=Path Pages - Velmora"
{ LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 start_program pid "$setup"; } 2>/dev/null
if ! drive wait "$W" --timeout 60000 >/dev/null; then
  check "the setup window appears" false
  kill "$pid" 2>/dev/null; exit 1
fi
on_page textLocation
sleep 0.5
check_soon "the proposal is the program folder with the application suffix" 'C:\Program Files (x86)\Path Tool 2.0\' text_of textLocation
space=$(text_of labSpace)
check "the space line names the required 5 MB" grep -q '^Space required: 5.000 MB$' <<< "$space"
check "the space line names the free space" grep -Eq '^Space available: [0-9]+\.[0-9]{3} (KB|MB|GB)$' <<< "$space"
check "the all-users question is shown, 'Only me' preselected" \
  bash -c 'grep -q "visible=1" <<< "$0" && grep -q "checked=1" <<< "$1"' \
  "$(drive state "$W" radYes)" "$(drive state "$W" radNo)"
check_browse_fits "-eq 80"
IFS=, read -r _ _ yes_width _ <<< "$(rect_of radYes)"
IFS=, read -r _ _ no_width _ <<< "$(rect_of radNo)"
check "a long all-users caption widens its radio button" test "${yes_width:-0}" -gt 100
check "a short caption keeps the radio button's width" test "${no_width:-0}" -eq 100
screenshot path_location_en

rejected textLocation "   " "Please enter a destination folder."
rejected textLocation 'C:\a<b' 'A folder name cannot contain'
rejected textLocation '\\server\share' 'Please enter a full path with a drive letter'
rejected textLocation 'C:' 'Please enter a full path with a drive letter'
rejected textLocation 'C:\a:b' 'Please enter a full path with a drive letter'

# The folder browser starts in the typed folder; OK writes it back with
# the application suffix, Cancel leaves the typed folder alone.
drive type "$W" textLocation 'C:\windows' >/dev/null
drive click "$W" selLocation >/dev/null
browser=$(drive msgbox --timeout 15000 OK)
check "Browse opens the folder browser" grep -q 'select folder:' <<< "$browser"
sleep 0.3
check_soon "the browser starts in the typed folder and writes it back" 'C:\windows\Path Tool 2.0\' text_of textLocation
drive type "$W" textLocation 'D:/Apps/Tool' >/dev/null
drive click "$W" selLocation >/dev/null
drive msgbox --timeout 15000 Cancel >/dev/null
sleep 0.3
check_soon "a cancelled browser keeps the typed folder" 'D:/Apps/Tool' text_of textLocation

# Current user only: the list shows the user's program menu.
drive click "$W" radNo >/dev/null
next
on_page textMenu
check_soon "the start-menu proposal is the configured folder" "Path Tool" text_of textMenu
check "the list holds the user's program-menu folders" drive select "$W" lstMenu "text=My Vendor"
check_soon "picking a list folder puts it in front of the name" 'My Vendor\Path Tool' text_of textMenu
check "the list lacks the all-users folders" \
  bash -c '! "$0" "$@" >/dev/null 2>&1' "$wine" "$drive" select "$W" lstMenu "text=Common Vendor"
screenshot path_menu_en

# All users: back, switch, forward again refills the list.
back
on_page textLocation
check_soon "Back keeps the typed folder" 'D:/Apps/Tool' text_of textLocation
drive click "$W" radYes >/dev/null
next
on_page textMenu
check_soon "the name typed before going back is kept" 'My Vendor\Path Tool' text_of textMenu
check "the list now holds the all-users folders" drive select "$W" lstMenu "text=Common Vendor"
check "the list lacks the user's folders" \
  bash -c '! "$0" "$@" >/dev/null 2>&1' "$wine" "$drive" select "$W" lstMenu "text=My Vendor"

rejected textMenu '..\Startup' 'This folder name cannot be used.'
rejected textMenu 'C:\Tool' 'This folder name cannot be used.'
rejected textMenu 'a|b' 'This folder name cannot be used.'
rejected textMenu "  " 'Please enter a folder name.'

drive type "$W" textMenu 'Vendor\App' >/dev/null
next
on_page textConfirm
check_soon "the summary lists the typed folder and the start-menu folder with its sub-folder" \
  "$(summary 'D:\Apps\Tool\' '    Vendor\App')" text_of textConfirm
screenshot path_confirm_en

# The last question: No stays, and Back keeps both typed texts.
next
answer_box "Install Path Tool now?" "&No"
sleep 0.3
check "No keeps the confirmation page" shown textConfirm
back
on_page textMenu
check_soon "Back keeps the typed start-menu folder" 'Vendor\App' text_of textMenu

# "No folder": the name and the list are disabled and the summary says so.
drive click "$W" chkSkip >/dev/null
sleep 0.3
check "the check box disables the name" enabled textMenu 0
check "the check box disables the list" enabled lstMenu 0
next
on_page textConfirm
check_soon "a skipped start-menu folder reads 'Skip.'" \
  "$(summary 'D:\Apps\Tool\' '    Skip.')" text_of textConfirm
back
on_page textMenu
drive click "$W" chkSkip >/dev/null
sleep 0.3
check "clearing the check box enables the name again" enabled textMenu 1
next
on_page textConfirm
check_soon "the summary follows the cleared check box" \
  "$(summary 'D:\Apps\Tool\' '    Vendor\App')" text_of textConfirm

next
answer_box "Install Path Tool now?" "&Yes"
sleep 0.5
check "Yes moves on" soon_true hidden textConfirm
next
check "Next on the last page ends the wizard" drive wait "$W" --gone --timeout 10000
wait_program "$pid" 30
check "the setup exited with 0" test $? -eq 0

# ---- German ----------------------------------------------------------------
echo "german"
W="title=Pfadseiten - Velmora"
{ LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 start_program pid "$setup"; } 2>/dev/null
if ! drive wait "$W" --timeout 60000 >/dev/null; then
  check "the German setup window appears" false
  kill "$pid" 2>/dev/null; exit 1
fi
on_page textLocation
sleep 0.5
check_soon "the German proposal carries the German application name" 'C:\Program Files (x86)\Pfadwerkzeug 2.0\' text_of textLocation
check "the German space line" grep -q '^Benötigt: 5.000 MB$' <<< "$(text_of labSpace)"
check_soon "the German browse button" "&Durchsuchen..." text_of selLocation
check_browse_fits "-gt 80"
screenshot path_location_de
rejected textLocation 'C:\a?b' 'Ein Ordnername darf'
drive type "$W" textLocation 'E:\Werkzeug' >/dev/null
next
on_page textMenu
check_soon "the German start-menu proposal" "Pfadwerkzeug" text_of textMenu
screenshot path_menu_de
next
on_page textConfirm
check "the German summary" same_text "$(text_of textConfirm)" "$(printf '%s\n' \
  "Zielordner:" '    E:\Werkzeug\' "" "Ausgewählte Komponenten:" "    Kerndateien" "" \
  "Startmenü-Ordner:" "    Pfadwerkzeug" "" "Zusätzliche Aufgaben:" "")"
screenshot path_confirm_de
drive click "$W" btnCancel >/dev/null
drive msgbox --timeout 10000 id=6 >/dev/null  # Yes
check "Cancel ends the German setup" drive wait "$W" --gone --timeout 10000
wait_program "$pid" 30

# ---- no all-users question -------------------------------------------------
# A location page that does not ask keeps start-up's answer (all users), so
# the start-menu list shows the all-users program menu.
echo "not asked"
quiet="$work/quiet-project"
cp -r "$top/tests/e2e/path_pages_project" "$quiet"
sed -i 's/^p1.Flags=.*/p1.Flags=256/; s/^FTitle=Path Pages$/FTitle=Quiet Path Pages/' "$quiet/pjcfg.ini"
pack_or_stop path_pages_test "$quiet" "$work/quiet-setup.exe" "$work/quiet-pack.log"
W="title=Quiet Path Pages - Velmora"
{ LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 start_program pid "$work/quiet-setup.exe"; } 2>/dev/null
if drive wait "$W" --timeout 60000 >/dev/null; then
  on_page textLocation
  check "the all-users question is hidden" hidden radYes
  check "the space line is hidden" hidden labSpace
  next
  on_page textMenu
  check "unasked, the list holds the all-users folders" drive select "$W" lstMenu "text=Common Vendor"
  drive click "$W" btnCancel >/dev/null
  drive msgbox --timeout 10000 "&Yes" >/dev/null
  check "Cancel ends the setup" drive wait "$W" --gone --timeout 10000
  wait_program "$pid" 30
else
  check "the setup without the question appears" false
  kill "$pid" 2>/dev/null
fi

# The prefix is shared with the other scripts: leave its program menus as found.
rm -rf "$common_menu/Common Vendor"
[ -n "$user_menu" ] && rm -rf "$user_menu/My Vendor"

[ $failures -eq 0 ] || { echo "path_pages_test: $failures check(s) failed" >&2; exit 1; }
echo "path_pages_test: all checks passed"
