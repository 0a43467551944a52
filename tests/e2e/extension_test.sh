#!/usr/bin/env bash
# End to end: a project's extension library in the packed setup under Wine.
# Packs tests/e2e/extension_project with the test library
# (tests/extension_library) as user.dll, drives the wizard through its three
# pages with the window driver and reads what the library logged: event 1
# for every page made, 2 and 3 with the page shown by Next and Back, 4 and 5
# on leaving, 50 with the clicked declared button, 99 last; the page the
# library refuses to leave stays shown; its click relabels btnNext; the
# callback's language text (both key forms), the 2,000-unit value cut to
# 1,023 units, the payload file's size. Then three libraries the setup
# cannot use (no entry point, not a library, zero bytes): the setup runs
# without them and its log says why. After every run no "~T_" file or
# folder is left in the temporary folder. Exits non-zero when a check failed.
set -uo pipefail
source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/ui_common.sh"
library="$windows/tests/extension_library/velmora-test-extension.dll"
noentry="$windows/tests/extension_library/velmora-test-extension-noentry.dll"
require_files extension_test "$pack" "$runtime" "$drive" "$library" "$noentry"
keep_prefix_awake

work="$windows/e2e-extension"
rm -rf "$work"; mkdir -p "$work"
W=class=ccForm

# The prefix's temporary folder (from the "<TempDir>:" line of a setup log)
# as a Linux path.
temp_folder() {
  local dir
  dir=$(log_text "$1" | sed -n 's/^<TempDir>:C:\\//p')
  echo "$WINEPREFIX_DIR/drive_c/${dir//\\//}"
}
WINEPREFIX_DIR="$top/build/wine/prefix"
leftovers() { find "$1" -maxdepth 1 -name '~T_*' 2>/dev/null | wc -l; }

# make_project NAME USER_DLL: the project with USER_DLL (a path, or "" for
# a zero-byte file) and the keys the library reads.
make_project() {
  local dir="$work/$1-project"
  cp -r "$top/tests/e2e/extension_project" "$dir"
  if [ -n "$2" ]; then cp "$2" "$dir/user.dll"; else : > "$dir/user.dll"; fi
  local long
  long="$(printf 'c%.0s' $(seq 1999))Z"
  # Wine reads a Linux path on its Z: drive, forward slashes and all.
  sed -i "/^\[Ext\]\$/a LogFile=Z:$work/$1-ext.log\nLong=$long" "$dir/pjcfg.ini"
  echo "$dir"
}

# start_setup NAME USER_DLL: packs and starts the setup; its pid in $pid.
start_setup() {
  local project
  project=$(make_project "$1" "$2")
  setup="$work/$1-setup.exe"
  pack_or_stop extension_test "$project" "$setup" "$work/$1-pack.log"
  LANG=en_US.UTF-8 start_program pid "$setup"
  drive wait "$W" --timeout 60000 >/dev/null
}

title_is() { drive wait "title=$1 - Velmora" --timeout 5000 >/dev/null; }
next_text_is() { drive wait-control "$W" btnNext --text "$1" --timeout 5000 >/dev/null; }

echo "a library that sees the whole run"
start_setup run "$library" || { check "the wizard window appears" false; exit 1; }
check "the first page is shown" title_is "Extension Welcome"
drive click "$W" btnNext >/dev/null
check "Next shows the second page" title_is "Extension Info"
sleep 1
drive click "$W" btnNext >/dev/null
sleep 2
check "the library's refusal keeps the second page" title_is "Extension Info"
drive click "$W" btnExt >/dev/null
check "the declared button's click relabels btnNext" next_text_is "&Onward"
screenshot extension_run
drive click "$W" btnNext >/dev/null
check "Next now shows the third page" title_is "Extension Licence"
drive click "$W" btnBack >/dev/null
check "Back shows the second page" title_is "Extension Info"
drive click "$W" btnNext >/dev/null
check "Next shows the third page again" title_is "Extension Licence"
drive click "$W" btnNext >/dev/null
check "Next on the last page ends the setup" drive wait "$W" --gone --timeout 10000
wait_program "$pid" 30
check "the setup exited with 0" test $? -eq 0

