#!/usr/bin/env bash
# Packing speed and output size of velmora-pack next to makensis (zlib) on
# the same ~300 MB of files (1,000 files, half text, half random bytes).
#
#   tools/bench/pack_bench.sh [RUNS]        (default 3 runs of each, alternating)
#
# Environment: BUILD (default build/native) holds tools/velmora-pack;
# RUNTIME is the runtime to pack into (default: the shipped 32-bit runtime
# from build/windows, else a fixture program of the native build); NSIS_SOLID=1
# also packs makensis in solid mode; THREADS and LEVEL go to velmora-pack.
# Everything generated stays under build/bench/. Prints one line per run
# and the medians.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-3}
build=${BUILD:-$top/build/native}
work=$top/build/bench
payload=$work/payload
project=$work/project
pack=$build/tools/velmora-pack
shared=${VELMORA_SHARED:-$(cd "$top/.." && pwd)/shared}  # ../shared beside the repository
gen=$shared/bench/gen_payload.py
nsi=$shared/bench/bench.nsi

die() { echo "pack_bench: $*" >&2; exit 1; }
[ -x "$pack" ] || die "no packer at $pack (build it, or set BUILD)"
[ -f "$gen" ] && [ -f "$nsi" ] || die "no benchmark inputs in $shared/bench (set VELMORA_SHARED)"
command -v makensis >/dev/null || die "makensis is not installed (Debian package nsis)"

runtime=${RUNTIME:-}
if [ -z "$runtime" ]; then
  for r in "$top/build/windows/runtime/velmora-runtime.exe" "$top/dist/velmora-runtime.exe" \
           "$build/tools/pe_fixtures/fixture32.exe"; do
    [ -f "$r" ] && { runtime=$r; break; }
  done
fi
[ -n "$runtime" ] || die "no runtime found (set RUNTIME)"

mkdir -p "$work"
if [ ! -f "$work/manifest.txt" ] || [ "$(wc -l < "$work/manifest.txt")" -ne 1000 ]; then
  echo "generating the payload in $payload ..."
  python3 "$gen" "$payload" | sed 's/^/  /'
fi

# The project: one component, one root folder and one file item per file,
# each named by its source; pjcfg.ini is rewritten every time (cheap).
mkdir -p "$project"
{
  printf '[s.c]\nLang0=English{en-US:}\nDefaultLang=en-US\n[s.f]\n'
  printf '1.Item=0;\\t2;\\t12584958;\\t0;\\t0;\\t1;\\t0;\\tBench\n'
  printf '2.Item=1;\\t3;\\t12584958;\\t0;\\t0;\\t0;\\t0;\\t<Application Folder>\n'
  n=3
  while IFS=$'\t' read -r _ rel; do
    printf '%d.Item=2;\\t5;\\t12584958;\\t2;\\t0;\\t0;\\t0;\\t%d*%s\n' "$n" "$n" "$(basename "$rel")"
    printf '%d.Item.Src=../payload/%s\n' "$n" "$rel"
    n=$((n + 1))
  done < "$work/manifest.txt"
} > "$project/pjcfg.ini"

input_bytes=$(awk -F'\t' '{ n += $1 } END { print n }' "$work/manifest.txt")
export SOURCE_DATE_EPOCH=1700000000

# time_one LABEL CMD...: runs once, appends "seconds bytes" to $work/LABEL.times
time_one() {
  local label=$1 out=$2; shift 2
  rm -f "$out"
  /usr/bin/time -f '%e %M' -o "$work/last.time" "$@" > "$work/$label.log" 2>&1 ||
    die "$label failed: see $work/$label.log"
  local secs peak
  read -r secs peak < "$work/last.time"
  local size
  size=$(stat -c %s "$out")
  echo "$secs $size $peak" >> "$work/$label.times"
  awk -v l="$label" -v s="$secs" -v in_bytes="$input_bytes" -v o="$size" -v p="$peak" 'BEGIN {
    printf "  %-18s %7.2f s  %8.1f MB/s  output %11d bytes  peak %6d MiB\n", l, s, in_bytes / 1e6 / s, o, p / 1024
  }'
}

labels=(velmora-pack makensis-zlib)
[ "${NSIS_SOLID:-0}" = 1 ] && labels+=(makensis-zlib-solid)
for l in "${labels[@]}"; do rm -f "$work/$l.times"; done

pack_args=()
[ -n "${THREADS:-}" ] && pack_args+=(--threads "$THREADS")
[ -n "${LEVEL:-}" ] && pack_args+=(--level "$LEVEL")

echo "input: $input_bytes bytes in 1000 files; runtime: $runtime; $(nproc) processors"
for i in $(seq 1 "$runs"); do
  echo "run $i"
  time_one velmora-pack "$work/setup.exe" \
    "$pack" build "$project" -o "$work/setup.exe" --runtime "$runtime" "${pack_args[@]}"
  time_one makensis-zlib "$work/nsis.exe" \
    makensis -V1 -DCOMP=zlib -DSOLID=0 -DPAYLOAD="$payload" -DOUT="$work/nsis.exe" "$nsi"
  if [ "${NSIS_SOLID:-0}" = 1 ]; then
    time_one makensis-zlib-solid "$work/nsis-solid.exe" \
      makensis -V1 -DCOMP=zlib -DSOLID=1 -DPAYLOAD="$payload" -DOUT="$work/nsis-solid.exe" "$nsi"
  fi
done

"$pack" inspect "$work/setup.exe" > "$work/inspect.log" || die "the packed setup does not inspect clean"

echo "medians over $runs runs (ratios against makensis-zlib of the same runs):"
median_of() {  # median_of LABEL COLUMN
  awk -v c="$2" '{ print $c }' "$work/$1.times" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}
ref_s=$(median_of makensis-zlib 1); ref_b=$(median_of makensis-zlib 2); ref_p=$(median_of makensis-zlib 3)
for l in "${labels[@]}"; do
  awk -v l="$l" -v s="$(median_of "$l" 1)" -v b="$(median_of "$l" 2)" -v p="$(median_of "$l" 3)" \
      -v rs="$ref_s" -v rb="$ref_b" -v rp="$ref_p" -v in_bytes="$input_bytes" 'BEGIN {
    printf "  %-20s %7.2f s (%.2fx)  %8.1f MB/s  output %11d bytes (%.4fx)  peak %6d MiB (%.2fx)\n",
           l, s, s / rs, in_bytes / 1e6 / s, b, b / rb, p / 1024, p / rp
  }'
done
echo "  goals: time <= 5 s on 2 cores and <= 0.35x, output <= 1.0000x, peak <= 128 MiB"
