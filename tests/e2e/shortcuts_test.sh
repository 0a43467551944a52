#!/usr/bin/env bash
# End to end: packs tests/e2e/shortcuts_project into the runtime and installs
# it under Wine with velmora-harness through the real Win32 platform, as
# Windows 8 (a copy of the harness that Wine reports 6.2 to), so that every
# kind of place runs: links in the program menu, on the desktop, in the
# start menu and in Send To, web links (".url"), a taskbar pin and a
# start-screen tile. Checks from Linux: the record (every "Log." key of the
# shortcut step), each link with lnkinfo (path, arguments, working folder,
# icon, description) and its show-command and hot-key bytes (0x3C, 0x40),
# the web links' bytes, the tile's folder, logo and launcher script (UTF-16
# with its mark), and runs the launcher script's text with cscript to see
# that it starts the program with the tile's arguments. Wine has no taskbar pin
# verb, so the pin is recorded but does not appear, and the link made for it
# must be gone. Exits non-zero when any check failed.
#
# Build folders: VELMORA_E2E_NATIVE (packer, default build/native) and
# VELMORA_E2E_WINDOWS (harness and runtime, default build/windows where this
# kernel runs 32-bit programs, else build/windows64).
set -uo pipefail
source "$(dirname "$0")/common.sh"
require_files shortcuts_test "$pack" "$harness" "$runtime"
win_env() { "$wine" cmd /c "echo %$1%" 2>/dev/null | tr -d '\r' | tail -n 1; }
unix_path() { "$wine" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
u32_at() { od -An -tu4 -j "$2" -N 4 "$1" | tr -d ' '; }
u16_at() { od -An -tu2 -j "$2" -N 2 "$1" | tr -d ' '; }

work="$windows/e2e-shortcuts"
rm -rf "$work"; mkdir -p "$work"
setup="$work/shortcuts-setup.exe"
pack_or_stop shortcuts_test "$top/tests/e2e/shortcuts_project" "$setup" "$work/pack.log"

"$wine" --prepare
# Wine reports Windows 8 to this copy of the harness only.
harness8="$work/velmora-harness-w8.exe"
cp "$harness" "$harness8"
"$wine" reg add 'HKCU\Software\Wine\AppDefaults\velmora-harness-w8.exe' /v Version /d win8 /f >/dev/null 2>&1

profile=$(win_env USERPROFILE)
temp=$(win_env TEMP)
[ -n "$profile" ] && [ -n "$temp" ] || { echo "shortcuts_test: Wine gave no user profile" >&2; exit 1; }
app='C:\Program Files\Velmora Shortcuts\'
menu='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Velmora Shortcuts\'
start_menu='C:\ProgramData\Microsoft\Windows\Start Menu\'
desktop='C:\users\Public\Desktop\'
sendto="$profile"'\AppData\Roaming\Microsoft\Windows\SendTo\'
screen="$profile"'\AppData\Local\Microsoft\Windows\Application Shortcuts\QuorvaneVelmora Shortcuts\'
tile_folder="${app}tool.cmd_start\\"

# Leave nothing of an earlier run behind.
for p in "$app" "$menu" "${desktop}Velmora Tool.lnk" "${desktop}Velmora Site.url" "${start_menu}Velmora Tool Start.lnk" \
         "${start_menu}Velmora Site.url" "${sendto}Velmora Tool.lnk" "$screen"; do
  u=$(unix_path "$p"); [ -n "$u" ] && rm -rf "$u"
done

echo "install as Windows 8 into $app"
"$wine" "$harness8" install "$setup" "Ret.Location.Path=$app" "Ret.Location.AllUser=1" >"$work/install.log" 2>&1
status=$?
tr -d '\r' < "$work/install.log" | grep -v '^X connection' | sed 's/^/    /'
check "harness exit status 0" [ $status -eq 0 ]
check "the Windows 8 rules ran (the tile was made)" grep -qF "status: StartScreen: Velmora Tool" "$work/install.log"
check "status lines name the item and its places" grep -qF "line: Velmora Tool[${app}tool.cmd]:" "$work/install.log"
check "the desktop's display name" grep -qF "status: Desktop: Velmora Tool" "$work/install.log"

echo "uninstall record"
"$wine" "$harness" read-record "${app}unins.exe.dat" 2>&1 | tr -d '\r' > "$work/record.txt"
expected_record=$(cat <<EOR
Log.Dir.Count=4
Log.Dir0=${menu}
Log.Dir1=${menu}Tools\\
Log.Dir2=${screen}
Log.Dir3=${tile_folder}
Log.Pin.Count=1
Log.Pin0=Velmora Tool
Log.PinPath.Count=1
Log.PinPath0=${app}tool.cmd
Log.Short.Count=9
Log.Short0=${menu}Tools\\Velmora Tool.lnk
Log.Short1=${desktop}Velmora Tool.lnk
Log.Short2=${start_menu}Velmora Tool Start.lnk
Log.Short3=${sendto}Velmora Tool.lnk
Log.Short4=${tile_folder}PinnedSiteSmallLogo.png
Log.Short5=${tile_folder}_launcher.vbs
Log.Short6=${screen}Velmora Tool.lnk
Log.Short7=${desktop}Velmora Site.url
Log.Short8=${start_menu}Velmora Site.url
EOR
)
check_record_lines "$work/record.txt" "$expected_record"
check "record has no resource index line (the runtime carries none)" \
  same_text "$(grep -c 'resources.pri' "$work/record.txt")" "0"

echo "links"
tool_lnk() {  # tool_lnk WINDOWS-PATH: the fields every link of the tool has
  local link; link=$(unix_path "$1")
  local info="$work/lnkinfo.txt"
  check "$1 exists" [ -f "$link" ] || return
  lnkinfo "$link" > "$info" 2>&1
  check "  path" grep -qiF "Local path			: ${app}tool.cmd" "$info"
  check "  arguments" grep -qF -- 'Command line arguments		: --from-link "a b"' "$info"
  check "  working folder" grep -qiF "Working directory		: ${app}work\\" "$info"
  check "  icon" grep -qiF "Icon location			: ${app}tool.ico" "$info"
  check "  description" grep -qF "Description			: Velmora Tool" "$info"
  check "  show command maximized (3)" same_text "$(u32_at "$link" 60)" "3"
  check "  hot key 0x654" same_text "$(u16_at "$link" 64)" "1620"
}
tool_lnk "${menu}Tools\\Velmora Tool.lnk"
tool_lnk "${desktop}Velmora Tool.lnk"
tool_lnk "${start_menu}Velmora Tool Start.lnk"
tool_lnk "${sendto}Velmora Tool.lnk"
check "the working folder was made" [ -d "$(unix_path "${app}work")" ]

for link in "${desktop}Velmora Site.url" "${start_menu}Velmora Site.url"; do
  check "$link is a web link" same_text "$(od -An -c "$(unix_path "$link")" | tr -s ' ' | tr -d '\n')" \
    "$(printf '[InternetShortcut]\r\nURL=https://example.org/velmora\r\n' | od -An -c | tr -s ' ' | tr -d '\n')"
done

echo "taskbar pin (Wine offers no pin verb)"
check "the link made for pinning is gone" [ ! -e "$(unix_path "${temp}\\Velmora Tool.lnk")" ]

echo "start-screen tile"
tile=$(unix_path "${screen}Velmora Tool.lnk")
check "tile link exists" [ -f "$tile" ]
lnkinfo "$tile" > "$work/tile.txt" 2>&1
check "tile link starts the launcher script" grep -qiF "Local path			: ${tile_folder}_launcher.vbs" "$work/tile.txt"
check "tile link description" grep -qF "Description			: Velmora Tool" "$work/tile.txt"
check "logo is the tile picture" cmp -s "$(unix_path "${tile_folder}PinnedSiteSmallLogo.png")" \
  "$top/tests/e2e/shortcuts_project/files/tile.png"
script=$(unix_path "${tile_folder}_launcher.vbs")
check "script starts with the UTF-16 mark" same_text "$(head -c 2 "$script" | od -An -tx1 | tr -d ' ')" "fffe"
iconv -f UTF-16 -t UTF-8 "$script" 2>/dev/null | tr -d '\r' > "$work/launcher.txt"
check "script names the program" grep -qxF "exePath = \"${app}tool.cmd\"" "$work/launcher.txt"
check "script has no web link" grep -qxF 'webLink = ""' "$work/launcher.txt"
# Wine's script host reads only 8-bit scripts (Windows reads UTF-16 ones as
# well), so the script's text runs from a converted copy beside it.
ran=$(unix_path "${app}ran.txt")
rm -f "$ran"
iconv -f UTF-16 -t WINDOWS-1252 "$script" > "$(unix_path "${tile_folder}")/launcher-8bit.vbs"
"$wine" cscript //nologo "${tile_folder}launcher-8bit.vbs" one "two words" >"$work/cscript.log" 2>&1
for _ in $(seq 1 100); do [ -s "$ran" ] && break; sleep 0.1; done
check "the script started the program with its arguments quoted" \
  same_text "$(tr -d '\r' < "$ran" 2>/dev/null)" '"one" "two words"'
rm -f "$(unix_path "${tile_folder}")/launcher-8bit.vbs" "$ran"

if [ $failures -ne 0 ]; then
  echo "shortcuts_test: $failures check(s) failed" >&2
  exit 1
fi
echo "shortcuts_test: all checks passed"
