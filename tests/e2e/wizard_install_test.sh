#!/usr/bin/env bash
# End to end through the real wizard: packs the demo project (examples/demo,
# staged with its generated skin, the test service and a stand-in
# uninstaller) into the runtime, runs it under Wine and drives it from
# outside with velmora-drive through a table of scenarios. Each row makes
# its choices on the pages (language, setup type, components, a typed
# destination and start-menu folder, tasks), installs on the installing
# page, ends on the finish page, and is checked from Linux in the prefix
# and with tools we did not write (wine reg query/export, wine sc query,
# lnkinfo):
# the files, the registry values, the association, the service, the links,
# the record's keys and the exit code. A row marked for it is installed a
# second time by velmora-harness with the same choices, which must give the
# same files, registry, links and record. After every install: a file of
# the user's own is put into the application folder, the installation is
# removed through its record, nothing of it is left, the user's file is.
# Failures leave a screenshot named after the row in build/screenshots
# (wizard_install_ROW_fail.png); every row also keeps its tasks,
# confirmation, installing and finish pages there. Leaves the prefix as it
# found it. Exits non-zero when any check failed.
# Usage: wizard_install_test.sh [ROW...]   (default: every row)
set -uo pipefail
source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/ui_common.sh"
service_exe="$windows/tests/test_service/velmora-test-service.exe"
require_files wizard_install_test "$pack" "$runtime" "$drive" "$harness" "$service_exe"
# File names with umlauts need a Unix locale that can spell them.
export LC_ALL=C.UTF-8
keep_prefix_awake

# ---- the scenarios -----------------------------------------------------------
# One row per scenario, fields separated by " | ":
#  1 name
#  2 languages chosen on the welcome page, in order: "en", or "de,ru" (each
#    but the last is left again by Next and Back: a switch mid-way)
#  3 setup type (its number: 0 Full, 3 Compact, 5 Custom)
#  4 components cleared on the components page ("Group/Item,...", or -)
#  5 destination folder typed on the location page (- keeps the proposal)
#  6 start-menu folder typed (- keeps the proposal)
#  7 task boxes cleared on the tasks page (control names, or -)
#  8 files expected in the application folder (besides the record)
#  9 links expected: "menu:NAME" or "desk:NAME", each ">TARGET FILE"
# 10 association of .note: its description, or - for none
# 11 the service: its binary's folder is the application folder (yes/no)
# 12 record keys expected (KEY=VALUE,...), besides what 8-11 imply
# 13 exit code expected
# 14 velmora-harness overrides for the same choices (the harness row), or -
# "language" chooses Compact, which leaves out the sync service's program:
# its service, ticked on the tasks page, is not made (the install skips a
# service whose program it did not install).
rows=(
  "default | en | 0 | - | - | - | - \
| BrindleNotes.cfg readme.txt keymap.ini BrindleSync.exe Samples/welcome.note Samples/recipes.note Samples/Grüße.note Templates/meeting.note dict/de.dic dict/ru.dic unins.exe \
| menu:Read me.lnk>readme.txt,desk:Brindlecraft Notes readme.lnk>readme.txt,menu:Brindlecraft Notes.lnk>notepad.exe,desk:Brindlecraft Notes.lnk>notepad.exe,menu:Uninstall Brindlecraft Notes.lnk>unins.exe \
| Brindlecraft notebook | yes | Log.AppName=Brindlecraft Notes,Log.UninsKey=[Velmora]BrindlecraftNotes | 0 | -"
  "custom | en | 5 | Samples/Templates,Spelling dictionaries/Russian | C:\\Velmora Scenarios\\Custom Notes | Velmora Scenarios\\Brindle Custom | chkShort1_1,chkShortcut \
| BrindleNotes.cfg readme.txt keymap.ini BrindleSync.exe Samples/welcome.note Samples/recipes.note Samples/Grüße.note dict/de.dic unins.exe \
| menu:Read me.lnk>readme.txt,desk:Brindlecraft Notes readme.lnk>readme.txt,menu:Brindlecraft Notes.lnk>notepad.exe,menu:Uninstall Brindlecraft Notes.lnk>unins.exe \
| - | yes | Log.AppName=Brindlecraft Notes,Log.UninsKey=[Velmora]BrindlecraftNotes | 0 \
| Ret.Content.Index=5 Ret.Customize.Index=5 Ret.Customize.Checked16=0 Ret.Customize.Checked25=0 Ret.Location.Path=C:\\Velmora Scenarios\\Custom Notes\\ Ret.Menu.Path=Velmora Scenarios\\Brindle Custom Ret.Shortcut.chkShort1_1=0 Ret.Shortcut.chkExt1.0=0"
  "language | de,ru | 3 | - | - | - | - \
| BrindleNotes.cfg readme.txt keymap.ini unins.exe \
| menu:Прочтите.lnk>readme.txt,desk:Brindlecraft Notes прочтите.lnk>readme.txt,menu:Brindlecraft Notes.lnk>notepad.exe,desk:Brindlecraft Notes.lnk>notepad.exe,menu:Удалить Brindlecraft Notes.lnk>unins.exe \
| Блокнот Brindlecraft | no | Log.AppName=Brindlecraft Notes,Log.UninsKey=[Velmora]BrindlecraftNotes | 0 | -"
)

