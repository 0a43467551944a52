#!/usr/bin/env bash
# The main job: set up, build, pack the sample project examples/demo into
# dist/demo-setup.exe and run it under Wine. Artefacts land in dist/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dist="$top/dist"

"$top/scripts/setup.sh"
flavours=(native windows)
if ! "$top/scripts/wine.sh" --can-run-32bit; then
  flavours+=(windows64)
fi
"$top/scripts/build.sh" "${flavours[@]}"

mkdir -p "$dist"
cp "$top/build/native/tools/velmora-pack" "$dist/"
cp "$top/build/windows/runtime/velmora-runtime.exe" "$dist/"
cp "$top/build/windows/tools/velmora-pack.exe" "$dist/"

"$dist/velmora-pack" build "$top/examples/demo" -o "$dist/demo-setup.exe" --runtime "$dist/velmora-runtime.exe"
"$dist/velmora-pack" inspect "$dist/demo-setup.exe"

# The shipped setup is 32-bit. Where this kernel cannot run 32-bit programs
# Wine cannot start it, so the same project is packed into the x86_64 build
# of the runtime and that one runs.
run_setup="$dist/demo-setup.exe"
if ! "$top/scripts/wine.sh" --can-run-32bit; then
  cp "$top/build/windows64/runtime/velmora-runtime.exe" "$dist/velmora-runtime-x64.exe"
  "$dist/velmora-pack" build "$top/examples/demo" -o "$dist/demo-setup-x64.exe" --runtime "$dist/velmora-runtime-x64.exe"
  run_setup="$dist/demo-setup-x64.exe"
  echo "note: this kernel cannot run 32-bit programs; running $(basename "$run_setup") under Wine instead"
fi

echo "running $(basename "$run_setup") under Wine"
# The setup's status is reported, not left to `set -e`: a failing setup still
# shows its log below, and the script ends with the setup's status.
status=0
"$top/scripts/wine.sh" "$run_setup" || status=$?
echo "setup exited with status $status"
log="$run_setup.log"
if [ -f "$log" ]; then
  echo "setup log $(basename "$log"):"
  iconv -f UTF-16LE -t UTF-8 "$log" | sed 's/^/  /'
fi
echo "artefacts in dist/:"
ls -l "$dist" | sed 1d | awk '{print "  " $NF " (" $5 " bytes)"}'
exit "$status"
