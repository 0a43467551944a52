#!/usr/bin/env bash
# End to end: installs through the real wizard that do not simply succeed.
# Packs tests/e2e/wizard_recovery_project (location, installing and finish
# pages; files, a shared file, a file that stays, a sub-folder, a menu and
# a desktop link, a registry value, the uninstaller) into the runtime, runs
# it under Wine and drives it from outside with velmora-drive.exe, one row
# of the table below per scenario: the folder typed on the location page,
# the language, what is in the folder before, what happens on the
# installing page, the exit code, and what the folder holds afterwards;
# whether the installation is in place (installed-programs entry, links,
# registry value, record) follows from the exit code. After each row that
# installed, the installation is removed through its record
# (velmora-harness uninstall), which must leave only the file that stays
# and the user's own file. A row with a failed check leaves
# build/screenshots/wizard_recovery_ROW_failed.png; the dialogs it drives
# are photographed too. Exits non-zero when any check failed.
set -uo pipefail
source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/ui_common.sh"
require_files wizard_recovery_test "$pack" "$runtime" "$drive" "$harness"
keep_prefix_awake

# row | language | folder | before the run | on the installing page | exit code | the folder afterwards
#   before:  nothing; installed (a first run through the wizard, then the
#            user edits the file that stays); own-file (the user's mine.txt);
#            file-as-docs (a file of the user named like the sub-folder)
#   run:     finish; reinstall (earlier installation removed through the
#            product's questions); cancel (Cancel confirmed during the
#            copy); error (the error page)
#   afterwards: the folder's files and folders, relative, sorted
installed_files="app.txt big.bin docs docs/manual.txt keep.txt shared.dll unins.exe unins.exe.dat"
scenarios="
fresh    | en | Fresh   | nothing      | finish    | 0 | $installed_files
again    | en | Again   | installed    | reinstall | 0 | $installed_files
cancel   | en | Cancel  | own-file     | cancel    | 2 | mine.txt
blocked  | de | Blocked | file-as-docs | error     | 1 | docs
"

work="$windows/e2e-wizard-recovery"
rm -rf "$work"; mkdir -p "$work"
prefix="$top/build/wine/prefix"
drive_c="$prefix/drive_c"
"$wine" --prepare

# Everything the rows install lives under one folder of drive C; the
# links, the entry and the registry value carry the names below.
root_win='C:\Velmora Recovery'
root="$drive_c/Velmora Recovery"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
entry="$uninstall_key\\[Velmora]VelmoraRecoveryE2E"
value_key='HKCU\Software\VelmoraRecoveryE2E'
menu_base=("$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
           "$drive_c/users/${USER:-root}/AppData/Roaming/Microsoft/Windows/Start Menu/Programs")
menus=("${menu_base[0]}/Velmora Recovery" "${menu_base[1]}/Velmora Recovery")
menu_win='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Velmora Recovery\'  # all users
desktop_links() { find "$drive_c/users" -maxdepth 3 -name 'Velmora Recovery.lnk' 2>/dev/null; }

clean_prefix() {
  rm -rf "$root" "${menus[@]}"
  desktop_links | while IFS= read -r link; do rm -f "$link"; done
  "$wine" reg delete "$entry" /f "$setup_view" >/dev/null 2>&1 || true
  "$wine" reg delete "$value_key" /f >/dev/null 2>&1 || true
}
clean_prefix

# make_setup NAME BIGBYTES: the project with a big.bin of BIGBYTES random
# bytes, packed as NAME-setup.exe.
make_setup() {
  local dir="$work/$1-project"
  cp -r "$top/tests/e2e/wizard_recovery_project" "$dir"
  head -c "$2" /dev/urandom > "$dir/files/big.bin"
  printf 'MZ stand-in for the project uninstaller\r\n' > "$dir/unins.exe"
  pack_or_stop wizard_recovery_test "$dir" "$work/$1-setup.exe" "$work/$1-pack.log"
}
make_setup small 300000
# Large enough that a Cancel lands while it is being copied.
make_setup large 150000000

