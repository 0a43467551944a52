#!/usr/bin/env bash
# The benchmark's payload installed by the runtime itself, its wizard driven
# from outside as a person would: the ready page, Next, the installing page
# (bar, file names and percentages drawn, messages pumped while it copies),
# the finish page, Finish. Prints per run and as medians: the install, from
# the end of the click on Next until the last file has its name (watched
# from Linux every 20 ms, so that no Wine program asks the window anything
# meanwhile), and the whole process from start to exit, clicks included.
# Each run is followed by the harness installing the same setup into the
# same folder (its RunInstall: the same work without a window), so the
# window's share shows as a ratio of pairs.
# Usage: wizard_bench.sh SETUP PROJECT RUNS, SETUP packed from PROJECT, which
# make_bench_project.py --wizard wrote.
set -uo pipefail
source "$(dirname "$0")/../../tests/e2e/common.sh"
source "$(dirname "$0")/../../tests/e2e/ui_common.sh"
setup=$1 project=$2 runs=$3
require_files wizard_bench "$setup" "$drive" "$harness" "$project/pjcfg.ini"
dest="$top/build/wine/prefix/drive_c/Program Files/bench-wizard"
dest_win='C:\Program Files\bench-wizard\'
last=$dest/$(sed -n 's|^[0-9]*\.Item\.Src=payload-src/||p' "$project/pjcfg.ini" | tr -d '\r' | tail -1)
payload_bytes=$(du -sbL "$project/payload-src" | cut -f1)
W="title=Bench Wizard - Velmora"
"$wine" --prepare
"$wine" --server -p 2>/dev/null || true

source "$(dirname "$0")/bench_helpers.sh"
seconds_since() { echo "$(date +%s.%N) - $1" | bc; }
fail() { echo "wizard_bench: $1" >&2; kill "$pid" 2>/dev/null; exit 1; }

# harness_install: RunInstall seconds of the harness installing the setup
# into the wizard's folder.
harness_install() {
  rm -rf "$dest"; sync
  "$wine" "$harness" install "$setup" "Ret.Location.Path=$dest_win" --timings > "$dest.harness.log" 2>&1 ||
    fail "the harness install failed: $(tail -n 3 "$dest.harness.log")"
  awk '/^elapsed_ms:/ { printf "%.3f", $2 / 1000 }' "$dest.harness.log" | tr -d '\r'
}

installs=() processes=() run_installs=() ratios=()
for i in $(seq 1 "$runs"); do
  rm -rf "$dest"; sync
  started=$(date +%s.%N)
  start_program pid "$setup"
  drive wait-control "$W" labBTitle --text Ready --timeout 60000 >/dev/null || fail "the ready page did not show"
  drive click "$W" btnNext >/dev/null
  clicked=$(date +%s.%N)
  for ((tick = 0; tick < 15000; tick++)); do [ -f "$last" ] && break; sleep 0.02; done
  install=$(seconds_since "$clicked")
  drive wait-control "$W" labBTitle --text Installed --timeout 60000 >/dev/null || fail "the finish page did not show"
  drive click "$W" btnNext >/dev/null
  wait_program "$pid" 60; status=$?
  [ $status = 0 ] || fail "the setup ended with $status, not 0"
  process=$(seconds_since "$started")
  installed=$(du -sb "$dest" | cut -f1)
  [ "$installed" = "$payload_bytes" ] || fail "installed $installed bytes, expected $payload_bytes"
  run_install=$(harness_install) || exit 1
  ratio=$(echo "$install / $run_install" | bc -l)
  printf "  wizard run %d: install %.2f s, process start to exit %.2f s; harness RunInstall %.2f s; wizard / harness %.2fx\n" \
    "$i" "$install" "$process" "$run_install" "$ratio"
  installs+=("$install"); processes+=("$process"); run_installs+=("$run_install"); ratios+=("$ratio")
done
rm -rf "$dest" "$dest.harness.log"
printf "  medians: wizard install %.2f s, process %.2f s; harness RunInstall %.2f s; paired ratio %.2fx\n" \
  "$(printf '%s\n' "${installs[@]}" | median)" "$(printf '%s\n' "${processes[@]}" | median)" \
  "$(printf '%s\n' "${run_installs[@]}" | median)" "$(printf '%s\n' "${ratios[@]}" | median)"
