#!/usr/bin/env bash
# End to end: the installing and finish pages of the wizard under Wine,
# driven from outside. Packs tests/e2e/install_pages_project (an information
# page, the installing page, the finish page) and runs it:
#   first install  - progress reaches 100, the detail box holds exactly the
#                    status lines of the setup log, the program run before
#                    the finish page is waited for while the window stays
#                    responsive, files and record are in place, Finish runs
#                    the script, the launch and the readme; exit code 0;
#   re-install     - the earlier installation is removed first: the shared
#                    file's question (RemoveDlg, "Skip"), then the question
#                    about a file that is there (OverwriteDlg, "Skip all"
#                    keeps it); exit code 0;
#   again          - Escape in the shared file's question ends with the
#                    remove-file error on the error page; exit code 1;
#   German         - the same dialogs and both pages in German;
#   cancel         - Cancel confirmed during a large copy: the error page
#                    shows the cancelled text, nothing the run created is
#                    left; exit code 2.
# Screenshots of both pages and both dialogs go to build/screenshots.
# Exits non-zero when any check failed.
set -uo pipefail
source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/ui_common.sh"
require_files install_pages_test "$pack" "$runtime" "$drive" "$harness"
keep_prefix_awake

work="$windows/e2e-install-pages"
rm -rf "$work"; mkdir -p "$work"
prefix="$top/build/wine/prefix"
drive_c="$prefix/drive_c"
"$wine" --prepare
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\[Velmora]VelmoraPagesE2E'

# make_setup NAME BIGBYTES [SED...]: the project with a big.bin of BIGBYTES
# random bytes, edited by the sed expressions, packed as NAME-setup.exe.
make_setup() {
  local name=$1 bytes=$2 dir="$work/$1-project" expr; shift 2
  cp -r "$top/tests/e2e/install_pages_project" "$dir"
  head -c "$bytes" /dev/urandom > "$dir/files/big.bin"
  printf 'MZ stand-in for the project uninstaller\r\n' > "$dir/unins.exe"
  for expr in "$@"; do sed -i "$expr" "$dir/pjcfg.ini"; done
  pack_or_stop install_pages_test "$dir" "$work/$name-setup.exe" "$work/$name-pack.log"
}

# app_dir SUBFOLDER: the Linux path of the application folder (the 32-bit
# program-files folder of whichever flavour runs).
app_dir() {
  if [ -d "$drive_c/Program Files (x86)" ]; then echo "$drive_c/Program Files (x86)/$1"; else echo "$drive_c/Program Files/$1"; fi
}
app=$(app_dir "Velmora Pages")
cancel_app=$(app_dir "Velmora Pages Cancel")
menus=("$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs" "$drive_c/users/${USER:-root}/AppData/Roaming/Microsoft/Windows/Start Menu/Programs")
rm -rf "$app" "$cancel_app"
for m in "${menus[@]}"; do rm -rf "$m/Velmora Pages" "$m/Velmora Pages Cancel"; done
"$wine" reg delete "$entry" /f "$setup_view" >/dev/null 2>&1 || true


# run_setup VAR NAME LOCALE: starts NAME-setup.exe (a copy per run, so each
# run has its own log) in LOCALE; the window selector goes into W.
run_setup() {
  local var=$1 name=$2 locale=$3 copy="$work/run-$2-$4.exe"
  cp "$work/$name-setup.exe" "$copy"
  run_log="$copy.log"
  { LANG=$locale LC_ALL=$locale start_program "$var" "$copy"; } 2>/dev/null
}

# wait_window TITLE: true when the wizard window appears.
wait_window() { drive wait "title=$1" --timeout 60000 >/dev/null; }

# next_to_installing W: Next on the information page.
next_to_installing() { drive click "$1" btnNext >/dev/null; }

# the dialog of the engines' questions: a window of the toolkit's class
# whose title is the question caption.
dialog_window() { drive wait-control "title=$1" "$2" --timeout 30000 >/dev/null; }

# check_detail_matches_log DETAIL LOG: the detail box's lines are the log's
# status lines, in order: every one of them is a log line, none is missed.
check_detail_matches_log() {
  python3 - "$1" "$2" <<'PY'
import re, sys
detail = [l for l in open(sys.argv[1], encoding='utf-8').read().split('\n') if l != '']
log = open(sys.argv[2], encoding='utf-8').read().split('\n')
status = re.compile(r'^( *Group:| *[A-Z]:\\|Create folder:|create uninstall link\.)')
expected = [l for l in log if status.match(l)]
if detail != expected:
    print('       detail:', detail[:6], '...', len(detail), file=sys.stderr)
    print('       log:   ', expected[:6], '...', len(expected), file=sys.stderr)
    sys.exit(1)
PY
}

