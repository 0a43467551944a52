#!/usr/bin/env bash
# End to end: packs tests/e2e/registry_services_project (with the test
# service program as svc.exe) into the runtime, installs it under Wine with
# velmora-harness through the real Win32 platform, and checks from Linux:
# the registry values with their types and the existing-value rule (wine reg
# query), the INI files, the association under HKEY_CLASSES_ROOT, the
# service created, configured and running (wine sc query and its registry
# key), and every line of the uninstall record. A second install into
# another folder finds the service running and replaces it. Exits non-zero
# when any check failed.
#
# Build folders: VELMORA_E2E_NATIVE (packer, default build/native) and
# VELMORA_E2E_WINDOWS (harness, runtime and test service, default
# build/windows where this kernel runs 32-bit programs, else build/windows64).
set -uo pipefail
source "$(dirname "$0")/common.sh"
service_exe="$windows/tests/test_service/velmora-test-service.exe"
require_files registry_services_test "$pack" "$harness" "$runtime" "$service_exe"

work="$windows/e2e-registry-services"
rm -rf "$work"; mkdir -p "$work"
project="$work/project"
cp -r "$top/tests/e2e/registry_services_project" "$project"
cp "$service_exe" "$project/files/svc.exe"
printf 'MZ stand-in for the project uninstaller\r\n' > "$project/unins.exe"
setup="$work/regsvc-setup.exe"
pack_or_stop registry_services_test "$project" "$setup" "$work/pack.log"

prefix="$top/build/wine/prefix"
drive="$prefix/drive_c"
app_win='C:\Program Files\Velmora RegE2E\'
app="$drive/Program Files/Velmora RegE2E"
app2_win='C:\Program Files\Velmora RegE2E 2\'
app2="$drive/Program Files/Velmora RegE2E 2"
menu="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Velmora RegE2E"
hkcu='HKCU\Software\Velmora E2E'
hklm='HKLM\Software\Velmora E2E'
hku='HKU\.DEFAULT\Software\Velmora E2E'
service=VelmoraE2ESvc
service_key="HKLM\\System\\CurrentControlSet\\Services\\$service"
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\[Velmora]VelmoraRegE2E'

clean_up() {
  "$wine" sc stop "$service" >/dev/null 2>&1 || true
  sleep 1
  "$wine" sc delete "$service" >/dev/null 2>&1 || true
  for key in "$hkcu" "$hklm" "$hku" 'HKCR\.vme2e' 'HKCR\.vme2f' 'HKCR\VelmoraRegE2E.vme2e' "$entry"; do
    "$wine" reg delete "$key" /f "$setup_view" >/dev/null 2>&1 || true
  done
  rm -rf "$app" "$app2" "$menu"
}
"$wine" --prepare
keep_prefix_awake
clean_up

# What was there before the install: a value with data (kept) and an empty
# one (filled in).
"$wine" reg add "$hkcu" /v kept /t REG_SZ /d "user's" /f >/dev/null 2>&1
"$wine" reg add "$hkcu" /v filled /t REG_SZ /d "" /f >/dev/null 2>&1

echo "first install into $app_win"
wine_text "$harness" install "$setup" "Ret.Location.Path=$app_win" > "$work/install1.log"
sed 's/^/    /' "$work/install1.log"
check "harness result true" grep -qxF "result: true" "$work/install1.log"

echo "status lines"
check "association list" grep -qxF "line: Velmora E2E document[${app_win}viewer.exe]:" "$work/install1.log"
# The first association's line holds a line break: its extension follows on
# a line of its own, four blanks in.
check "associated extension" grep -qxF "    .vme2e; " "$work/install1.log"
check "unchecked extension not listed" bash -c "! grep -qF '.vme2f' '$work/install1.log'"
check "service line" grep -qxF "line: Create Service:$service" "$work/install1.log"

