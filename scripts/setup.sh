#!/usr/bin/env bash
# Installs everything the build and the tests need from Debian's archive.
# Idempotent: when every package and the fetched sources are present it only
# checks and returns within a second or two.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
third_party="$top/third_party"

# The zlib source package whose contrib/minizip the windows flavour compiles.
# Pinned: the archive serves this version, the security suite's newer source
# is not served as a source package.
readonly kZlibSourceVersion="1:1.2.13.dfsg-1"
readonly kMinizipDir="$third_party/minizip"

packages=(
  cmake ninja-build g++ pkg-config ccache
  clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  zlib1g-dev libz-mingw-w64-dev libminizip-dev libdeflate-dev
  googletest libgtest-dev libbenchmark-dev
  wine wine64 wine32:i386 xvfb xauth
  dpkg-dev zip unzip icoutils osslsigncode python3-pefile liblnk-utils unrtf
  nsis imagemagick openssl xdotool
)

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed' || echo "$p"
  done
}

ensure_i386() {
  dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386
}

# apt-get source needs a deb-src line for the Debian archive.
ensure_deb_src() {
  local list=/etc/apt/sources.list.d/velmora-src.sources
  [ -f "$list" ] && return 0
  # Same keyring as Debian's own entry: apt refuses one source with two.
  printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm' \
    'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
    as_root tee "$list" >/dev/null
  APT_UPDATED=""
}

APT_UPDATED=""
apt_update() {
  [ -n "$APT_UPDATED" ] && return 0
  # Third-party lists on some machines point at hosts we cannot reach; their
  # failures must not stop us, Debian's own lists are what we need.
  as_root apt-get update -o Acquire::Retries=3 || true
  APT_UPDATED=1
}

install_packages() {
  local missing
  missing=$(missing_packages)
  [ -z "$missing" ] && return 0
  ensure_i386
  apt_update
  # shellcheck disable=SC2086
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
}

fetch_minizip_sources() {
  [ -f "$kMinizipDir/unzip.c" ] && return 0
  ensure_deb_src
  apt_update
  local work
  work=$(mktemp -d)
  if ! (cd "$work" && apt-get source --download-only "zlib=$kZlibSourceVersion" >/dev/null 2>&1); then
    echo "setup: cannot fetch Debian's zlib source package $kZlibSourceVersion (needed for minizip in the windows build)." >&2
    echo "setup: check that deb.debian.org is reachable and serves that version: apt-cache showsrc zlib" >&2
    rm -rf "$work"
    exit 1
  fi
  (cd "$work" && dpkg-source --no-check -x ./*.dsc src >/dev/null)
  mkdir -p "$kMinizipDir"
  cp "$work"/src/contrib/minizip/{unzip.c,unzip.h,ioapi.c,ioapi.h,crypt.h,zip.c,zip.h} "$kMinizipDir/"
  rm -rf "$work"
}

install_packages
fetch_minizip_sources
