#!/usr/bin/env bash
# End to end, install -> remove -> nothing left: packs
# tests/e2e/roundtrip_project into the runtime, installs it under Wine with
# velmora-harness (files removed, shared and kept; folders; menu and desktop
# links; an association; registry values; INI keys; and the test service
# when it is built), removes it again with "velmora-harness uninstall" and
# checks from Linux that everything the record names is gone and only what
# it keeps stays: the file of uninstall mode 1, the shared file (the
# default answer keeps it), the INI file the install created. Then two
# installs into the same folder: the second finds the record, asks, removes
# the first installation and installs again, leaving one set of everything
# and one installed-programs entry. Exits non-zero when any check failed.
#
# Build folders: see common.sh.
set -uo pipefail
source "$(dirname "$0")/common.sh"
service_exe=$(ls "$windows"/tests/test_service/*.exe 2>/dev/null | head -1)
require_files roundtrip_test "$pack" "$harness" "$runtime"
absent_key() { ! "$wine" reg query "$1" "$setup_view" >/dev/null 2>&1; }
present_key() { "$wine" reg query "$1" "$setup_view" >/dev/null 2>&1; }

work="$windows/e2e-roundtrip"
rm -rf "$work"; mkdir -p "$work"
project="$work/project"
cp -r "$top/tests/e2e/roundtrip_project" "$project"
printf 'MZ stand-in for the project uninstaller\r\n' > "$project/unins.exe"
service_name=VelmoraRoundTripSvc
if [ -n "$service_exe" ]; then
  cp "$service_exe" "$project/files/service.exe"
  cat >> "$project/pjcfg.ini" <<EOS
9.Item=2;\\t5;\\t12584958;\\t2;\\t0;\\t0;\\t0;\\t9*service.exe
9.Item.Src=files/service.exe
[s.i]
Short.Count=2
Short.1.File=<Application Folder>\\\\service.exe
Short.1.OS=12584958
Short.1.Flag=134217728
Short.1.SeName=$service_name
Short.1.SeAStart=1
EOS
fi

setup="$work/roundtrip-setup.exe"
pack_or_stop roundtrip_test "$project" "$setup" "$work/pack.log"

prefix="$top/build/wine/prefix"
drive="$prefix/drive_c"
app_win='C:\Program Files\Velmora RoundTrip\'
app="$drive/Program Files/Velmora RoundTrip"
menu="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Velmora RoundTrip"
shared_ini="$drive/ProgramData/VelmoraRoundTrip/shared.ini"
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\[Velmora]VelmoraRoundTrip'
hkcu_key='HKCU\Software\Brindlecraft\VelmoraRoundTrip'
hklm_key='HKLM\Software\Brindlecraft\VelmoraRoundTrip'
"$wine" --prepare

clean_prefix() {
  rm -rf "$app" "$menu" "$drive/ProgramData/VelmoraRoundTrip"
  find "$drive/users" -maxdepth 3 -name 'Velmora RoundTrip.lnk' -delete 2>/dev/null
  for k in "$entry" "$hkcu_key" "$hklm_key" 'HKCR\.vrt' 'HKCR\Velmora RoundTrip.vrt'; do
    "$wine" reg delete "$k" /f "$setup_view" >/dev/null 2>&1 || true
  done
  [ -n "$service_exe" ] && "$wine" sc delete "$service_name" >/dev/null 2>&1
  mkdir -p "$(dirname "$shared_ini")"
  printf '[Other]\r\nKey=1\r\n' > "$shared_ini"
}
run_install() {  # run_install LOG [ARGS...]
  local log=$1; shift
  "$wine" "$harness" install "$setup" "Ret.Location.Path=$app_win" "Ret.Location.AllUser=1" \
    "Ret.Shortcut.Ext0.Count=1" "Ret.Shortcut.Ext0.0=.vrt" "$@" >"$log" 2>&1
}
desktop_links() { find "$drive/users" -maxdepth 3 -name 'Velmora RoundTrip.lnk' 2>/dev/null | wc -l; }
service_state() { wine_text sc query "$service_name" | sed -n 's/^ *STATE *: *[0-9]* *//p'; }

keep_prefix_awake
clean_prefix
echo "install into $app_win"
run_install "$work/install1.log"; status=$?
check "install exit status 0" [ $status -eq 0 ] || tr -d '\r' < "$work/install1.log" >&2
check "files installed" same_text "$(cd "$app" 2>/dev/null && find . -type f | sort | tr '\n' ' ')" \
  "$(printf '%s ' ./app.exe ./app.ini ./docs/manual.txt ./lib/settings.cfg ./lib/shared.dll \
     $([ -n "$service_exe" ] && echo ./service.exe) ./unins.exe ./unins.exe.dat | tr ' ' '\n' | sort | tr '\n' ' ')"
check "menu link" [ -f "$menu/Velmora RoundTrip.lnk" ]
check "desktop link" same_text "$(desktop_links)" 1
check "association" present_key 'HKCR\.vrt'
check "registry values (HKCU)" present_key "$hkcu_key"
check "registry values (HKLM)" present_key "$hklm_key"
check "INI key in the existing file" grep -q '^Mode=full' "$shared_ini"
check "installed-programs entry" present_key "$entry"
if [ -n "$service_exe" ]; then
  check "test service running" same_text "$(service_state)" RUNNING
else
  echo "  (no test service built: the service part is left out)"
fi

echo "the user adds a file of his own"
mkdir -p "$app/docs/notes"; printf 'mine\r\n' > "$app/docs/notes/mine.txt"

echo "uninstall"
"$wine" "$harness" uninstall "$app_win" >"$work/uninstall.log" 2>&1; status=$?
tr -d '\r' < "$work/uninstall.log" | grep -v '^X connection' | sed 's/^/    /' | tail -5
check "uninstall exit status 0" [ $status -eq 0 ]
check "only the kept files and the user's file remain" \
  same_text "$(cd "$app" 2>/dev/null && find . | sort | tr '\n' ' ')" \
  ". ./app.ini ./docs ./docs/notes ./docs/notes/mine.txt ./lib ./lib/settings.cfg ./lib/shared.dll "
check "menu folder gone" [ ! -e "$menu" ]
check "desktop link gone" same_text "$(desktop_links)" 0
check "association gone" absent_key 'HKCR\.vrt'
check "association program key gone" absent_key 'HKCR\Velmora RoundTrip.vrt'
check "registry values gone (HKCU)" absent_key "$hkcu_key"
check "registry values gone (HKLM)" absent_key "$hklm_key"
check "INI key gone, the other program's key kept" \
  same_text "$(tr -d '\r' < "$shared_ini" | grep -c -e '^Mode=' -e '^Key=1')" 1
check "installed-programs entry gone" absent_key "$entry"
if [ -n "$service_exe" ]; then
  check "test service gone" same_text "$(service_state)" ""
fi

echo "uninstall again: no record, nothing done"
"$wine" "$harness" uninstall "$app_win" >"$work/uninstall2.log" 2>&1; status=$?
check "exit status 1" [ $status -eq 1 ]

echo "two installs into the same folder"
clean_prefix
run_install "$work/install2.log"; s1=$?
run_install "$work/install3.log"; s2=$?
check "both installs exit 0" same_text "$s1 $s2" "0 0"
check "the second install removed the first one" grep -qF "status: Removing File" "$work/install3.log"
check "the first install removed nothing" [ -z "$(grep -F "status: Removing" "$work/install2.log")" ]
check "one set of files" same_text "$(cd "$app" 2>/dev/null && find . -type f | wc -l)" \
  "$([ -n "$service_exe" ] && echo 8 || echo 7)"
check "one menu folder with its two links" same_text "$(ls "$menu" 2>/dev/null | wc -l)" 2
check "one desktop link" same_text "$(desktop_links)" 1
check "one installed-programs entry" \
  same_text "$(wine_text reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' "$setup_view" | grep -c 'VelmoraRoundTrip')" 1
check "the INI key once" same_text "$(grep -c '^Mode=full' "$shared_ini")" 1
if [ -n "$service_exe" ]; then
  check "test service running again" same_text "$(service_state)" RUNNING
fi
"$wine" "$harness" uninstall "$app_win" >"$work/uninstall3.log" 2>&1
check "removed again" absent_key "$entry"

if [ $failures -ne 0 ]; then
  echo "roundtrip_test: $failures check(s) failed" >&2
  exit 1
fi
echo "roundtrip_test: all checks passed"
