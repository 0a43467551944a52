#!/usr/bin/env bash
# End to end: the setup type page, the components page and the tasks pages
# under Wine, driven from outside with velmora-drive on the packed
# tests/e2e/choice_pages_project (the test service as svc.exe). Each run
# makes its choices through the pages and leaves the wizard after the last
# of them; the pages write what they stored to the setup log, and the
# script installs those results with velmora-harness (as install_test.sh
# does) and checks from Linux what the install made of them:
# - "minimal": Minimal (type 0) installs only Minimal's files; the desktop
#   link, the first extension and the service, unchecked, are not made
#   (lnkinfo, wine reg query, wine sc query);
# - "custom": Custom (type 5) shows the components; the locked component
#   cannot be cleared; Extras unchecked installs none of its files; the
#   checks survive Back and Next; switching the type in the combo box
#   applies each type's defaults; the size shown is the size stored and the
#   bytes installed; the shortcuts, associations and service are made;
# - "nocombo": the components page without its combo box still stores the
#   type and the checks; with nothing checked it keeps the page;
# - "german": the same pages in German and the three single-section tasks
#   pages, each storing its own choices.
# Screenshots of every page go to build/screenshots (choice_*). Exits
# non-zero when any check failed.
# Usage: choice_pages_test.sh [RUN...]   (default: every run)
set -uo pipefail
source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/ui_common.sh"
service_exe="$windows/tests/test_service/velmora-test-service.exe"
require_files choice_pages_test "$pack" "$runtime" "$drive" "$harness" "$service_exe"
keep_prefix_awake

work="$windows/e2e-choice-pages"
rm -rf "$work"; mkdir -p "$work"

prefix="$top/build/wine/prefix"
c_drive="$prefix/drive_c"
app_win='C:\Program Files\Velmora Choice\'
app="$c_drive/Program Files/Velmora Choice"
menu="$c_drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Velmora Choice"
menu_link="$menu/Velmora Viewer.lnk"
desk_link="$c_drive/users/Public/Desktop/Velmora Viewer.lnk"
service=VelmoraChoiceSvc

clean_up() {
  "$wine" sc delete "$service" >/dev/null 2>&1 || true
  for ext in .vcnote .vcmemo; do
    local progid
    progid=$(wine_text reg query "HKCR\\$ext" /ve "$setup_view" | sed -n 's/^ *(Default) \+REG_SZ *\(.*\)$/\1/p' | sed 's/ *$//')
    [ -n "$progid" ] && "$wine" reg delete "HKCR\\$progid" /f "$setup_view" >/dev/null 2>&1
    "$wine" reg delete "HKCR\\$ext" /f "$setup_view" >/dev/null 2>&1 || true
  done
  rm -rf "$app" "$menu" "$desk_link"
}
"$wine" --prepare
clean_up
trap 'clean_up; kill $prefix_keeper 2>/dev/null' EXIT

# make_project NAME SED-EXPRESSIONS...: the project with the edits applied.
make_project() {
  local dir="$work/$1-project"; shift
  cp -r "$top/tests/e2e/choice_pages_project" "$dir"
  cp "$service_exe" "$dir/files/svc.exe"
  local expr
  for expr in "$@"; do sed -i "$expr" "$dir/pjcfg.ini"; done
  echo "$dir"
}

state_of() {  # state_of W CONTROL KEY
  field_of "$(drive state "$1" "$2" | tr '\n' ' ')" "$3"
}
selection_of() {  # selection_of W CONTROL: 'POSITION:"TEXT"' of a combo box
  drive state "$1" "$2" | grep -o 'sel=[0-9-]*:"[^"]*"' | sed 's/^sel=//'
}
# tree_states W: "name:state,..." of the components tree.
tree_states() {
  drive tree-items "$1" treeComp | sed -n 's/.*text="\([^"]*\)".*state=\([0-9]\).*/\1:\2/p' | paste -sd, -
}
# results SETUP: the choices the pages logged, the last value of each key.
results() {
  log_text "$1.log" | grep -E '^Ret\.[A-Za-z.]+[0-9_.]*=' | awk -F= '{v[$1]=$0; if (!($1 in o)) {o[$1]=n++; k[n-1]=$1}} END {for (i=0;i<n;i++) print v[k[i]]}'
}
result_of() { results "$1" | sed -n "s/^$2=//p"; }

