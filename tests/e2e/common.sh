# Shared by the end-to-end scripts (sourced, not run): the build folders, the
# programs they use and the check helpers.
# Build folders: VELMORA_E2E_NATIVE (packer, default build/native) and
# VELMORA_E2E_WINDOWS (harness and runtime, default build/windows where this
# kernel runs 32-bit programs, else build/windows64).
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
wine="$top/scripts/wine.sh"
native=${VELMORA_E2E_NATIVE:-$top/build/native}
if [ -z "${VELMORA_E2E_WINDOWS:-}" ]; then
  if "$wine" --can-run-32bit; then windows=$top/build/windows; else windows=$top/build/windows64; fi
else
  windows=$VELMORA_E2E_WINDOWS
fi
pack="$native/tools/velmora-pack"
harness="$windows/tests/harness/velmora-harness.exe"
runtime="$windows/runtime/velmora-runtime.exe"

require_files() {  # require_files SCRIPT_NAME FILE... : exits when one is missing
  local name=$1 f; shift
  for f in "$@"; do
    [ -f "$f" ] || { echo "$name: missing $f (build first)" >&2; exit 1; }
  done
}

failures=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then echo "  ok   $what"; else echo "  FAIL $what" >&2; failures=$((failures + 1)); fi
}
same_text() { [ "$1" = "$2" ] || { echo "       expected: $2" >&2; echo "       actual:   $1" >&2; return 1; }; }
