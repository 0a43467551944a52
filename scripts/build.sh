#!/usr/bin/env bash
# Configures and builds both flavours: build/native and build/windows.
# Usage: scripts/build.sh [FLAVOUR[:TARGET,...]]...   (default: native windows)
# FLAVOUR is native, windows, windows64 or fuzz; with ":TARGET,..." only the
# named CMake targets of that flavour are built (configured the same way),
# e.g. scripts/build.sh native:velmora-pack windows:velmora-runtime.
# windows is the shipped 32-bit flavour; windows64 the same code for x86_64,
# which Wine runs on machines that cannot execute 32-bit programs.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
# Paths inside the tree are hashed relative to it, so a second checkout
# (a git worktree, a CI clone) reuses the compiler cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$top}" CCACHE_NOHASHDIR=1

targets=()
configure_and_build() {
  local name=$1; shift
  local dir="$top/build/$name"
  if [ ! -f "$dir/build.ninja" ]; then
    # A compiler cache, when installed, makes rebuilds in a second checkout cheap.
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$top" -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
  fi
  if [ ${#targets[@]} -eq 0 ]; then
    cmake --build "$dir" -j "$jobs"
  else
    cmake --build "$dir" -j "$jobs" --target "${targets[@]}"
  fi
}

flavours=("$@")
[ ${#flavours[@]} -eq 0 ] && flavours=(native windows)
for request in "${flavours[@]}"; do
  flavour=${request%%:*}
  targets=()
  if [ "$request" != "$flavour" ]; then
    IFS=, read -r -a targets <<< "${request#*:}"
    if [ ${#targets[@]} -eq 0 ]; then
      echo "build: '$request' names no target after the colon" >&2; exit 2
    fi
  fi
  case "$flavour" in
    native)  configure_and_build native ;;
    windows) configure_and_build windows -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release ;;
    windows64) configure_and_build windows64 -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release ;;
    fuzz)    configure_and_build fuzz -DVELMORA_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo ;;
    *) echo "build: unknown flavour '$flavour' (native, windows, windows64 or fuzz)" >&2; exit 2 ;;
  esac
done