rm -f "$shots"/wizard_install_*.png  # no picture of an earlier run stays to mislead

# ---- the project and the prefix ------------------------------------------
work="$windows/e2e-wizard-install"
rm -rf "$work"; mkdir -p "$work"
project="$work/project"
cp -r "$top/examples/demo" "$project"
"$top/scripts/make_demo_skin.sh" "$project/payload/skin" >/dev/null
cp "$service_exe" "$project/app/BrindleSync.exe"
# With an uninstaller the install also writes the installed-programs entry
# and the uninstall link, whose name follows the language.
printf 'MZ stand-in for the project uninstaller\r\n' > "$project/unins.exe"
config="$project/pjcfg.ini"
setup="$work/wizard-setup.exe"
pack_or_stop wizard_install_test "$project" "$setup" "$work/pack.log"

drive_c="$top/build/wine/prefix/drive_c"
languages=(en-US de-DE ru-RU)   # the order of the welcome page's list
proposed_win='C:\Program Files (x86)\Brindlecraft\Notes\'
common_programs="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
public_desktop="$drive_c/users/Public/Desktop"
values_key='HKCU\Software\Brindlecraft\Notes'
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\[Velmora]BrindlecraftNotes'
service=BrindleSync
W="class=ccForm"

linux_path() {  # linux_path 'C:\a\b': the file in the prefix
  local p=${1#[Cc]:}
  printf '%s%s' "$drive_c" "${p//\\//}"
}
reg() { wine_text reg query "$@" "$setup_view"; }
has_key() { "$wine" reg query "$1" "$setup_view" >/dev/null 2>&1; }
quietly() { "$@" >/dev/null; }  # quietly COMMAND...: its status, not its output
# service_config: the service's entry in the registry (wine's sc has no qc).
service_config() { reg "HKLM\\System\\CurrentControlSet\\Services\\$service" | grep -E 'ImagePath|Start|DisplayName|Type'; }
has_service() { "$wine" sc query "$service" >/dev/null 2>&1; }
# default_value KEY: the key's default value, read from "reg export", whose
# file keeps every letter (reg query prints them in the console's code page).
default_value() {
  local file; file=$(mktemp -p "$work" export-XXXX.reg)
  "$wine" reg export "$1" "$("$wine" winepath -w "$file" 2>/dev/null | tr -d '\r')" /y "$setup_view" >/dev/null 2>&1
  iconv -f UTF-16LE -t UTF-8 "$file" 2>/dev/null | tr -d '\r' | sed -n 's/^@="\(.*\)"$/\1/p' | head -1
  rm -f "$file"
}
# note_progid: the program key that .note names, or nothing.
note_progid() { reg 'HKCR\.note' /ve | sed -n 's/^ *(Default) \+REG_SZ *//p' | sed 's/ *$//'; }

# What this script may leave behind is removed before and after it; the
# vendor key above the values is the prefix's own when it was there first.
"$wine" --prepare
vendor_key_was_there=0
has_key 'HKCU\Software\Brindlecraft' && vendor_key_was_there=1
clean_up() {
  "$wine" sc stop "$service" >/dev/null 2>&1; "$wine" sc delete "$service" >/dev/null 2>&1
  local progid; progid=$(note_progid)
  [ -n "$progid" ] && "$wine" reg delete "HKCR\\$progid" /f "$setup_view" >/dev/null 2>&1
  local k
  for k in 'HKCR\.note' "$values_key" "$entry"; do "$wine" reg delete "$k" /f "$setup_view" >/dev/null 2>&1; done
  [ $vendor_key_was_there = 0 ] && "$wine" reg delete 'HKCU\Software\Brindlecraft' /f "$setup_view" >/dev/null 2>&1
  rm -rf "$(linux_path "$proposed_win")" "$drive_c/Velmora Scenarios" \
    "$common_programs/Brindlecraft Notes" "$common_programs/Velmora Scenarios"
  find "$public_desktop" -maxdepth 1 -name 'Brindlecraft Notes*.lnk' -delete 2>/dev/null
  rmdir "$drive_c/Program Files (x86)/Brindlecraft" 2>/dev/null
  return 0
}
clean_up
trap 'clean_up; kill $prefix_keeper 2>/dev/null' EXIT

# ---- reading the project ---------------------------------------------------
# lang_value LANG SECTION KEY: the value of KEY in the project's [LANG.SECTION].
lang_value() {
  awk -v section="[$1.$2]" -v key="$3" '
    /^\[/ { inside = ($0 == section); next }
    inside && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }' "$config"
}
page_title() { lang_value "$1" s.p "$2.labBack1.labBTitle"; }  # page_title LANG pN

# ---- driving the wizard ------------------------------------------------------
# on_page LANG pN: waits until page N shows its title in LANG.
on_page() {
  drive wait-control "$W" labBTitle --text "$(page_title "$1" "$2")" --timeout 15000 >/dev/null
}
# expect_page LANG pN: on_page, as a check.
expect_page() { check "${3:-}the page $2 in $1 ($(page_title "$1" "$2"))" on_page "$1" "$2"; }
next() { drive click "$W" btnNext >/dev/null; }
back() { drive click "$W" btnBack >/dev/null; }
enabled() { grep -q 'enabled=1' <<< "$(drive state "$W" "$1")"; }
box_checked() { grep -q 'checked=1' <<< "$(drive state "$W" "$1")"; }
box_unchecked() { grep -q 'checked=0' <<< "$(drive state "$W" "$1")"; }
# tree_state TREE_PATH: the state image of the component (1 clear, 2 ticked, 3 part)
tree_state() {
  drive tree-items "$W" treeComp | sed -n "s/^ *text=\"${1##*/}\" state=\([0-9]\)$/\1/p" | head -1
}

# walk ROW-FIELDS...: starts the setup and makes the row's choices through
# every page; the setup's process id goes into setup_pid.
walk() {
  local name=$1 langs=$2 type=$3 cleared=$4 dest=$5 menu=$6 tasks=$7
  local lang=en-US code index item
  rm -f "$setup.log"
  start_program setup_pid "$setup"
  check "the wizard window appears" quietly drive wait "$W" --timeout 90000 || return 1
  expect_page en-US p1 "start: " || return 1
  IFS=, read -r -a codes <<< "$langs"
  for code in "${codes[@]}"; do
    for index in 0 1 2; do [ "${languages[$index]%%-*}" = "$code" ] && break; done
    if [ "$lang" != "${languages[$index]}" ]; then
      lang=${languages[$index]}
      drive select "$W" comboLang "$index" >/dev/null
      expect_page "$lang" p1 "switched: " || return 1
      check_soon "Next speaks $lang" "$(lang_value "$lang" s.c btnNext)" drive text "$W" btnNext
    fi
    if [ "$code" != "${codes[-1]}" ]; then  # mid-way: to the licence and back
      next; expect_page "$lang" p2 "mid-way: " || return 1
      screenshot "wizard_install_${name}_licence_$code"
      back; expect_page "$lang" p1 "back: " || return 1
    fi
  done
  next; expect_page "$lang" p2 || return 1
  drive click "$W" radYes >/dev/null
  check "the licence accepted enables Next" soon_true enabled btnNext
  next; expect_page "$lang" p3 || return 1
  next; expect_page "$lang" p4 || return 1
  drive click "$W" "radCont$type" >/dev/null
  check "setup type $type chosen" soon_true box_checked "radCont$type"
  next
  if [ "$type" = 5 ]; then
    expect_page "$lang" p5 || return 1
    IFS=, read -r -a items <<< "${cleared/#-/}"
    for item in "${items[@]}"; do
      check "component $item cleared" drive tree-check "$W" treeComp "$item" off
      check_soon "component $item shows clear" 1 tree_state "$item"
    done
    screenshot "wizard_install_${name}_components"
    next
  fi
  expect_page "$lang" p6 || return 1
  if [ "$dest" != - ]; then
    drive type "$W" textLocation "$dest" >/dev/null
    check_soon "the typed destination is in its box" "$dest" drive text "$W" textLocation
  fi
  next; expect_page "$lang" p7 || return 1
  if [ "$menu" != - ]; then
    drive type "$W" textMenu "$menu" >/dev/null
    check_soon "the typed start-menu folder is in its box" "$menu" drive text "$W" textMenu
  fi
  next; expect_page "$lang" p8 || return 1
  IFS=, read -r -a items <<< "${tasks/#-/}"
  for item in "${items[@]}"; do
    drive click "$W" "$item" >/dev/null
    check "task $item cleared" soon_true box_unchecked "$item"
  done
  screenshot "wizard_install_${name}_tasks"
  next; expect_page "$lang" p9 || return 1
  screenshot "wizard_install_${name}_confirmation"
  local summary; summary=$(drive text "$W" textConfirm)
  [ "$dest" != - ] && check "the confirmation names the typed folder" grep -qxF "    ${dest%\\}\\" <<< "$summary"
  [ "$menu" != - ] && check "the confirmation names the typed menu folder" grep -qxF "    $menu" <<< "$summary"
  next
  check "Install asks once more" grep -qF "$(lang_value "$lang" s.p p9.ConfirmMsg)" \
    <<< "$(drive msgbox --timeout 15000 id=6)"
  # The installing page, once the question has gone (a fast install may
  # have left it already: then there is no picture of it).
  drive wait-control "$W" labBTitle --text "$(page_title "$lang" p10)" --timeout 10000 >/dev/null &&
    screenshot "wizard_install_${name}_installing"
  check "the installing page ends on the finish page" \
    drive wait-control "$W" labBTitle --text "$(page_title "$lang" p11)" --timeout 90000 || return 1
  check "progress reached 100" grep -q 'pos=100' <<< "$(drive progress "$W" progBar)"
  screenshot "wizard_install_${name}_finish"
  # Launch and readme cleared, so that no program stays behind.
  drive click "$W" chkLaunch >/dev/null; drive click "$W" chkReadme >/dev/null
  check "launch cleared" soon_true box_unchecked chkLaunch
  check "readme cleared" soon_true box_unchecked chkReadme
  next
}

# ---- what an install made ------------------------------------------------------
record_keys() { wine_text "$harness" read-record "${1}unins.exe.dat"; }  # record_keys APP_WIN
# record_list KEYS NAME: the values of Log.NAME0, Log.NAME1..., sorted.
record_list() { sed -n "s/^Log\\.$2[0-9]\\+=//p" <<< "$1" | sort; }
link_folder() {  # link_folder menu|desk MENU: the Linux folder of such a link
  if [ "$1" = menu ]; then echo "$common_programs/$(tr '\\' / <<< "$2")"; else echo "$public_desktop"; fi
}
installed_links() {  # installed_links MENU: the links in the menu folder and on the desktop
  { find "$(link_folder menu "$1")" -maxdepth 1 -name '*.lnk' -printf 'menu:%f\n' 2>/dev/null
    find "$public_desktop" -maxdepth 1 -name 'Brindlecraft*.lnk' -printf 'desk:%f\n' 2>/dev/null; } | sort
}
link_target() { lnkinfo "$1" 2>/dev/null | sed -n 's/^\s*Local path\s*:\s*//p' | head -1; }

# snapshot APP_WIN MENU: everything the install made that the user can see,
# as text (files with their bytes' digest, record, registry, links, service).
snapshot() {
  local app; app=$(linux_path "$1")
  echo "== files"; (cd "$app" 2>/dev/null && find . -type f ! -name unins.exe.dat -print0 | sort -z | xargs -0 md5sum)
  echo "== record"; record_keys "$1" | sort
  echo "== registry"; reg "$values_key"; reg "$entry"
  echo "== association"; reg 'HKCR\.note' /s
  local progid; progid=$(note_progid); [ -n "$progid" ] && reg "HKCR\\$progid" /s
  echo "== links"
  local link
  while IFS= read -r link; do
    [ -n "$link" ] || continue
    echo "$link"
    lnkinfo "$(link_folder "${link%%:*}" "$2")/${link#*:}" 2>/dev/null |
      grep -iE '^\s*(local path|description|working directory|command line arguments|icon location|show window|hot key)' | grep -v '^lnkinfo'
  done <<< "$(installed_links "$2")"
  echo "== service"; service_config
}

# check_install ROW-FIELDS...: the install of the row is what its choices say.
check_install() {
  local name=$1 dest=$5 menu=$6 files=$8 links=$9 assoc=${10} has_service_too=${11} keys=${12}
  local app_win app keys_text f
  app_win=$(install_folder "$dest"); app=$(linux_path "$app_win")
  [ "$menu" = - ] && menu=$(lang_value "$(last_language "$2")" s.i Short.PrgMenu)
  check "the files of the chosen components, no others, where typed ($app_win)" same_text \
    "$(cd "$app" 2>/dev/null && find . -type f | sed 's|^\./||' | sort | tr '\n' ' ')" \
    "$(printf '%s\n' $files unins.exe.dat | sort | tr '\n' ' ')"
  keys_text=$(record_keys "$app_win")
  check "record: the application folder" grep -qxF "Log.AppDir=$app_win" <<< "$keys_text"
  check "record: the files" same_text "$(record_list "$keys_text" File | tr '\n' '|')" \
    "$(for f in $files; do [ "$f" != unins.exe ] && printf '%s%s\n' "$app_win" "${f//\//\\}"; done | sort | tr '\n' '|')"
  local expected_links="" link link_win
  IFS=, read -r -a link_list <<< "$links"
  for link in "${link_list[@]}"; do
    if [ "${link%%:*}" = menu ]; then link_win="C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\$menu\\"
    else link_win='C:\users\Public\Desktop\'; fi
    expected_links+="$link_win${link#*:}"$'\n'
  done
  check "record: the links" same_text "$(record_list "$keys_text" Short | tr '\n' '|')" \
    "$(sed 's/>[^>]*$//' <<< "${expected_links%$'\n'}" | sort | tr '\n' '|')"
  check "record: associations" same_text "$(record_list "$keys_text" Assoc | tr '\n' ' ')" \
    "$([ "$assoc" != - ] && echo '.note ')"
  check "record: services" same_text "$(record_list "$keys_text" Service | tr '\n' ' ')" \
    "$([ "$has_service_too" = yes ] && echo "$service ")"
  local key
  IFS=, read -r -a key_list <<< "$keys"
  for key in "${key_list[@]}"; do check "record: $key" grep -qxF "$key" <<< "$keys_text"; done
  check "the links of the chosen tasks, no others, in the typed menu folder" same_text \
    "$(installed_links "$menu" | tr '\n' '|')" \
    "$(for link in "${link_list[@]}"; do echo "${link%%>*}"; done | sort | tr '\n' '|')"
  for link in "${link_list[@]}"; do
    local file="$(link_folder "${link%%:*}" "$menu")/$(sed 's/^[a-z]*://; s/>.*//' <<< "$link")"
    check "link ${link%%>*} points at ${link##*>} (lnkinfo)" bash -c \
      'grep -qiF -- "\\$1" <<< "$0"' "$(link_target "$file")" "${link##*>}"
  done
  local values; values=$(reg "$values_key")
  check "registry: Version (wine reg query)" grep -qE '^ *Version +REG_SZ +1\.4\.2$' <<< "$values"
  check "registry: ShowWelcome" grep -qE '^ *ShowWelcome +REG_DWORD +0x1$' <<< "$values"
  check "installed-programs entry" grep -qE 'DisplayName +REG_SZ +Brindlecraft Notes 1\.4$' <<< "$(reg "$entry")"
  if [ "$assoc" = - ]; then
    check "no association of .note (cleared task)" fails has_key 'HKCR\.note'
  else
    local progid; progid=$(note_progid)
    check "association of .note: its program key" test -n "$progid"
    check "association described in the chosen language (wine reg export)" same_text \
      "$(default_value "HKCR\\$progid")" "$assoc"
  fi
  if [ "$has_service_too" = yes ]; then
    check "the service is there (wine sc query)" has_service
    check "the service runs the program in the application folder (its ImagePath)" grep -qiF \
      "${app_win}BrindleSync.exe" <<< "$(service_config)"
  else
    check "no service (wine sc query)" fails has_service
  fi
}

# check_removed ROW-FIELDS...: the user's own file goes into the application
# folder, the installation is removed through its record, and nothing of it
# is left but that file.
check_removed() {
  local dest=$5 menu=$6 app_win app progid
  app_win=$(install_folder "$dest"); app=$(linux_path "$app_win")
  [ "$menu" = - ] && menu=$(lang_value "$(last_language "$2")" s.i Short.PrgMenu)
  printf 'my own notes\r\n' > "$app/My own notes.txt"
  progid=$(note_progid)
  "$wine" "$harness" uninstall "$app_win" >"$work/$1-uninstall.log" 2>&1
  check "uninstall through the record: exit status 0" test $? -eq 0
  check "only the user's file is left in the application folder" same_text \
    "$(cd "$app" 2>/dev/null && find . | sort | tr '\n' ' ')" ". ./My own notes.txt "
  check "the user's file is kept unchanged" same_text "$(tr -d '\r' < "$app/My own notes.txt" 2>/dev/null)" "my own notes"
  check "the menu folder is gone" test ! -e "$(link_folder menu "$menu")"
  check "... with the parent folder the install made for it" test ! -e "$(link_folder menu "${menu%%\\*}")"
  check "no desktop link is left" same_text "$(installed_links "$menu")" ""
  check "the registry values are gone" fails has_key "$values_key"
  check "the installed-programs entry is gone" fails has_key "$entry"
  check "the association is gone" fails has_key 'HKCR\.note'
  [ -n "$progid" ] && check "the association's program key is gone" fails has_key "HKCR\\$progid"
  check "the service is gone" fails has_service
}

install_folder() {  # install_folder TYPED: the folder the install goes to
  if [ "$1" = - ]; then echo "$proposed_win"; else echo "${1%\\}\\"; fi
}
last_language() {  # last_language "de,ru": the code of the last one chosen
  local code=${1##*,} l
  for l in "${languages[@]}"; do [ "${l%%-*}" = "$code" ] && echo "$l"; done
}

# ---- the rows ---------------------------------------------------------------------
run_row() {
  local -a f
  local field
  while IFS= read -r field; do f+=("$(sed 's/^ *//; s/ *$//' <<< "$field")"); done < <(sed 's/ | /\n/g' <<< "$1")
  local name=${f[0]} expected_exit=${f[12]} overrides=${f[13]}
  local before=$failures
  echo "$name"
  if walk "${f[@]}"; then
    check "Finish ends the wizard" quietly drive wait "$W" --gone --timeout 30000
    wait_program "$setup_pid" 60
    check "exit code $expected_exit" test $? -eq "$expected_exit"
    check_install "${f[@]}"
    # Kept for the reader of a failure, and compared with the harness's.
    snapshot "$(install_folder "${f[4]}")" "$(menu_of "${f[@]}")" > "$work/$name-wizard.txt"
    check_removed "${f[@]}"
    if [ "$overrides" != - ]; then
      echo "$name, installed by velmora-harness with the same choices"
      clean_up
      local -a args
      mapfile -t args < <(sed 's/ Ret\./\nRet./g' <<< "$overrides")
      "$wine" "$harness" install "$setup" "${args[@]}" >"$work/$name-harness.log" 2>&1
      local status=$?
      # The reason goes with a failure: a second run replaces the log.
      check "harness install: exit status 0" test $status -eq 0
      [ $status -eq 0 ] ||
        { echo "       exit status $status; the harness's last lines:"; tail -n 5 "$work/$name-harness.log"; } >&2
      snapshot "$(install_folder "${f[4]}")" "$(menu_of "${f[@]}")" > "$work/$name-harness.txt"
      check "the harness install made what the wizard made (files, record, registry, links, service)" \
        diff "$work/$name-wizard.txt" "$work/$name-harness.txt"
      check_removed "${f[@]}"
    fi
  else
    screenshot "wizard_install_${name}_fail"
    kill "$setup_pid" 2>/dev/null
  fi
  [ $failures -ne $before ] && [ ! -f "$shots/wizard_install_${name}_fail.png" ] && screenshot "wizard_install_${name}_fail"
  wait_program "$setup_pid" 10 >/dev/null 2>&1
  clean_up
}
menu_of() {  # menu_of ROW-FIELDS...: the start-menu folder of the row
  if [ "$6" = - ]; then lang_value "$(last_language "$2")" s.i Short.PrgMenu; else echo "$6"; fi
}

for row in "${rows[@]}"; do
  name=$(sed 's/ |.*//' <<< "$row")
  if [ $# -gt 0 ] && ! printf '%s\n' "$@" | grep -qx "$name"; then continue; fi
  run_row "$row"
done

[ $failures -eq 0 ] || { echo "wizard_install_test: $failures check(s) failed" >&2; exit 1; }
echo "wizard_install_test: all checks passed"