ext=$(tr -d '\r' < "$work/run-ext.log" 2>/dev/null)
calls=$(grep '^call ' <<< "$ext" | sed 's/ handles=.*//')
# Every page is made once (event 1), in any order, before the end.
for page in 101 102 103; do
  check "event 1 for page $page once" test "$(grep -c "^call page=$page event=1\$" <<< "$calls")" -eq 1
done
moves=$(grep -v 'event=1$' <<< "$calls" | sed 's/^call //' | paste -sd' ')
check "events 2 to 5, 50 and 99 in the order of the run" same_text "$moves" \
  "page=101 event=2 page=101 event=4 page=102 event=2 page=102 event=4 page=102 event=50 page=102 event=4 page=103 event=2 page=103 event=5 page=102 event=3 page=102 event=4 page=103 event=2 page=103 event=4 page=-1 event=99"
check "the end comes last" same_text "$(tail -1 <<< "$ext")" "end"
check "the refusal was the library's" grep -qx 'refuse page=102' <<< "$ext"
click=$(grep '^call page=102 event=50 ' <<< "$ext")
check "event 50 carries the clicked control's handle" grep -q ' control=[1-9a-f][0-9a-f]*$' <<< "$click"
check "the window handles are all there while a page is shown" grep -q ' handles=1111111111 ' <<< "$click"
check "the language text comes in both key forms" grep -qx 'lang full=0:Hello from the project relative=0:Hello from the project' <<< "$ext"
check "the long value comes back cut with its full length" grep -qx 'long result=0 length=2001 units=1023' <<< "$ext"
check "the payload file's size, the same bytes twice" grep -qx 'file result=0 size=16 same=1' <<< "$ext"
check "a control nobody has gives a zero handle" grep -qx 'miss result=0 control=0' <<< "$ext"
check "relabelling succeeded" grep -qx 'rename find=0 set=0' <<< "$ext"
setup_log=$(log_text "$work/run-setup.exe.log")
check "the setup log names the loaded library" grep -q '^Extension:loaded ' <<< "$setup_log"
check "the setup log records the missing control" grep -qx 'Extension:no control is named noSuchControl' <<< "$setup_log"
temp=$(temp_folder "$work/run-setup.exe.log")
check "the temporary folder is known ($temp)" test -d "$temp"
check "no ~T_ file or folder is left" test "$(leftovers "$temp")" -eq 0

# name | library | what the setup log says
broken=(
  "noentry|$noentry|Extension:user.dll has no entry point CallDllEnter; the setup runs without it"
  "notalibrary|$top/tests/e2e/extension_project/pjcfg.ini|Extension:cannot load "
  "empty||Extension:user.dll is empty; the setup runs without it"
)
for row in "${broken[@]}"; do
  IFS='|' read -r name dll says <<< "$row"
  echo "a library the setup cannot use: $name"
  start_setup "$name" "$dll" || { check "the wizard window appears" false; continue; }
  check "the first page is shown" title_is "Extension Welcome"
  drive click "$W" btnNext >/dev/null
  check "Next is not refused" title_is "Extension Info"
  drive click "$W" btnNext >/dev/null
  check "nor on the second page" title_is "Extension Licence"
  drive click "$W" btnNext >/dev/null
  check "the setup ends" drive wait "$W" --gone --timeout 10000
  wait_program "$pid" 30
  check "the setup exited with 0" test $? -eq 0
  check "the library wrote nothing" test ! -e "$work/$name-ext.log"
  check "the setup log says why" grep -qF "$says" <<< "$(log_text "$work/$name-setup.exe.log")"
  check "no ~T_ file or folder is left" test "$(leftovers "$(temp_folder "$work/$name-setup.exe.log")")" -eq 0
done

[ $failures -eq 0 ] || { echo "extension_test: $failures check(s) failed" >&2; exit 1; }
