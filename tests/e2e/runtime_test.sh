#!/usr/bin/env bash
# End to end: packs the sample project into the runtime and starts it under
# Wine. Checks that the setup finds its payload in its own module, also after
# the file is signed with osslsigncode (a throw-away self-signed
# certificate), and that the setup log beside it is UTF-16LE without a mark
# with the "WinVer:" line, the 14 directory lines resolving to the prefix's
# folders and "CurLang:" following the locale; without the log switch no log
# appears. Exits non-zero when any check failed.
set -uo pipefail
source "$(dirname "$0")/common.sh"
service_exe="$windows/tests/test_service/velmora-test-service.exe"
drive="$windows/tests/driver/velmora-drive.exe"
require_files runtime_test "$pack" "$runtime" "$service_exe" "$drive"

work="$windows/e2e-runtime"
rm -rf "$work"; mkdir -p "$work"
# The sample project installs the test service as its service program,
# which is built, not kept in the project.
demo="$work/demo-project"
cp -r "$top/examples/demo" "$demo"
cp "$service_exe" "$demo/app/BrindleSync.exe"
setup="$work/demo-setup.exe"
pack_or_stop runtime_test "$demo" "$setup" "$work/pack.log"

run_setup() {  # run_setup EXE LOCALE -> prints the program's status line
  # The setup now waits in its window: ask it to close (as the close box
  # does) until it has ended.
  local out="$1.out" i
  LANG=$2 LC_ALL=$2 timeout 300 "$wine" "$1" >"$out" 2>/dev/null &
  local pid=$!
  for i in $(seq 1 120); do
    sleep 1
    kill -0 $pid 2>/dev/null || break
    "$wine" taskkill /IM "$(basename "$1")" >/dev/null 2>&1
    # The wizard asks before it lets the user leave: answer Yes.
    "$wine" "$drive" msgbox --timeout 2000 id=6 >/dev/null 2>&1
  done
  wait $pid
  tr -d '\r' <"$out"
}


echo "payload in the setup's own module"
line=$(run_setup "$setup" en_US.UTF-8)
echo "       $line"
check "the setup finds BIN/2 and reads pjcfg.ini" grep -Eq 'payload found, status 0x0, [0-9]+ entries, [1-9][0-9]* configuration keys' <<<"$line"

echo "setup log"
log="$setup.log"
check "the log is written beside the setup" test -f "$log"
check "the log has no byte-order mark" test "$(head -c 2 "$log" | od -An -tx1 | tr -d ' ')" != "fffe"
check "the log is UTF-16LE with CRLF line ends" grep -q $'^W\x00i\x00n\x00V\x00e\x00r\x00:' "$log"
text=$(log_text "$log")
check "WinVer names the prefix's Windows (7, 64-bit)" grep -qx 'WinVer:14, Windows7(64bit)' <<<"$text"
expected_macros=(
  '<ProgramFilesDir(32bit)>:C:\Program Files (x86)\'
  '<ProgramFilesDir(64bit)>:C:\Program Files\'
  '<CommonFilesDir(32bit)>:C:\Program Files (x86)\Common Files\'
  '<CommonFilesDir(64bit)>:C:\Program Files\Common Files\'
  '<WinDir>:C:\windows\'
  '<WinSys32Dir(32bit)>:C:\windows\syswow64\'
  '<WinSys32Dir(64bit)>:C:\windows\system32\'
  '<UserDesktopDir>:C:\users\root\Desktop\'
  '<AllUsersDocumentsDir>:C:\users\Public\Documents\'
  '<AllUsersDesktopDir>:C:\users\Public\Desktop\'
  '<UserAppDataDir>:C:\users\root\AppData\Roaming\'
  '<UserLocalAppDataDir>:C:\users\root\AppData\Local\'
  '<AllUsersAppDataDir>:C:\ProgramData\'
  '<TempDir>:C:\users\root\Temp\'
)
user=$(id -un)
actual_macros=$(sed -n '2,15p' <<<"$text")
expected_text=$(printf '%s\n' "${expected_macros[@]}" | sed "s/\\\\root\\\\/\\\\$user\\\\/")
if [ "$actual_macros" = "$expected_text" ]; then
  echo "  ok   the 14 directory lines in their order, resolving to the prefix's folders"
else
  echo "  FAIL the 14 directory lines" >&2
  diff <(echo "$expected_text") <(echo "$actual_macros") >&2
  failures=$((failures + 1))
fi
check "CurLang follows an English locale" grep -qx 'CurLang:en-US' <<<"$text"

line=$(run_setup "$setup" de_DE.UTF-8)
check "CurLang follows a German locale" grep -qx 'CurLang:de-DE' <<<"$(log_text "$log")"
check "an earlier, longer log is replaced, not appended to" test "$(log_text "$log" | grep -c '^WinVer:')" = 1

echo "signed setup"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Velmora test" \
  -keyout "$work/key.pem" -out "$work/cert.pem" >/dev/null 2>&1
signed="$work/demo-setup-signed.exe"
sign() { osslsigncode sign -certs "$work/cert.pem" -key "$work/key.pem" -h sha256 -in "$setup" -out "$signed" >/dev/null; }
check "osslsigncode signs the packed setup" sign
check "osslsigncode verifies the signature" \
  bash -c "osslsigncode verify -CAfile '$work/cert.pem' -in '$signed' | grep -q 'Signature verification: ok'"
line=$(run_setup "$signed" en_US.UTF-8)
echo "       $line"
check "the signed setup still finds its payload" grep -Eq 'payload found, status 0x0, [0-9]+ entries, [1-9]' <<<"$line"

echo "log switched off"
project="$work/no-log-project"
cp -r "$demo" "$project"
sed -i 's/^Var\.OutLog=1/Var.OutLog=0/' "$project/pjcfg.ini"
quiet="$work/quiet-setup.exe"
check "the project switches the log off" grep -q '^Var.OutLog=0' "$project/pjcfg.ini"
pack_or_stop runtime_test "$project" "$quiet" "$work/pack-quiet.log"
# "No log" proves something only when the setup did run and read its payload.
line=$(run_setup "$quiet" en_US.UTF-8)
echo "       $line"
check "the quiet setup runs and finds its payload" grep -Eq 'payload found, status 0x0, [0-9]+ entries, [1-9]' <<<"$line"
check "no log file appears" test ! -e "$quiet.log"

if [ $failures -ne 0 ]; then
  echo "runtime_test: $failures check(s) failed" >&2
  exit 1
fi
echo "runtime_test: all checks passed"