app_win() { local p=${1#$drive_c/}; printf 'C:\\%s' "${p//\//\\}"; }

echo "first install"
make_setup main 300000
run_setup pid main en_US.UTF-8 1
W="title=Pages Test - Velmora"
if ! wait_window "Pages Test - Velmora"; then check "the setup window appears" false; exit 1; fi
check "the information page shows its text" grep -q 'Click Next' <<< "$(drive text "$W" labInfo)"
next_to_installing "$W"
# The program run before the finish page takes a few seconds: the page
# stays, and the window answers meanwhile.
check "the details button is offered" drive wait-control "$W" btnDetail --timeout 30000
for i in $(seq 300); do [ -f "$app/started.txt" ] && break; sleep 0.1; done
check "the program before the finish page started" test -f "$app/started.txt"
drive click "$W" btnDetail >/dev/null
check "the detail box is shown" drive wait-control "$W" textDetail --timeout 10000
check "... while that program still runs (the window answers)" test ! -f "$app/launchfile.txt"
check "progress reached 100" grep -q 'pos=100' <<< "$(drive progress "$W" progBar)"
screenshot install_pages_installing_en
drive text "$W" textDetail > "$work/detail1.txt"
check "the finish page follows" drive wait-control "$W" chkLaunch --timeout 30000
check "the program before the finish page ran" test -f "$app/launchfile.txt"
screenshot install_pages_finish_en
log_text "$run_log" > "$work/log1.txt"
check "the detail box holds the log's status lines" check_detail_matches_log "$work/detail1.txt" "$work/log1.txt"
drive click "$W" btnNext >/dev/null
check "Finish ends the wizard" drive wait "$W" --gone --timeout 30000
wait_program "$pid" 60
check "exit code 0" test $? -eq 0
sleep 3  # the launch and the readme scripts run on their own
check "the script ran with the folder filled in" grep -qxF "C $(app_win "$app")\\" <<< "$(tr -d '\r' < "$app/script.txt" 2>/dev/null)"
check "the script file is gone" test ! -e "$app/~~unins.bat"
check "the program was started" test -f "$app/launched.txt"
check "the readme was opened" test -f "$app/readme.txt"
for f in app.txt keep.txt shared.dll big.bin docs/manual.txt unins.exe unins.exe.dat; do
  check "$f installed" test -f "$app/$f"
done
check "big.bin has the project's bytes" cmp -s "$app/big.bin" "$work/main-project/files/big.bin"
"$wine" "$harness" read-record "$(app_win "$app")\\unins.exe.dat" 2>&1 | tr -d '\r' > "$work/record1.txt"
check "the record lists the shared file as shared" grep -q 'shared.dll' "$work/record1.txt"
check "the record leaves out the file that stays" bash -c '! grep -q keep.txt "$0"' "$work/record1.txt"

# answer_earlier TITLE: the question whether to remove the earlier
# installation appears and is answered OK.
answer_earlier() {
  check "the earlier installation is offered for removal" \
    grep -q 'unins.exe.dat' <<< "$(drive msgbox --title "$1" --timeout 30000 OK)"
}
# wait_text W CONTROL TEXT SECONDS: until a line of the control's text is TEXT.
wait_text() {
  local i
  for i in $(seq "$4"); do
    grep -qxF -- "$3" <<< "$(drive text "$1" "$2" 2>/dev/null)" && return 0
    sleep 1
  done
  echo "       last seen: $(drive text "$1" "$2" 2>/dev/null)" >&2
  return 1
}
# the dialogs' windows: the question caption; RemoveDlg has no button "5".
dialog_tree() { drive tree "title=$1"; }
control_line() { grep -m1 "name=\"$2\" " <<< "$1"; }

long_folder='Reference material kept for the long path test of the overwrite question/A chapter folder whose name is rather long as well'
reset_markers() { rm -f "$app/started.txt" "$app/launchfile.txt" "$app/launched.txt" "$app/readme.txt" "$app/script.txt"; }

button_left() { sed -n 's/.* rect=\(-*[0-9]*\),.*/\1/p' <<< "$(control_line "$1" "$2")"; }
button_right() {
  sed -n 's/.* rect=\(-*[0-9]*\),[0-9]*,\([0-9]*\),.*/\1 \2/p' <<< "$(control_line "$1" "$2")" | awk '{print $1 + $2}'
}
# buttons_in_a_row TREE NAME...: each button ends before the next begins,
# the first starts inside the window and the last ends inside it.
buttons_in_a_row() {
  local tree=$1 width previous=0 name; shift
  width=$(sed -n 's/.* client=\([0-9]*\)x.*/\1/p' <<< "$(head -1 <<< "$tree")")
  for name in "$@"; do
    [ "$(button_left "$tree" "$name")" -ge "$previous" ] || { echo "       button $name overlaps" >&2; return 1; }
    previous=$(button_right "$tree" "$name")
  done
  [ "$previous" -le "$width" ] || { echo "       the row ends at $previous of $width" >&2; return 1; }
}

# shared_question TITLE SHOT REMOVE_TEXT [exact]: RemoveDlg is up with its
# texts and layout (with "exact", the places the labels fit into unchanged);
# a screenshot is taken.
shared_question() {
  check "the shared-file question appears" drive wait-control "title=$1" 6 --timeout 60000
  local tree
  tree=$(dialog_tree "$1")
  check "its window is named OverwriteDlg" grep -q 'OverwriteDlg' <<< "$(head -1 <<< "$tree")"
  check "its first button reads $3" grep -q "text=\"$3\"" <<< "$(control_line "$tree" 1)"
  check "the overwrite-older button is hidden" grep -q 'visible=0' <<< "$(control_line "$tree" 5)"
  if [ "${4:-}" = exact ]; then
    check "the remove button starts at 50, cancel ends at 505" \
      same_text "$(button_left "$tree" 1),$(button_right "$tree" 6)" "50,505"
  fi
  check "the buttons neither overlap nor leave the window" buttons_in_a_row "$tree" 1 2 3 4 6
  check "the message names the shared file" grep -q 'shared.dll' <<< "$(control_line "$tree" labMsg)"
  screenshot "$2"
}

# overwrite_question TITLE SHOT [grows]: OverwriteDlg is up about keep.txt
# (with "grows", the skip-all button widened for its label).
overwrite_question() {
  check "the overwrite question appears" drive wait-control "title=$1" 5 --timeout 60000
  local tree
  tree=$(dialog_tree "$1")
  check "its message names the file that is there" grep -q 'keep.txt' <<< "$(control_line "$tree" labMsg)"
  check "all six buttons are shown" test "$(grep -c 'class="Button".*visible=1' <<< "$tree")" -eq 6
  check "the buttons neither overlap nor leave the window" buttons_in_a_row "$tree" 1 2 3 4 5 6
  [ -n "${3:-}" ] && check "the long label's button grew" test "$(( $(button_right "$tree" 4) - $(button_left "$tree" 4) ))" -gt 85
  screenshot "$2"
}

# long_path_question TITLE SHOT: OverwriteDlg is up about the file with the
# long path, which its label shows broken into lines at its separators, the
# file name whole at the end.
long_name='the notes of a user with a long file name.txt'
long_path_question() {
  local message i
  for i in $(seq 30); do
    message=$(drive text "title=$1" labMsg 2>/dev/null)
    grep -qF "$long_name" <<< "$message" && break
    sleep 1
  done
  check "the question about the long path appears" grep -qF "$long_name" <<< "$message"
  check "the path is broken into lines, the file name whole at the end" \
    test "$(wc -l <<< "$message")" -ge 4 -a "${message%"$long_name"}" != "$message"
  screenshot "$2"
}

# finish_run W PID CODE [close]: the finish page comes, Finish (or the
# close box: closing the finish page finishes) ends the wizard with CODE.
finish_run() {
  check "the finish page follows" drive wait-control "$1" chkLaunch --timeout 60000
  if [ "${4:-}" = close ]; then drive close "$1" >/dev/null; else drive click "$1" btnNext >/dev/null; fi
  check "the wizard ends" drive wait "$1" --gone --timeout 30000
  wait_program "$2" 60
  check "exit code $3" test $? -eq "$3"
}

echo "re-install over the first: the shared file skipped, the file that is there kept"
printf 'edited by the user\r\n' > "$app/keep.txt"
printf 'edited by the user\r\n' > "$app/$long_folder/$long_name"
reset_markers
run_setup pid main en_US.UTF-8 2
wait_window "Pages Test - Velmora" || { check "the setup window appears" false; exit 1; }
next_to_installing "$W"
answer_earlier "Pages Question"
shared_question "Pages Question" install_pages_remove_en "&Remove" exact
drive click "title=Pages Question" 3 >/dev/null
overwrite_question "Pages Question" install_pages_overwrite_en
drive click "title=Pages Question" 3 >/dev/null
long_path_question "Pages Question" install_pages_overwrite_long_en
drive click "title=Pages Question" 4 >/dev/null
finish_run "$W" "$pid" 0
check "skip kept the user's file" grep -q 'edited by the user' "$app/keep.txt"
check "skip all kept the other" grep -q 'edited by the user' "$app/$long_folder/$long_name"
check "the earlier installation was removed first" \
  grep -qF "Remove, File:$(app_win "$app")\\app.txt" <<< "$(log_text "$run_log")"
check "the application is in place again" cmp -s "$app/app.txt" "$work/main-project/files/app.txt"

echo "again: Escape in the shared file's question"
run_setup pid main en_US.UTF-8 3
wait_window "Pages Test - Velmora" || { check "the setup window appears" false; exit 1; }
next_to_installing "$W"
answer_earlier "Pages Question"
check "the shared-file question appears" drive wait-control "title=Pages Question" 6 --timeout 60000
drive key "title=Pages Question" escape >/dev/null
check "the error page shows the remove-file error" wait_text "$W" labBack2 'Setup cannot remove the file:' 30
check "... naming the shared file" grep -qxF "$(app_win "$app")\\shared.dll" <<< "$(drive text "$W" labBack2)"
screenshot install_pages_remove_error_en
drive click "$W" btnCancel >/dev/null
check "the error page closes without a question" drive wait "$W" --gone --timeout 30000
wait_program "$pid" 60
check "exit code 1 (the installation failed)" test $? -eq 1

echo "German: both dialogs and both pages"
reset_markers
run_setup pid main de_DE.UTF-8 4
W="title=Seitentest - Velmora"
wait_window "Seitentest - Velmora" || { check "the German setup window appears" false; exit 1; }
next_to_installing "$W"
answer_earlier "Seitentest Frage"
shared_question "Seitentest Frage" install_pages_remove_de "&Entfernen"
drive click "title=Seitentest Frage" 3 >/dev/null
overwrite_question "Seitentest Frage" install_pages_overwrite_de grows
drive click "title=Seitentest Frage" 3 >/dev/null
long_path_question "Seitentest Frage" install_pages_overwrite_long_de
drive click "title=Seitentest Frage" 4 >/dev/null
for i in $(seq 300); do [ -f "$app/started.txt" ] && break; sleep 0.1; done
drive click "$W" btnDetail >/dev/null
drive wait-control "$W" textDetail --timeout 10000 >/dev/null
screenshot install_pages_installing_de
check "the German finish page follows" drive wait-control "$W" chkLaunch --text "Velmora Pages &starten" --timeout 60000
screenshot install_pages_finish_de
finish_run "$W" "$pid" 0 close
sleep 3
check "closing the finish page started the program too" test -f "$app/launched.txt"

echo "cancel during a large copy"
make_setup cancel 200000000 's/^Comp.editAppDir=.*/Comp.editAppDir=Velmora Pages Cancel/' \
  's/^Short.PrgMenu=.*/Short.PrgMenu=Velmora Pages Cancel/' 's/^u.UninsKey=.*/u.UninsKey=VelmoraPagesCancelE2E/'
snapshot() { find "$drive_c/Program Files"* "${menus[@]}" 2>/dev/null | sort; }
before=$(snapshot)
run_setup pid cancel en_US.UTF-8 5
W="title=Pages Test - Velmora"
wait_window "Pages Test - Velmora" || { check "the setup window appears" false; exit 1; }
next_to_installing "$W"
for i in $(seq 600); do [ -f "$cancel_app/big.bin.~partial" ] && break; sleep 0.1; done
check "the large file is being copied" test -f "$cancel_app/big.bin.~partial"
drive click "$W" btnCancel >/dev/null
check "Cancel asks first" grep -q 'Stop installing' <<< "$(drive msgbox --timeout 30000 '&Yes')"
check "the error page shows the cancelled text" \
  wait_text "$W" labBack2 'The installation was cancelled. Setup removed the files and folders it had created.' 120
screenshot install_pages_canceled_en
check "nothing the cancelled run created is left" same_text "$(snapshot)" "$before"
drive click "$W" btnCancel >/dev/null
check "the error page closes" drive wait "$W" --gone --timeout 30000
wait_program "$pid" 60
check "exit code 2 (cancelled)" test $? -eq 2

[ $failures -eq 0 ] || { echo "install_pages_test: $failures check(s) failed" >&2; exit 1; }
echo "install_pages_test: all checks passed"