# quoted TEXT: TEXT as the driver prints it in a line ("...", with \\ \r \n).
quoted() {
  local t=${1//\\/\\\\}
  t=${t//$'\r'/\\r}; t=${t//$'\n'/\\n}; t=${t//\"/\\\"}
  printf '"%s"' "$t"
}

# start_setup NAME LANG TAG: starts a copy of NAME-setup.exe (so each run
# has its own log, $run_log) in the language's locale; the process id goes
# into $pid, the wizard's selector into $W.
start_setup() {
  local copy="$work/run-$3.exe" locale=en_US.UTF-8 title="Recovery Test - Velmora"
  [ "$2" = de ] && { locale=de_DE.UTF-8; title="Wiederherstellungstest - Velmora"; }
  cp "$work/$1-setup.exe" "$copy"
  run_log="$copy.log"
  W="title=$title"
  { LANG=$locale LC_ALL=$locale start_program pid "$copy"; } 2>/dev/null
}

# to_installing FOLDER_WIN: types the folder on the location page and goes on.
to_installing() {
  drive wait-control "$W" textLocation --timeout 60000 >/dev/null ||
    { check "the location page appears" false; return 1; }
  drive type "$W" textLocation "$1" >/dev/null
  check_soon "the folder is typed" "$1" drive text "$W" textLocation
  drive click "$W" btnNext >/dev/null
}

# error_page_says TEXT: the error page's text (after its blank first line) is TEXT.
error_page_says() { same_text "$(drive text "$W" labBack2 | sed '/./,$!d')" "$1"; }

# finish_wizard: the finish page comes and Finish ends the wizard.
finish_wizard() {
  local finish='&Finish'
  [[ $W == *Wiederherstellungstest* ]] && finish='&Fertigstellen'
  check "the finish page follows" drive wait-control "$W" btnNext --text "$finish" --timeout 120000
  drive click "$W" btnNext >/dev/null
}

# ended_with CODE: the wizard's window goes and the process exits with CODE.
ended_with() {
  check "the wizard's window goes" drive wait "$W" --gone --timeout 30000
  wait_program "$pid" 60
  check "exit code $1" same_text "$?" "$1"
}

# The dialogs of the engines' questions: the toolkit's window whose title is
# the question caption; RemoveDlg hides button 5. message_of prints labMsg.
question='title=Recovery Question'
message_of() { drive text "$question" labMsg; }
# dialog_about FILE_WIN: until the question's message names FILE_WIN.
dialog_about() {
  local i
  for i in $(seq 120); do
    [[ $(message_of 2>/dev/null) == *"$1"* ]] && return 0
    sleep 0.25
  done
  echo "       last message: $(message_of 2>/dev/null)" >&2
  return 1
}
# button_texts: the captions of buttons 1 to 6 of the question, "|" between,
# a hidden one as "-".
button_texts() {
  local tree line out="" b
  tree=$(drive tree "$question") || return 1
  for b in 1 2 3 4 5 6; do
    line=$(tree_line "$tree" "$b")
    if grep -q 'visible=0' <<< "$line"; then out+="-|"; else out+="$(sed -n 's/.* text="\([^"]*\)".*/\1/p' <<< "$line")|"; fi
  done
  printf '%s' "${out%|}"
}

# The earlier installation: the question, then the shared file's question
# (kept), the question about the file that stays (kept, with the user's
# edit) and about the kept shared file (replaced).
answer_reinstall() {  # answer_reinstall FOLDER_WIN
  local reply
  reply=$(drive msgbox --title "Recovery Question" --timeout 60000 OK)
  check "the earlier installation is offered for removal" same_text "$reply" \
    "title=$(quoted "Recovery Question") text=$(quoted "Velmora Recovery is already installed in this folder. Remove the earlier installation first?"$'\r\n\r\n'"${1}unins.exe.dat")"
  check "the shared file's question appears" dialog_about "${1}shared.dll"
  check "... asking to remove it" same_text "$(message_of)" \
    "This shared file may be used by other programs. Remove it?"$'\n\n'"${1}shared.dll"
  check "... with its buttons" same_text "$(button_texts)" "&Remove|Remove &all|&Skip|Skip a&ll|-|&Cancel"
  screenshot wizard_recovery_again_remove
  drive click "$question" 3 >/dev/null
  check "the question about the file that stays appears" dialog_about "${1}keep.txt"
  check "... asking to replace it" same_text "$(message_of)" \
    "The file already exists. Replace it?"$'\n\n'"${1}keep.txt"
  check "... with its buttons" same_text "$(button_texts)" \
    "&Replace|Replace &all|&Skip|Skip a&ll|Replace &older|&Cancel"
  screenshot wizard_recovery_again_overwrite
  drive click "$question" 3 >/dev/null
  check "the question about the kept shared file appears" dialog_about "${1}shared.dll"
  check "... asking to replace it" same_text "$(message_of | head -1)" "The file already exists. Replace it?"
  drive click "$question" 1 >/dev/null
}

# Cancel once the large file is being copied; the question answered Yes.
cancel_copy() {  # cancel_copy FOLDER
  local i
  for i in $(seq 1200); do [ -f "$1/big.bin.~partial" ] && break; sleep 0.05; done
  check "the large file is being copied" test -f "$1/big.bin.~partial"
  drive click "$W" btnCancel >/dev/null
  check "Cancel asks first" same_text "$(drive msgbox --timeout 30000 '&Yes' | sed 's/.* text=//')" \
    "$(quoted "Stop installing Velmora Recovery?")"
  check "the error page follows" drive wait-control "$W" labBack2 --timeout 120000
  check "... with the cancelled text" soon_true error_page_says \
    'The installation was cancelled. Setup removed the files and folders it had created.'
  screenshot wizard_recovery_cancel_error_page
  check "the large file's partial copy is gone" test ! -e "$1/big.bin.~partial"
  drive click "$W" btnCancel >/dev/null
}

# The error page of a failed run: its text names the folder that could not
# be made; the log says what the system said.
error_page() {  # error_page FOLDER_WIN
  check "the error page follows" drive wait-control "$W" labBack2 --timeout 120000
  check "... naming the folder that cannot be made" soon_true error_page_says \
    "Der Ordner kann nicht angelegt werden:"$'\n\n'"${1}docs\\"
  screenshot wizard_recovery_blocked_error_page
  drive click "$W" btnCancel >/dev/null
}

listing() { (cd "$1" 2>/dev/null && find . -mindepth 1 | sed 's|^\./||' | sort | tr '\n' ' ' | sed 's/ $//'); }
# Both print nothing when reg itself fails, so that an absence is seen, not assumed.
entries() {
  local keys
  keys=$(wine_text reg query "$uninstall_key" "$setup_view") || return 1
  grep -c 'VelmoraRecoveryE2E' <<< "$keys"
}
registry_value() {  # the value Color, or "none" when its key is gone
  local keys
  keys=$(wine_text reg query 'HKCU\Software') || return 1
  if grep -q 'VelmoraRecoveryE2E$' <<< "$keys"; then
    wine_text reg query "$value_key" /v Color | sed -n 's/^ *Color *REG_SZ *//p'
  else
    echo none
  fi
}
menu_links() { ls "${menus[@]}" 2>/dev/null | grep -c '\.lnk$'; }

# check_installed FOLDER_WIN SHARED_OVER: one set of everything, and the
# record's lines (SHARED_OVER: the shared file was there before).
check_installed() {
  check "one installed-programs entry" same_text "$(entries)" 1
  check "... named as the project says" grep -q 'Velmora Recovery 1.0' <<< "$(wine_text reg query "$entry" /v DisplayName "$setup_view")"
  check "the menu link and the uninstall link" same_text "$(menu_links)" 2
  check "one desktop link" same_text "$(desktop_links | wc -l)" 1
  check "the registry value" same_text "$(registry_value)" blue
  wine_text "$harness" read-record "${1}unins.exe.dat" > "$work/record.txt"
  check_record_lines "$work/record.txt" "Log.AppDir=$1
Log.AppName=Velmora Recovery
Log.File.Count=4
Log.Dir.Count=3
Log.Short.Count=3
Log.Reg.Count=1
Log.File0=${1}app.txt
Log.File1=${1}shared.dll
Log.FileOver1=$2
Log.FileUnins1=2
Log.File2=${1}big.bin
Log.File3=${1}docs\\manual.txt
Log.Dir0=$menu_win
Log.Dir1=${1}docs\\
Log.Short0=${menu_win}Velmora Recovery.lnk
Log.Short2=${menu_win}Uninstall Velmora Recovery.lnk
Log.RegRoot0=1
Log.RegDir0=Software\\VelmoraRecoveryE2E
Log.Reg0=Color
Log.UninsKey=[Velmora]VelmoraRecoveryE2E
Log.UninsData=${1}unins.exe.dat"
  check "the record leaves out the file that stays" bash -c '! grep -q keep.txt "$0"' "$work/record.txt"
}

# check_nothing_installed: no entry, link, registry value or menu folder.
check_nothing_installed() {
  check "no installed-programs entry" same_text "$(entries)" 0
  check "no menu folder" test ! -e "${menus[0]}" -a ! -e "${menus[1]}"
  check "no desktop link" same_text "$(desktop_links | wc -l)" 0
  check "no registry value, nor its key" same_text "$(registry_value)" none
}

# uninstall_through_record FOLDER FOLDER_WIN: the user adds a file of his
# own; the removal through the record (the shared file removed) leaves it
# and the file that stays, nothing else.
uninstall_through_record() {
  printf 'mine\r\n' > "$1/docs/mine.txt"
  printf 'shared=remove\n' > "$work/answers.txt"
  wine_text "$harness" uninstall "$2" --answers "$(wine_text winepath -w "$work/answers.txt")" \
    > "$work/uninstall-$row.txt"
  check "uninstall through the record: exit status 0" same_text "$?" 0
  check "... leaves the file that stays and the user's own file" same_text "$(listing "$1")" \
    "docs docs/mine.txt keep.txt"
  check_nothing_installed
}

# run_row: one row of the table.
run_row() {
  local folder="$root/$dir" folder_win="$root_win\\$dir\\" setup=small shared_over=0
  echo "$row: $before, $run ($lang) [$(date +%T)]"
  shot_on_failure "wizard_recovery_$row"
  mkdir -p "$folder"
  case $before in
    installed)
      start_setup small "$lang" "$row-first"
      to_installing "$folder_win" && finish_wizard
      ended_with 0
      printf 'edited by the user\r\n' > "$folder/keep.txt"
      shared_over=1 ;;
    own-file) printf 'mine\r\n' > "$folder/mine.txt" ;;
    file-as-docs) printf 'not a folder\r\n' > "$folder/docs" ;;
  esac
  [ "$run" = cancel ] && setup=large
  start_setup "$setup" "$lang" "$row"
  if to_installing "$folder_win"; then
    case $run in
      finish) finish_wizard ;;
      reinstall) answer_reinstall "$folder_win"; finish_wizard ;;
      cancel) cancel_copy "$folder" ;;
      error) error_page "$folder_win" ;;
    esac
  fi
  ended_with "$code"
  check "the folder holds: $after" same_text "$(listing "$folder")" "$after"
  if [ "$code" = 0 ]; then
    check_installed "$folder_win" "$shared_over"
    check "the project's files" cmp -s "$folder/big.bin" "$work/$setup-project/files/big.bin"
    if [ "$before" = installed ]; then
      check "the user's edit of the file that stays is kept" grep -q 'edited by the user' "$folder/keep.txt"
      check "the earlier installation was removed first" \
        grep -qF "Remove, File:${folder_win}app.txt" <<< "$(log_text "$run_log")"
    fi
    uninstall_through_record "$folder" "$folder_win"
  else
    check_nothing_installed
  fi
  case $run in
    cancel) check "the user's file is untouched" same_text "$(tr -d '\r' < "$folder/mine.txt")" mine ;;
    error)
      check "the user's file is untouched" same_text "$(tr -d '\r' < "$folder/docs")" 'not a folder'
      check "the log names the folder and the system's reason" \
        grep -qE "^OS error: .+ \(error [0-9]+\): .*Blocked.docs" <<< "$(log_text "$run_log")" ;;
  esac
  shot_on_failure
}

# The table on descriptor 3: the Wine programs of a row read standard input.
while IFS='|' read -r -u 3 row lang dir before run code after; do
  row=$(xargs <<< "$row")
  [ -n "$row" ] || continue
  lang=$(xargs <<< "$lang"); dir=$(xargs <<< "$dir"); before=$(xargs <<< "$before")
  run=$(xargs <<< "$run"); code=$(xargs <<< "$code"); after=$(xargs <<< "$after")
  run_row
done 3<<< "$scenarios"

clean_prefix
[ $failures -eq 0 ] || { echo "wizard_recovery_test: $failures check(s) failed" >&2; exit 1; }
echo "wizard_recovery_test: all checks passed"
