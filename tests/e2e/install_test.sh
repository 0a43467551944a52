#!/usr/bin/env bash
# End to end: packs tests/e2e/install_project into the runtime, installs it
# under Wine with velmora-harness into the prefix's "Program Files" through
# the real Win32 platform, and checks from Linux every file's bytes and
# last-write time, the folders, unins.exe, the record unins.exe.dat (read
# back: every "Log." key), the installed-programs entry (wine reg query) and
# the uninstall link (lnkinfo and the link's show-command bytes). Then a
# second install into the same folder (the earlier installation is offered
# for removal and accepted) and a third one whose answer keeps it (must
# fail). Exits non-zero at the end when any check failed.
#
# Build folders: see common.sh.
set -uo pipefail
source "$(dirname "$0")/common.sh"
require_files install_test "$pack" "$harness" "$runtime"

work="$windows/e2e-install"
rm -rf "$work"; mkdir -p "$work"
project="$work/project"
cp -r "$top/tests/e2e/install_project" "$project"
# A file of 250,000 bytes: three blocks of the copy loop.
python3 -c "import sys; sys.stdout.buffer.write(bytes((i * 7 + i // 251) & 255 for i in range(250000)))" \
  > "$project/files/big.bin"
printf 'MZ stand-in for the project uninstaller\r\n' > "$project/unins.exe"
# Known modification times, each its own (the packer stores them as the item times).
touch -d '2021-03-04 05:06:07 UTC' "$project/files/app.txt"
touch -d '2019-11-12 13:14:15 UTC' "$project/files/manual.txt"
touch -d '2020-01-02 03:04:05 UTC' "$project/files/home.link"
touch -d '2022-06-07 08:09:10 UTC' "$project/files/big.bin"

setup="$work/e2e-setup.exe"
pack_or_stop install_test "$project" "$setup" "$work/pack.log"

prefix="$top/build/wine/prefix"
drive="$prefix/drive_c"
app_win='C:\Program Files\Velmora E2E\'
app="$drive/Program Files/Velmora E2E"
menu="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Velmora E2E"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\[Velmora]VelmoraE2E'
"$wine" --prepare
rm -rf "$app" "$menu"
"$wine" reg delete "$key" /f "$setup_view" >/dev/null 2>&1 || true

run_install() {  # run_install LOG [ARGS...]
  local log=$1; shift
  "$wine" "$harness" install "$setup" "Ret.Location.Path=$app_win" "$@" >"$log" 2>&1
}

echo "first install into $app_win"
run_install "$work/install1.log"; status=$?
tr -d '\r' < "$work/install1.log" | grep -v '^X connection' | sed 's/^/    /'
check "harness exit status 0" [ $status -eq 0 ]

echo "files, bytes and last-write times"
for pair in "app.txt:files/app.txt" "docs/manual.txt:files/manual.txt" \
            "docs/Home Page.url:files/home.link" "big.bin:files/big.bin" "unins.exe:unins.exe"; do
  installed="$app/${pair%%:*}"; source="$project/${pair#*:}"
  check "$(basename "$installed") has the project's bytes" cmp -s "$installed" "$source"
  if [ "${pair%%:*}" != unins.exe ]; then
    check "$(basename "$installed") last-write $(date -u -r "$source" +%FT%TZ)" \
      same_text "$(stat -c %Y "$installed" 2>/dev/null)" "$(stat -c %Y "$source")"
  fi
done
check "docs folder exists" [ -d "$app/docs" ]
check "the unselected component's folder is absent" [ ! -e "$app/extras" ]
check "no file of the unselected component" [ ! -e "$app/extras/extra.txt" ]
check "nothing but the project's files in the application folder" \
  same_text "$(cd "$app" && find . | sort | tr '\n' ' ')" \
  ". ./app.txt ./big.bin ./docs ./docs/Home Page.url ./docs/manual.txt ./unins.exe ./unins.exe.dat "

