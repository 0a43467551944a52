#!/usr/bin/env bash
# After the demo setup ran: reports what its install made, from the
# uninstall record in the application folder (files, registry values, the
# installed-programs entry, associations, the service, links, the record's
# keys), then uninstalls through that record with velmora-harness and shows
# that nothing of it is left. When the wizard did not install, says so.
# Usage: scripts/demo_report.sh SETUP.exe FLAVOUR   (inside a display)
# Exit status: 0 when nothing was installed, or the uninstall left nothing.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
setup=$1 flavour=$2
wine="$top/scripts/wine.sh"
export VELMORA_IN_XVFB=1
drive_c="$top/build/wine/prefix/drive_c"
harness="$top/build/$flavour/tests/harness/velmora-harness.exe"
if [ "$flavour" = windows ]; then view=/reg:32; else view=/reg:64; fi

text() { tr -d '\r' | grep -v '^X connection'; }
linux_path() {  # C:\a\b -> the file in the prefix
  local p=${1#[Cc]:}
  printf '%s%s' "$drive_c" "${p//\\//}"
}

# The application folder: the project's macro as the setup resolved it (its
# log line) followed by the project's relative folder.
macro_line=$(iconv -f UTF-16LE -t UTF-8 "$setup.log" 2>/dev/null | tr -d '\r' | grep -m1 '^<ProgramFilesDir(32bit)>:')
relative=$(sed -n 's/^Comp\.editAppDir=//p' "$top/examples/demo/pjcfg.ini" | sed 's/\\\\/\\/g')
app_win="${macro_line#*>:}$relative\\"
record="$(linux_path "$app_win")unins.exe.dat"

echo
echo "install report"
if [ -z "$macro_line" ] || [ ! -f "$record" ]; then
  echo "  nothing was installed: the wizard ended before its installing page"
  exit 0
fi
[ -f "$harness" ] || "$top/scripts/build.sh" "$flavour:velmora-harness" >/dev/null
keys=$("$wine" "$harness" read-record "$record" 2>&1 | text)
key() { sed -n "s/^Log\\.$1=//p" <<< "$keys"; }
count() { local n; n=$(key "$1.Count"); echo "${n:-0}"; }
root_name() { case $1 in 0) echo HKCR ;; 1) echo HKCU ;; 2) echo HKLM ;; *) echo HKU ;; esac; }

# show_state: one line per thing the record names, saying whether it exists.
show_state() {
  local i path
  for ((i = 0; i < $(count File); i++)); do
    path=$(key "File$i"); [ -e "$(linux_path "$path")" ] && echo "  file      $path"
  done
  for ((i = 0; i < $(count Short); i++)); do
    path=$(key "Short$i"); [ -e "$(linux_path "$path")" ] && echo "  link      $path"
  done
  for ((i = 0; i < $(count Reg); i++)); do
    local reg_key reg_name
    reg_key="$(root_name "$(key "RegRoot$i")")\\$(key "RegDir$i")"; reg_name=$(key "Reg$i")
    "$wine" reg query "$reg_key" /v "$reg_name" "$view" >/dev/null 2>&1 &&
      echo "  registry  $reg_key : $reg_name"
  done
  for ((i = 0; i < $(count Assoc); i++)); do
    path=$(key "Assoc$i")
    "$wine" reg query "HKCR\\$path" "$view" >/dev/null 2>&1 && echo "  file type HKCR\\$path"
  done
  for ((i = 0; i < $(count Service); i++)); do
    path=$(key "Service$i")
    "$wine" sc query "$path" >/dev/null 2>&1 && echo "  service   $path"
  done
  path="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$(key UninsKey)"
  [ -n "$(key UninsKey)" ] && "$wine" reg query "$path" "$view" >/dev/null 2>&1 &&
    echo "  programs  $path"
  [ -e "$record" ] && echo "  record    ${app_win}unins.exe.dat"
  [ -d "$(linux_path "$app_win")" ] && echo "  folder    $app_win"
  return 0
}

echo "  what the install made (from its record):"
made=$(show_state); echo "$made"
echo "  the record's keys:"
sed 's/^/    /' <<< "$keys"
echo
echo "uninstall through the record"
"$wine" "$harness" uninstall "$app_win" 2>&1 | text | sed 's/^/    /'
left=$(show_state)
if [ -z "$left" ]; then
  echo "  nothing is left of the $(grep -c . <<< "$made") things the install made"
  exit 0
fi
echo "  left behind:"; echo "$left"
exit 1