echo "registry values (wine reg query)"
wine_text reg query "$hkcu" "$setup_view" > "$work/hkcu.txt"
reg_line() {  # reg_line FILE NAME -> "TYPE DATA"
  sed -n "s/^ *$2 \+\(REG_[A-Z_]*\) *\(.*\)$/\1 \2/p" "$1" | sed 's/ *$//'
}
reg_data() {  # reg_data FILE NAME -> "DATA" of a string value, either string type
  reg_line "$1" "$2" | sed -n 's/^REG_\(EXPAND_\)\{0,1\}SZ //p'
}
check "text REG_SZ" same_text "$(reg_line "$work/hkcu.txt" text)" "REG_SZ hello"
check "dword:255 stores 255" same_text "$(reg_line "$work/hkcu.txt" number)" "REG_DWORD 0xff"
check "dword:0xFF stores 0" same_text "$(reg_line "$work/hkcu.txt" hexnumber)" "REG_DWORD 0x0"
check "hex:1,2,255 stores 01 02 FF" same_text "$(reg_line "$work/hkcu.txt" blob)" "REG_BINARY 0102FF"
check "hex:ff stores 00" same_text "$(reg_line "$work/hkcu.txt" short)" "REG_BINARY 00"
check "a name given twice keeps its last value" same_text "$(reg_line "$work/hkcu.txt" b)" "REG_SZ second"
check "a" same_text "$(reg_line "$work/hkcu.txt" a)" "REG_SZ alpha"
check "existing data kept" same_text "$(reg_line "$work/hkcu.txt" kept)" "REG_SZ user's"
check "existing empty value filled" same_text "$(reg_line "$work/hkcu.txt" filled)" "REG_SZ ours"
wine_text reg query "$hku" "$setup_view" > "$work/hku.txt"
check "root 5 writes under HKEY_USERS" same_text "$(reg_line "$work/hku.txt" user)" "REG_SZ yes"
wine_text reg query "$hklm" "$setup_view" > "$work/hklm.txt"
check "record-only value not written" bash -c "! grep -q recordonly '$work/hklm.txt'"
wine_text reg query "$hkcu\\Untouched" "$setup_view" > "$work/untouched.txt"
check "item without write bit writes no value" bash -c "! grep -q nothing '$work/untouched.txt'"

echo "INI files"
ini="$app/existing.ini"
check "existing.ini: written, kept, added" same_text "$(tr -d '\r' < "$ini" | grep -v '^$' | tr '\n' '|')" \
  "; settings the install adds to|[Main]|keep=original|colour=blue|size=3|added=1|"
check "created.ini in a new folder" same_text "$(tr -d '\r' < "$app/conf/created.ini" 2>/dev/null | grep -v '^$' | tr '\n' '|')" "[New]|k=v|"

echo "association (HKEY_CLASSES_ROOT)"
default_of() { wine_text reg query "$1" /ve "$setup_view" | sed -n 's/^ *(Default) \+REG_SZ *\(.*\)$/\1/p' | sed 's/ *$//'; }
check ".vme2e" same_text "$(default_of 'HKCR\.vme2e')" "VelmoraRegE2E.vme2e"
check "program identifier" same_text "$(default_of 'HKCR\VelmoraRegE2E.vme2e')" "Velmora E2E document"
check "DefaultIcon" same_text "$(default_of 'HKCR\VelmoraRegE2E.vme2e\DefaultIcon')" "${app_win}viewer.exe,0"
check "open command" same_text "$(default_of 'HKCR\VelmoraRegE2E.vme2e\shell\open\command')" "\"${app_win}viewer.exe\" \"%1\""
check "unchecked .vme2f absent" bash -c "! '$wine' reg query 'HKCR\\.vme2f' >/dev/null 2>&1"

