#!/usr/bin/env bash
# The main job: set up, build both flavours, leave the artefacts in dist/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh" native windows
mkdir -p "$top/dist"
echo "artefacts:"
for f in "$top"/build/windows/*.exe "$top"/build/native/tools/velmora-pack; do
  [ -f "$f" ] || continue
  cp "$f" "$top/dist/"
  echo "  dist/$(basename "$f")"
done