echo "uninstall record"
menu_win='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Velmora E2E\'
"$wine" "$harness" read-record "${app_win}unins.exe.dat" 2>&1 | tr -d '\r' > "$work/record.txt"
expected_record=$(cat <<EOR
Log.AppDir=${app_win}
Log.AppName=Velmora E2E
Log.Dir.Count=2
Log.Dir0=${menu_win}
Log.Dir1=${app_win}docs\\
Log.File.Count=4
Log.File0=${app_win}app.txt
Log.File1=${app_win}docs\\manual.txt
Log.File2=${app_win}docs\\Home Page.url
Log.File3=${app_win}big.bin
Log.FileOver.Count=4
Log.FileOver0=0
Log.FileOver1=0
Log.FileOver2=0
Log.FileOver3=0
Log.FileUnins.Count=4
Log.FileUnins0=0
Log.FileUnins1=2
Log.FileUnins2=0
Log.FileUnins3=0
Log.Short.Count=1
Log.Short0=${menu_win}Uninstall Velmora E2E.lnk
Log.Unins.Count=1
Log.Unins0=${app_win}unins.exe
Log.UninsData=${app_win}unins.exe.dat
Log.UninsKey=[Velmora]VelmoraE2E
EOR
)
check_record_whole "$work/record.txt" "$expected_record"
check "record file starts with the UTF-8 mark" same_text "$(head -c 3 "$app/unins.exe.dat" | od -An -tx1 | tr -d ' ')" "efbbbf"

echo "installed-programs entry (in the view of the setup program)"
"$wine" reg query "$key" "$setup_view" 2>&1 | tr -d '\r' > "$work/reg.txt"
reg_value() { sed -n "s/^ *$1 *REG_SZ *//p" "$work/reg.txt"; }
check "DisplayName" same_text "$(reg_value DisplayName)" "Velmora E2E Demo"
check "DisplayIcon" same_text "$(reg_value DisplayIcon)" "\"${app_win}unins.exe\""
check "UninstallString" same_text "$(reg_value UninstallString)" "\"${app_win}unins.exe\""
check "DisplayVersion" same_text "$(reg_value DisplayVersion)" "2.5.1"
check "Publisher" same_text "$(reg_value Publisher)" "Brindlecraft"
check "HelpLink" same_text "$(reg_value HelpLink)" "https://example.org/help"
check "no URLUpdateInfo" same_text "$(reg_value URLUpdateInfo)" ""

echo "uninstall link"
link="$menu/Uninstall Velmora E2E.lnk"
check "link file exists" [ -f "$link" ]
lnkinfo "$link" > "$work/lnk.txt" 2>&1
check "link points at unins.exe" grep -qiF "Program Files\\Velmora E2E\\unins.exe" "$work/lnk.txt"
check "link description" grep -qF "Uninstall Velmora E2E" "$work/lnk.txt"
check "link show command normal (1)" same_text "$(od -An -tu4 -j 60 -N 4 "$link" | tr -d ' ')" "1"
check "link without hot key" same_text "$(od -An -tu2 -j 64 -N 2 "$link" | tr -d ' ')" "0"

echo "second install: the earlier installation is offered and accepted (default OK)"
run_install "$work/install2.log"; status=$?
check "harness exit status 0" [ $status -eq 0 ]
check "the record of the first run was checked" grep -qF "status: Check unins.exe.dat..." "$work/install2.log"
check "files are in place again" cmp -s "$app/big.bin" "$project/files/big.bin"
"$wine" "$harness" read-record "${app_win}unins.exe.dat" 2>&1 | tr -d '\r' > "$work/record2.txt"
# The earlier installation was removed first, except its shared file, which
# the default answer keeps: only that one existed when it was installed again.
check "removed file not recorded as overwritten" grep -qxF "Log.FileOver0=0" "$work/record2.txt"
check "kept shared file recorded as overwritten" grep -qxF "Log.FileOver1=1" "$work/record2.txt"

echo "third install: the answer keeps the earlier installation"
printf 'confirm=cancel\n' > "$work/answers.txt"
answers_win=$("$wine" winepath -w "$work/answers.txt" 2>/dev/null | tr -d '\r')
run_install "$work/install3.log" --answers "$answers_win"; status=$?
check "harness exit status 1" [ $status -eq 1 ]
check "error names the earlier installation" grep -qF "error: An earlier installation is in the way:" "$work/install3.log"

if [ $failures -ne 0 ]; then
  echo "install_test: $failures check(s) failed" >&2
  exit 1
fi
echo "install_test: all checks passed"