# start_setup NAME LOCALE SETUP TITLE: starts the setup, waits for its window.
start_setup() {
  { LANG=$2 LC_ALL=$2 start_program pid "$3"; } 2>/dev/null
  W="title=$4"
  drive wait "$W" --timeout 60000 >/dev/null || { check "the window '$4' appears" false; kill "$pid"; return 1; }
}
next_page() {  # next_page CONTROL: Next, then waits for CONTROL of the next page
  drive click "$W" btnNext >/dev/null
  drive wait-control "$W" "$1" --timeout 10000 >/dev/null
}
finish_setup() {  # Next on the last page ends the wizard with exit code 0
  drive click "$W" btnNext >/dev/null
  check "Next on the last page ends the wizard" drive wait "$W" --gone --timeout 10000
  wait_program "$pid" 30
  check "the setup exited with 0" test $? -eq 0
}
install_results() {  # install_results SETUP LOG: installs what the pages chose
  local args=()
  mapfile -t args < <(results "$1")
  "$wine" "$harness" install "$1" "Ret.Location.Path=$app_win" "${args[@]}" >"$2" 2>&1
  check "the install with the pages' results succeeded" test $? -eq 0
}
installed_files() { (cd "$app" 2>/dev/null && find . -type f | sort | tr '\n' ' '); }
has_hkcr() { "$wine" reg query "HKCR\\$1" "$setup_view" >/dev/null 2>&1; }
has_service() { "$wine" sc query "$service" >/dev/null 2>&1; }

run_minimal() {
  local setup="$work/minimal-setup.exe"
  pack_or_stop choice_pages_test "$(make_project minimal)" "$setup" "$work/minimal-pack.log"
  start_setup minimal en_US.UTF-8 "$setup" "Choice pages - Velmora" || return
  drive wait-control "$W" radCont0 --text Minimal --timeout 10000 >/dev/null
  check "types 0, 2 and 5 offered, 1 hidden" same_text \
    "$(for t in 0 1 2 3 4 5; do state_of "$W" radCont$t visible; done | tr -d '\n')" "101001"
  check "type texts by number" same_text \
    "$(drive text "$W" radCont2)|$(drive text "$W" radCont5)|$(drive text "$W" labCont5)" \
    "Full|Custom|You choose the components on the next page."
  screenshot choice_type_en
  drive click "$W" radCont0 >/dev/null
  next_page chkShort0_1  # Minimal does not show the components page
  check "the tasks page shows the entry's captions" same_text \
    "$(drive text "$W" labShortcut)|$(drive text "$W" labAssoc)|$(drive text "$W" labService)" \
    "Velmora Viewer gets shortcuts in:|Velmora Viewer opens the file types:|The service VelmoraChoiceSvc is created:"
  check "box texts" same_text "$(drive text "$W" chkShort0_0)|$(drive text "$W" chkShort0_1)|$(drive text "$W" chkShort1)" \
    "Program menu|Desktop|Velmora choice test service"
  screenshot choice_tasks_en
  drive click "$W" chkShort0_1 >/dev/null   # no desktop link
  drive click "$W" chkShortcut >/dev/null   # the first extension, .vcnote
  drive click "$W" chkShort1 >/dev/null     # no service
  check "cleared boxes show unchecked" same_text \
    "$(state_of "$W" chkShort0_1 checked)$(state_of "$W" chkShortcut checked)$(state_of "$W" chkShort1 checked)" "000"
  finish_setup
  check "the type page stored type number 0" same_text "$(result_of "$setup" 'Ret\.Content\.Index')" "0"
  check "the tasks page stored the cleared boxes" same_text \
    "$(result_of "$setup" 'Ret\.Shortcut\.chkShort0_0')$(result_of "$setup" 'Ret\.Shortcut\.chkShort0_1')$(result_of "$setup" 'Ret\.Shortcut\.chkExt0\.0')$(result_of "$setup" 'Ret\.Shortcut\.chkExt0\.1')$(result_of "$setup" 'Ret\.Shortcut\.chkService1')" \
    "10010"
  clean_up
  install_results "$setup" "$work/minimal-install.log"
  check "Minimal installs only Minimal's files" same_text "$(installed_files)" "./core.txt ./svc.exe ./viewer.exe "
  check "the program-menu link is made" bash -c "lnkinfo '$menu_link' | grep -qiF 'Velmora Choice\\viewer.exe'"
  check "no desktop link" test ! -e "$desk_link"
  check "no HKCR entry for the cleared .vcnote" fails has_hkcr .vcnote
  check "HKCR entry for the checked .vcmemo" has_hkcr .vcmemo
  check "no service created (wine sc query)" fails has_service
}

