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
"$wine" cmd /c exit 0 >/dev/null 2>&1  # makes sure the prefix exists
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

log_text() { iconv -f UTF-16LE -t UTF-8 "$1" 2>/dev/null | tr -d '\r'; }

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
