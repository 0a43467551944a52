#!/usr/bin/env bash
# End to end, under Wine with velmora-harness: an install never acts on a
# record it cannot trust and never deletes what it did not write.
#  1. A planted record: a folder holds a forged "unins.exe.dat" naming a
#     file outside the folder and an existing service, and no
#     installed-programs entry vouches for it. The install goes on without
#     asking, and the file and the service are still there.
#  2. A kept file: the user's edited file is in the folder before the
#     install, whose item never overwrites. It survives the install, a
#     re-install (which removes the earlier installation) and the uninstall,
#     while the files the install wrote are gone.
# Packs tests/e2e/install_project (item 3, app.txt, set to never overwrite).
# Exits non-zero at the end when any check failed. Build folders: common.sh.
set -uo pipefail
source "$(dirname "$0")/common.sh"
require_files reliability_test "$pack" "$harness" "$runtime"

work="$windows/e2e-reliability"
rm -rf "$work"; mkdir -p "$work"
project="$work/project"
cp -r "$top/tests/e2e/install_project" "$project"
printf 'big\n' > "$project/files/big.bin"
printf 'MZ stand-in for the project uninstaller\r\n' > "$project/unins.exe"
# Item 3 (app.txt): overwrite mode 3, never.
sed -i 's/^3\.Item=2;\\t5;\\t12584958;\\t2;/3.Item=2;\\t5;\\t12584958;\\t3;/' "$project/pjcfg.ini"
grep -q '^3\.Item=2;\\t5;\\t12584958;\\t3;' "$project/pjcfg.ini" || { echo "reliability_test: project edit failed" >&2; exit 1; }
setup="$work/e2e-setup.exe"
pack_or_stop reliability_test "$project" "$setup" "$work/pack.log"

prefix="$top/build/wine/prefix"
drive="$prefix/drive_c"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\[Velmora]VelmoraE2E'
service=VelmoraPlantedSvc
victim_win='C:\velmora-victim.txt'
victim="$drive/velmora-victim.txt"
"$wine" --prepare
keep_prefix_awake

clean_up() {
  rm -rf "$drive/Program Files/Velmora Planted" "$drive/Program Files/Velmora Kept" "$victim"
  rm -rf "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Velmora E2E"
  "$wine" reg delete "$key" /f "$setup_view" >/dev/null 2>&1 || true
  "$wine" sc delete "$service" >/dev/null 2>&1 || true
}
clean_up

echo "1. planted record"
app_win='C:\Program Files\Velmora Planted\'
app="$drive/Program Files/Velmora Planted"
mkdir -p "$app"
printf 'not the setup'"'"'s\n' > "$victim"
service_exists() { "$wine" reg query "HKLM\\System\\CurrentControlSet\\Services\\$service" >/dev/null 2>&1; }
"$wine" sc create "$service" binPath= 'C:\windows\system32\ping.exe' >/dev/null 2>&1
check "test service created" service_exists
"$wine" "$harness" write-record "${app_win}unins.exe.dat" "AppDir=$app_win" "AppName=Forged" \
  "File?=$victim_win" "FileOver?=0" "FileUnins?=0" "Service?=$service" "ServiceFile?=$victim_win" \
  "UninsKey=[Velmora]VelmoraE2E" "UninsData=${app_win}unins.exe.dat" >/dev/null 2>&1
check "forged record planted" [ -f "$app/unins.exe.dat" ]
printf 'confirm=cancel\n' > "$work/answers.txt"  # were it asked, the install would stop
answers_win=$("$wine" winepath -w "$work/answers.txt" 2>/dev/null | tr -d '\r')
"$wine" "$harness" install "$setup" "Ret.Location.Path=$app_win" --answers "$answers_win" \
  > "$work/install1.log" 2>&1; status=$?
tr -d '\r' < "$work/install1.log" | grep -v '^X connection' | sed 's/^/    /'
check "install went on (exit status 0)" [ $status -eq 0 ]
check "nothing was offered or removed" bash -c "! grep -qE \"Removing|error:\" \"$work/install1.log\""
check "the file the record names is still there" [ -f "$victim" ]
check "the service the record names is still there" service_exists
"$wine" "$harness" read-record "${app_win}unins.exe.dat" 2>&1 | tr -d '\r' > "$work/record1.txt"
check "the forged record was replaced" grep -qxF "Log.AppName=Velmora E2E" "$work/record1.txt"
"$wine" reg delete "$key" /f "$setup_view" >/dev/null 2>&1 || true

echo "2. a kept file survives re-install and uninstall"
app_win='C:\Program Files\Velmora Kept\'
app="$drive/Program Files/Velmora Kept"
mkdir -p "$app"
printf 'edited by the user\n' > "$app/app.txt"
"$wine" "$harness" install "$setup" "Ret.Location.Path=$app_win" > "$work/install2.log" 2>&1; status=$?
check "first install exit status 0" [ $status -eq 0 ]
"$wine" "$harness" read-record "${app_win}unins.exe.dat" 2>&1 | tr -d '\r' > "$work/record2.txt"
check "kept file recorded as kept" grep -qxF "Log.FileUnins0=1" "$work/record2.txt"
"$wine" "$harness" install "$setup" "Ret.Location.Path=$app_win" > "$work/install3.log" 2>&1; status=$?
check "re-install exit status 0" [ $status -eq 0 ]
check "re-install removed the earlier installation" grep -qF "Removing File" "$work/install3.log"
check "user's file kept by the re-install" same_text "$(cat "$app/app.txt")" "edited by the user"
"$wine" "$harness" uninstall "$app_win" > "$work/uninstall.log" 2>&1; status=$?
check "uninstall exit status 0" [ $status -eq 0 ]
check "user's file survives the uninstall" same_text "$(cat "$app/app.txt" 2>/dev/null)" "edited by the user"
check "the install's own file is gone" [ ! -e "$app/big.bin" ]

clean_up
if [ $failures -ne 0 ]; then
  echo "reliability_test: $failures check(s) failed" >&2
  exit 1
fi
echo "reliability_test: all checks passed"