run_custom() {
  local setup="$work/custom-setup.exe"
  pack_or_stop choice_pages_test "$(make_project custom)" "$setup" "$work/custom-pack.log"
  start_setup custom en_US.UTF-8 "$setup" "Choice pages - Velmora" || return
  drive wait-control "$W" radCont5 --timeout 10000 >/dev/null
  drive click "$W" radCont5 >/dev/null
  next_page treeComp
  check "the combo box shows Custom (third offered)" same_text "$(selection_of "$W" comboComp)" '2:"Custom"'
  check "Custom's defaults: Extras partly, Samples not" same_text "$(tree_states "$W")" \
    "Program:2,Manual:2,Extras:3,Samples:1"
  check "the locked component cannot be cleared" fails drive tree-check "$W" treeComp Program off
  check "Extras cleared, Samples with it" drive tree-check "$W" treeComp Extras off
  check "the tree after the clicks" same_text "$(tree_states "$W")" "Program:2,Manual:2,Extras:1,Samples:1"
  check_soon "the component clicked is described" "Extra files and the samples." drive text "$W" labDesc
  screenshot choice_components_en
  drive click "$W" btnBack >/dev/null
  drive wait-control "$W" radCont5 --timeout 10000 >/dev/null
  check "Back shows Custom still chosen" same_text "$(state_of "$W" radCont5 checked)" "1"
  next_page treeComp
  check "the user's checks survive Back and Next" same_text "$(tree_states "$W")" \
    "Program:2,Manual:2,Extras:1,Samples:1"
  drive select "$W" comboComp text=Full >/dev/null
  check "Full in the combo box checks everything" same_text "$(tree_states "$W")" \
    "Program:2,Manual:2,Extras:2,Samples:2"
  drive select "$W" comboComp text=Minimal >/dev/null
  check "Minimal in the combo box: only the program" same_text "$(tree_states "$W")" \
    "Program:2,Manual:1,Extras:1,Samples:1"
  drive select "$W" comboComp text=Custom >/dev/null
  drive tree-check "$W" treeComp Extras off >/dev/null
  local shown
  shown=$(drive text "$W" labSpace)
  next_page chkShort0_0
  finish_setup
  local required
  required=$(result_of "$setup" 'Ret\.Location\.Required')
  check "the size shown is the size stored" same_text "$shown" \
    "$(awk -v b="$required" 'BEGIN {printf "%.3f KB", b / 1024}')"
  check "the components page stored type number 5" same_text "$(result_of "$setup" 'Ret\.Content\.Index')" "5"
  check "Extras and Samples not chosen" same_text \
    "$(result_of "$setup" 'Ret\.Customize\.Checked1')$(result_of "$setup" 'Ret\.Customize\.Checked6')$(result_of "$setup" 'Ret\.Customize\.Checked10')$(result_of "$setup" 'Ret\.Customize\.Checked14')" \
    "1100"
  clean_up
  install_results "$setup" "$work/custom-install.log"
  check "no file of the cleared Extras" same_text "$(installed_files)" \
    "./core.txt ./docs/manual.txt ./svc.exe ./viewer.exe "
  check "the size stored is the bytes installed" same_text \
    "$(cd "$app" && cat core.txt docs/manual.txt svc.exe viewer.exe | wc -c)" "$required"
  check "the desktop link is made" bash -c "lnkinfo '$desk_link' | grep -qiF 'Velmora Choice\\viewer.exe'"
  check "HKCR entry for .vcnote" has_hkcr .vcnote
  check "HKCR entry for .vcmemo" has_hkcr .vcmemo
  check "the service is created (wine sc query)" has_service
}

