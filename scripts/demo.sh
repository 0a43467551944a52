#!/usr/bin/env bash
# The main job: set up, build what the demo needs, pack the sample project
# examples/demo into dist/demo-setup.exe and show its wizard under Wine:
# on the display when there is one, otherwise on a virtual display, where
# scripts/demo_tour.sh photographs every page it reaches into
# dist/screenshots/ and reports what an install made and its uninstall left.
# Ends with a summary and the status of the setup (or of the tour).
set -euo pipefail
started=$(date +%s)
top=$(cd "$(dirname "$0")/.." && pwd)
dist="$top/dist"
wine="$top/scripts/wine.sh"

"$top/scripts/setup.sh"

# The shipped setup is 32-bit. Where this kernel cannot run 32-bit programs
# Wine cannot start it, so the same project is also packed into the x86_64
# build of the runtime and that one runs.
if "$wine" --can-run-32bit; then run_flavour=windows; else run_flavour=windows64; fi

has_display() {
  [ -n "${DISPLAY:-}" ] && { xdpyinfo >/dev/null 2>&1 || xset q >/dev/null 2>&1; }
}

# has_target FLAVOUR NAME: the configured build folder defines target NAME
# (the window driver exists only once its branch has landed).
has_target() {
  ninja -C "$top/build/$1" -t targets all 2>/dev/null | grep -q "^$2: "
}

# Only what the demo runs: the packer, the runtime and the service program
# that the project installs (the test service, a few seconds to build).
builds=(native:velmora-pack windows:velmora-runtime,velmora-test-service)
[ "$run_flavour" = windows64 ] && builds+=(windows64:velmora-runtime,velmora-test-service)
"$top/scripts/build.sh" "${builds[@]}"
if has_display; then
  mode=display
else
  mode=virtual
  if has_target "$run_flavour" velmora-drive; then
    "$top/scripts/build.sh" "$run_flavour:velmora-drive"
  fi
fi

mkdir -p "$dist"
cp "$top/build/native/tools/velmora-pack" "$dist/"
cp "$top/build/windows/runtime/velmora-runtime.exe" "$dist/"

# pack_demo FLAVOUR SETUP: stages the project with its generated parts (the
# skin images and the service program of FLAVOUR) in build/demo-project and
# packs it into the runtime of FLAVOUR.
pack_demo() {
  local stage="$top/build/demo-project"
  rm -rf "$stage"
  cp -r "$top/examples/demo" "$stage"
  "$top/scripts/make_demo_skin.sh" "$stage/payload/skin" >/dev/null
  cp "$top/build/$1/tests/test_service/velmora-test-service.exe" "$stage/app/BrindleSync.exe"
  "$dist/velmora-pack" build "$stage" -o "$2" --runtime "$top/build/$1/runtime/velmora-runtime.exe"
}
pack_demo windows "$dist/demo-setup.exe"
"$dist/velmora-pack" inspect "$dist/demo-setup.exe"
run_setup="$dist/demo-setup.exe"
if [ "$run_flavour" = windows64 ]; then
  run_setup="$dist/demo-setup-x64.exe"
  pack_demo windows64 "$run_setup"
  echo "note: this kernel cannot run 32-bit programs; running $(basename "$run_setup") under Wine instead"
fi

status=0
rm -f "$run_setup.log"
if [ "$mode" = display ]; then
  echo "running $(basename "$run_setup") on display $DISPLAY: the wizard is yours"
  # The setup's status is reported, not left to `set -e`.
  VELMORA_IN_XVFB=1 "$wine" "$run_setup" || status=$?
  echo "setup exited with status $status"
else
  echo "no display: touring the wizard of $(basename "$run_setup") on a virtual display"
  VELMORA_IN_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24" \
    "$top/scripts/demo_tour.sh" "$run_setup" "$run_flavour" "$dist/screenshots" || status=$?
fi

log="$run_setup.log"
if [ -f "$log" ]; then
  echo "setup log $(basename "$log"):"
  iconv -f UTF-16LE -t UTF-8 "$log" | sed 's/^/  /'
fi
echo "artefacts in dist/:"
find "$dist" -maxdepth 1 -type f -printf '  %f (%s bytes)\n' | sort

elapsed=$(( $(date +%s) - started ))
echo
echo "summary"
if [ "$mode" = display ]; then
  echo "  the wizard ran on display $DISPLAY; setup status $status"
else
  echo "  screenshots: $dist/screenshots/ (open index.html there); tour status $status"
fi
printf '  the whole command took %d min %02d s\n' $((elapsed / 60)) $((elapsed % 60))
exit "$status"
