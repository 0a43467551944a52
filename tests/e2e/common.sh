# Shared by the end-to-end scripts (sourced, not run): the build folders, the
# programs they use and the check helpers.
# Build folders: VELMORA_E2E_NATIVE (packer, default build/native) and
# VELMORA_E2E_WINDOWS (harness and runtime, default build/windows where this
# kernel runs 32-bit programs, else build/windows64).
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
wine="$top/scripts/wine.sh"
# One virtual display for the whole script rather than one per Wine call:
# cheaper, and a program one call leaves running keeps its display.
if [ -z "${VELMORA_IN_XVFB:-}" ]; then
  export VELMORA_IN_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
native=${VELMORA_E2E_NATIVE:-$top/build/native}
if [ -z "${VELMORA_E2E_WINDOWS:-}" ]; then
  if "$wine" --can-run-32bit; then windows=$top/build/windows; else windows=$top/build/windows64; fi
else
  windows=$VELMORA_E2E_WINDOWS
fi
pack="$native/tools/velmora-pack"
harness="$windows/tests/harness/velmora-harness.exe"
runtime="$windows/runtime/velmora-runtime.exe"

# pack_or_stop SCRIPT_NAME PROJECT SETUP LOG: packs PROJECT into the runtime
# as SETUP; on failure shows the packer's output and ends the script.
pack_or_stop() {
  "$pack" build "$2" -o "$3" --runtime "$runtime" >"$4" 2>&1 || {
    cat "$4" >&2; echo "$1: packing failed" >&2; exit 1; }
}

# The setup selects no registry view, so on 64-bit Windows a 32-bit build's
# keys land in the 32-bit view and a 64-bit build's in the native one; the
# scripts read them in the view of the harness they run (its PE machine).
pe_machine() {  # pe_machine FILE: 014c for x86, 8664 for x86-64
  local header
  header=$(od -An -tu4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$header" ] && od -An -tx2 -j $((header + 4)) -N 2 "$1" | tr -d ' '
}
if [ "$(pe_machine "$harness")" = 014c ]; then setup_view=/reg:32; else setup_view=/reg:64; fi

# put_ini_keys FILE ENTRY...: sets each ENTRY (SECTION:KEY=VALUE) in the
# project file FILE: a KEY line already in [SECTION] goes, and the new line
# is put right under the section's header (the same key in other sections
# stays, a German title beside an English one say).
put_ini_keys() {
  local file=$1 entry section key; shift
  for entry in "$@"; do
    section=${entry%%:*}; section=${section//./\\.}
    key=${entry#*:}; key=${key%%=*}; key=${key//./\\.}
    sed -i "/^\\[$section\\]\$/,/^\\[/{/^$key=/d}" "$file"
    sed -i "/^\\[$section\\]\$/a ${entry#*:}" "$file"
  done
}

require_files() {  # require_files SCRIPT_NAME FILE... : exits when one is missing
  local name=$1 f; shift
  for f in "$@"; do
    [ -f "$f" ] || { echo "$name: missing $f (build first)" >&2; exit 1; }
  done
}

# Wine ends every service of the prefix as soon as no ordinary program runs
# in it, so a service started by one call would not outlive it (whether a
# check still sees it running is then a matter of timing). This keeps one
# idle program running until the script ends.
keep_prefix_awake() {
  "$wine" ping.exe -n 3600 127.0.0.1 >/dev/null 2>&1 &
  prefix_keeper=$!
  trap 'kill $prefix_keeper 2>/dev/null' EXIT
}

# Runs a Wine program and prints what it wrote, without carriage returns and
# Xlib's complaints. Through a file, not a pipe: a system process that the
# program starts (the desktop, say) inherits its output and, while the prefix
# is kept awake, would hold a pipe open until the script ends.
wine_text() {
  local out status
  out=$(mktemp)
  "$wine" "$@" > "$out" 2>&1; status=$?
  tr -d '\r' < "$out" | grep -v '^X connection'
  rm -f "$out"
  return $status
}

failures=0
# A script may define check_failed_hook (a screenshot, say): it runs after
# each failed check.
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then echo "  ok   $what"; else
    echo "  FAIL $what" >&2; failures=$((failures + 1))
    if declare -F check_failed_hook >/dev/null; then check_failed_hook; fi
  fi
}
fails() { ! "$@" >/dev/null 2>&1; }  # fails COMMAND...: true when it fails
# log_text FILE: a setup log (UTF-16LE, CRLF) as UTF-8 lines; nothing while
# the file is missing.
log_text() { iconv -f UTF-16LE -t UTF-8 "$1" 2>/dev/null | tr -d '\r'; }
same_text() { [ "$1" = "$2" ] || { echo "       expected: $2" >&2; echo "       actual:   $1" >&2; return 1; }; }
# check_record_lines FILE EXPECTED: each line of EXPECTED is a whole line of
# the record FILE.
check_record_lines() {
  local line
  while IFS= read -r line; do
    check "record ${line%%=*}" grep -qxF -- "$line" "$1"
  done <<< "$2"
}
# check_record_whole FILE EXPECTED: as above, and the record has no other line.
check_record_whole() {
  check_record_lines "$1" "$2"
  check "record holds no other key" same_text "$(wc -l < "$1")" "$(printf '%s\n' "$2" | wc -l)"
}