# The components page without its combo box (no flag 0x100000) and with
# nothing locked: leaving still stores the type and the checks, and a tree
# with nothing checked keeps the page with a message.
run_nocombo() {
  local setup="$work/nocombo-setup.exe"
  pack_or_stop choice_pages_test "$(make_project nocombo 's/^p2\.Flags=1048832$/p2.Flags=256/' \
    's/^1\.Item=0;\\t2;\\t536870912;/1.Item=0;\\t2;\\t0;/')" "$setup" "$work/nocombo-pack.log"
  start_setup nocombo en_US.UTF-8 "$setup" "Choice pages - Velmora" || return
  drive wait-control "$W" radCont5 --timeout 10000 >/dev/null
  drive click "$W" radCont5 >/dev/null
  next_page treeComp
  check "no combo box without flag 0x100000" same_text "$(state_of "$W" comboComp visible)" "0"
  check "the hidden combo box still holds the type" same_text "$(selection_of "$W" comboComp)" '2:"Custom"'
  for item in Program Manual Extras; do drive tree-check "$W" treeComp "$item" off >/dev/null; done
  check "nothing checked" same_text "$(tree_states "$W")" "Program:1,Manual:1,Extras:1,Samples:1"
  screenshot choice_components_nocombo_en
  drive click "$W" btnNext >/dev/null
  check "Next with nothing checked asks for a component" \
    grep -q 'text="Choose at least one component."' <<< "$(drive msgbox --timeout 10000 OK)"
  check "and keeps the page" drive wait-control "$W" treeComp --timeout 5000
  drive tree-check "$W" treeComp Program on >/dev/null
  drive tree-check "$W" treeComp Extras/Samples on >/dev/null
  next_page chkShort0_0
  finish_setup
  check "the type stored without the combo box shown" same_text "$(result_of "$setup" 'Ret\.Content\.Index')" "5"
  check "the checks stored without the combo box shown" same_text \
    "$(result_of "$setup" 'Ret\.Customize\.Checked1')$(result_of "$setup" 'Ret\.Customize\.Checked6')$(result_of "$setup" 'Ret\.Customize\.Checked10')$(result_of "$setup" 'Ret\.Customize\.Checked14')" \
    "1011"
}

run_german() {
  local setup="$work/german-setup.exe"
  # The tasks split over the three single-section pages.
  pack_or_stop choice_pages_test "$(make_project german 's/^p3\.Id=110$/p3.Id=123/' \
    's/^Page2\.IdDiff=3$/Page2.IdDiff=3\nPage3.IdDiff=4\nPage4.IdDiff=5/')" "$setup" "$work/german-pack.log"
  start_setup german de_DE.UTF-8 "$setup" "Auswahlseiten - Velmora" || return
  drive wait-control "$W" radCont2 --text "Vollständig" --timeout 10000 >/dev/null
  check "German type texts" same_text "$(drive text "$W" radCont2)|$(drive text "$W" labCont0)" "Vollständig|Nur das Programm."
  screenshot choice_type_de
  drive click "$W" radCont5 >/dev/null
  next_page treeComp
  check "German combo box and group texts" same_text \
    "$(selection_of "$W" comboComp)|$(drive text "$W" grpDesc)|$(drive text "$W" grpSpace)" \
    '2:"Benutzerdefiniert"|Beschreibung|Benötigter Speicherplatz'
  check "German component names" same_text "$(tree_states "$W")" "Programm:2,Handbuch:2,Extras:3,Beispiele:1"
  check_soon "the first component's description" "Das Programm selbst; wird immer installiert." \
    drive text "$W" labDesc
  screenshot choice_components_de
  next_page chkShort0_0
  check "the shortcuts page shows shortcuts alone" same_text \
    "$(drive text "$W" labShortcut)|$(drive text "$W" chkShort0_0)" \
    "Velmora Betrachter erhält Verknüpfungen in:|Programmmenü"
  # (the associations page exists already, hidden: its box is not shown)
  check "no association box shown on the shortcuts page" same_text "$(state_of "$W" chkShortcut visible)" "0"
  screenshot choice_shortcuts_de
  next_page chkShortcut
  check "the associations page" same_text "$(drive text "$W" labAssoc)|$(drive text "$W" chkShortcut)" \
    "Velmora Betrachter öffnet die Dateitypen:|.vcnote"
  drive click "$W" chkShortcut >/dev/null
  screenshot choice_associations_de
  next_page chkShort1
  check "the services page" same_text "$(drive text "$W" labService)|$(drive text "$W" chkShort1)" \
    "Der Dienst VelmoraChoiceSvc wird eingerichtet:|Velmora Auswahl-Testdienst"
  screenshot choice_services_de
  finish_setup
  check "each single-section page stored its own boxes" same_text \
    "$(result_of "$setup" 'Ret\.Shortcut\.chkShort0_1')$(result_of "$setup" 'Ret\.Shortcut\.chkExt0\.0')$(result_of "$setup" 'Ret\.Shortcut\.chkExt0\.1')$(result_of "$setup" 'Ret\.Shortcut\.chkService1')" \
    "1011"
}

for run in minimal custom nocombo german; do
  if [ $# -gt 0 ] && ! printf '%s\n' "$@" | grep -qx "$run"; then continue; fi
  echo "$run"
  "run_$run"
done

[ $failures -eq 0 ] || { echo "choice_pages_test: $failures check(s) failed" >&2; exit 1; }
echo "choice_pages_test: all checks passed"