echo "service"
service_state() { wine_text sc query "$service" | sed -n 's/^ *STATE *: *\([0-9]*\).*/\1/p'; }
# The service control manager starts a service asynchronously: give a
# service that is still starting a few seconds before its state is judged.
settled_service_state() {
  local state i
  for i in 1 2 3 4 5 6 7 8 9 10; do
    state=$(service_state)
    [ "$state" = 4 ] && break
    sleep 1
  done
  echo "$state"
}
check "running (wine sc query)" same_text "$(settled_service_state)" "4"
wine_text reg query "$service_key" "$setup_view" > "$work/service.txt"
# Windows stores the path as REG_EXPAND_SZ, Wine as REG_SZ.
check "program path quoted" same_text "$(reg_data "$work/service.txt" ImagePath)" "\"${app_win}svc.exe\""
check "start on demand" same_text "$(reg_line "$work/service.txt" Start)" "REG_DWORD 0x3"
check "display name" same_text "$(reg_line "$work/service.txt" DisplayName)" "REG_SZ $service"
check "description" same_text "$(reg_line "$work/service.txt" Description)" "REG_SZ Velmora end-to-end test service"
check "local system account" same_text "$(reg_line "$work/service.txt" ObjectName)" "REG_SZ LocalSystem"

echo "uninstall record"
menu_win='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Velmora RegE2E\'
wine_text "$harness" read-record "${app_win}unins.exe.dat" > "$work/record.txt"
reg_lines=""
i=0
# "kept" held the user's own data, which the install left alone: it is not
# the install's to remove, so the record does not name it.
for name in a b blob filled hexnumber number short text; do
  reg_lines+="Log.Reg$i=$name"$'\n'"Log.RegDir$i=Software\\Velmora E2E"$'\n'"Log.RegRoot$i=1"$'\n'
  i=$((i + 1))
done
reg_lines+="Log.Reg8=recordonly"$'\n'"Log.RegDir8=Software\\Velmora E2E"$'\n'"Log.RegRoot8=2"
expected_record=$(cat <<EOR
Log.AppDir=${app_win}
Log.AppName=VelmoraRegE2E
Log.Assoc.Count=1
Log.Assoc0=.vme2e
Log.Dir.Count=1
Log.Dir0=${menu_win}
Log.File.Count=3
Log.File0=${app_win}viewer.exe
Log.File1=${app_win}svc.exe
Log.File2=${app_win}existing.ini
Log.FileOver.Count=3
Log.FileOver0=0
Log.FileOver1=0
Log.FileOver2=0
Log.FileUnins.Count=3
Log.FileUnins0=0
Log.FileUnins1=0
Log.FileUnins2=0
Log.Ini.Count=3
Log.Ini0=colour
Log.Ini1=size
Log.Ini2=added
Log.IniApp.Count=3
Log.IniApp0=Main
Log.IniApp1=Main
Log.IniApp2=Main
Log.IniFile.Count=3
Log.IniFile0=${app_win}existing.ini
Log.IniFile1=${app_win}existing.ini
Log.IniFile2=${app_win}existing.ini
Log.Reg.Count=9
Log.RegDir.Count=9
Log.RegRoot.Count=9
${reg_lines}
Log.Service.Count=1
Log.Service0=${service}
Log.ServiceFile.Count=1
Log.ServiceFile0=${app_win}svc.exe
Log.Short.Count=1
Log.Short0=${menu_win}Uninstall Velmora RegE2E.lnk
Log.Unins.Count=1
Log.Unins0=${app_win}unins.exe
Log.UninsData=${app_win}unins.exe.dat
Log.UninsKey=[Velmora]VelmoraRegE2E
EOR
)
check_record_whole "$work/record.txt" "$expected_record"

echo "second install into $app2_win: the running service is replaced"
wine_text "$harness" install "$setup" "Ret.Location.Path=$app2_win" > "$work/install2.log"
check "harness result true" grep -qxF "result: true" "$work/install2.log"
check "running again" same_text "$(settled_service_state)" "4"
wine_text reg query "$service_key" "$setup_view" > "$work/service2.txt"
check "program path now in the second folder" same_text "$(reg_data "$work/service2.txt" ImagePath)" "\"${app2_win}svc.exe\""

clean_up
if [ $failures -ne 0 ]; then
  echo "registry_services_test: $failures check(s) failed" >&2
  exit 1
fi
echo "registry_services_test: all checks passed"
