#!/usr/bin/env bash
# Sets up, builds and runs every test: the native unit tests, the fuzz
# targets for a bounded time each, then the windows-flavour test binaries
# under Wine. Exits non-zero when anything fails, and when Wine could not
# run the tests at all (a skipped Wine tier is a failure).
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
fuzz_seconds=${VELMORA_FUZZ_SECONDS:-20}

"$top/scripts/setup.sh" || exit 1
# Wine runs the shipped 32-bit build where the kernel can start 32-bit
# programs; elsewhere it runs the same tests built for x86_64.
if "$top/scripts/wine.sh" --can-run-32bit; then
  wine_flavour=windows
else
  wine_flavour=windows64
  echo "note: this kernel cannot run 32-bit programs; the Wine tier runs the x86_64 build of the windows tests"
fi
flavours=(native windows fuzz)
[ $wine_flavour = windows64 ] && flavours+=(windows64)
"$top/scripts/build.sh" "${flavours[@]}" || exit 1

failures=()
passed=0

run_suite() {  # run_suite LABEL COMMAND...
  local label=$1; shift
  local log
  log=$(mktemp)
  "$@" >"$log" 2>&1
  local status=$?
  # Wine or its virtual display that fails to start leaves not one line of
  # the suite's own; such a suite (RETRY_UNSTARTED set) runs once more, told.
  if [ $status -ne 0 ] && [ -n "${RETRY_UNSTARTED:-}" ] && ! grep -q '^\[==========\]' "$log"; then
    echo "$label: did not start (exit $status, $(wc -l < "$log") lines of output); running it once more"
    cat "$log"
    "$@" >"$log" 2>&1
    status=$?
  fi
  # GoogleTest's own summary lines, so every runner reports what it ran.
  grep -E '^\[(==========|  PASSED  |  FAILED  )\]|tests? ran|^Summary' "$log" | sed "s|^|$label: |"
  if [ $status -ne 0 ] || ! grep -q '^\[  PASSED  \]' "$log"; then
    echo "$label: FAILED (exit $status); output follows" >&2
    tail -n 80 "$log" >&2
    failures+=("$label")
  else
    passed=$((passed + 1))
  fi
  rm -f "$log"
}

echo "== native tests"
while read -r bin; do
  [ -n "$bin" ] && run_suite "native $(basename "$bin")" timeout 900 "$bin"
done < "$top/build/native/test_binaries.txt"

echo "== fuzz targets (${fuzz_seconds}s each)"
while read -r bin; do
  [ -z "$bin" ] && continue
  name=$(basename "$bin")
  corpus="$top/build/fuzz/corpus/$name"
  mkdir -p "$corpus"
  if "$bin" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 "$corpus" >"$top/build/fuzz/$name.log" 2>&1; then
    echo "fuzz $name: $(grep -Eo 'Done [0-9]+ runs' "$top/build/fuzz/$name.log" | tail -1)"
    passed=$((passed + 1))
  else
    echo "fuzz $name: FAILED; output follows" >&2
    tail -n 60 "$top/build/fuzz/$name.log" >&2
    failures+=("fuzz $name")
  fi
done < "$top/build/fuzz/fuzz_binaries.txt"

echo "== windows tests under Wine ($wine_flavour)"
wine_ran=0
while read -r bin; do
  [ -z "$bin" ] && continue
  wine_ran=1
  RETRY_UNSTARTED=1 run_suite "wine $(basename "$bin")" timeout 900 "$top/scripts/wine.sh" "$bin"
done < "$top/build/$wine_flavour/test_binaries.txt"
if [ $wine_ran -eq 0 ]; then
  echo "wine: no test binaries were run" >&2
  failures+=("wine tier skipped")
fi

# A window script drives a real desktop on a shared machine; one that fails
# runs once more, and both runs are told. A fault fails both runs; the
# checks the first run failed are repeated at the end either way.
e2e_failed_checks=$(mktemp)
run_e2e() {  # run_e2e SCRIPT RUN: its output shown and kept as $e2e_failed_checks.RUN
  bash "$1" 2>&1 | tee "$e2e_failed_checks.$2"
  return "${PIPESTATUS[0]}"
}
for script in "$top"/tests/e2e/*_test.sh; do
  [ -f "$script" ] || continue
  name=$(basename "$script")
  rm -f "$e2e_failed_checks.first" "$e2e_failed_checks.second"
  echo "== end-to-end $name"
  if run_e2e "$script" first; then
    echo "e2e $name: PASSED"
    passed=$((passed + 1))
    continue
  fi
  echo "== end-to-end $name, second run (the first failed)"
  if run_e2e "$script" second; then
    echo "e2e $name: PASSED on the second run"
    passed=$((passed + 1))
    { echo "$name: first run failed, second passed:"; grep -h -B2 -E 'FAIL|failed' "$e2e_failed_checks.first"; } >> "$e2e_failed_checks"
  else
    failures+=("e2e $name")
    { echo "$name: failed twice:"; grep -h -B2 -E 'FAIL|failed' "$e2e_failed_checks.first" "$e2e_failed_checks.second"; } >> "$e2e_failed_checks"
  fi
done
rm -f "$e2e_failed_checks.first" "$e2e_failed_checks.second"
if [ -s "$e2e_failed_checks" ]; then
  echo "== end-to-end checks that failed"
  cat "$e2e_failed_checks"
fi
rm -f "$e2e_failed_checks"

# One closing line in plain form: suites, fuzz targets and end-to-end
# scripts, each counted once.
if [ ${#failures[@]} -ne 0 ]; then
  echo "FAILED: ${failures[*]}" >&2
  echo "$passed passed, ${#failures[@]} failed"
  exit 1
fi
echo "$passed passed, 0 failed"
