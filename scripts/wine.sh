#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's throw-away prefix
# (build/wine/prefix), with HOME redirected, the menu builder off and a
# virtual display. Usage: scripts/wine.sh PROGRAM.exe [ARGS...]
# The prefix is created on first use; the exit status is the program's.
# `scripts/wine.sh --can-run-32bit` exits 0 when this machine can run
# 32-bit Windows programs (Debian's Wine needs the kernel's 32-bit support).
# `scripts/wine.sh --prepare` only makes sure the prefix exists;
# `scripts/wine.sh --server ARGS` runs Wine's server for the prefix with ARGS
# (`-p`: start it and keep it up, `-k`: stop it).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
base="$top/build/wine"
export WINEPREFIX="$base/prefix"
export HOME="$base/home"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export WINEARCH=win64
mkdir -p "$HOME"

# The 32-bit loader is an i386 ELF program; without the kernel's 32-bit
# support only the 64-bit loader starts, and it runs only 64-bit programs.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  loader=/usr/lib/wine/wine
  can_run_32bit=1
else
  loader=/usr/lib/wine/wine64
  export WINELOADER=$loader
  can_run_32bit=0
fi
if [ "${1:-}" = "--can-run-32bit" ]; then
  [ $can_run_32bit = 1 ]; exit
fi

if [ ! -f "$WINEPREFIX/.velmora-ready" ]; then
  mkdir -p "$WINEPREFIX"
  "$loader" wineboot -i >/dev/null 2>&1 || true
  # A crashing test must fail at once, not wait on the crash dialog.
  "$loader" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
  wineserver -w
  touch "$WINEPREFIX/.velmora-ready"
fi
case "${1:-}" in
  --prepare) exit 0 ;;
  --server) shift; exec wineserver "$@" ;;
esac

if [ -n "${VELMORA_IN_XVFB:-}" ]; then
  exec "$loader" "$@"
fi
export VELMORA_IN_XVFB=1
exec xvfb-run -a -s "-screen 0 1024x768x24" "$loader" "$@"
