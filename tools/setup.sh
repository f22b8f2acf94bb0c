#!/usr/bin/env bash
# Prepares this machine for building and testing: Debian packages, libjpeg-turbo
# cross-built for both Windows targets, and a private Wine prefix. Everything it
# makes lives in .cache/ and is reused, so a second run costs a few milliseconds.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
CACHE=${ORV_CACHE_DIR:-$ROOT/.cache}
mkdir -p "$CACHE"
# shellcheck source=tools/programs.sh
source "$ROOT/tools/programs.sh"

PACKAGES=(
  cmake g++ make ninja-build ccache nasm dpkg-dev
  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix
  gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix binutils-mingw-w64
  wine64 xvfb xauth x11-apps imagemagick
  googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
  zlib1g-dev libjpeg62-turbo-dev libpng-dev libstb-dev libz-mingw-w64-dev
  libspng-dev libvips-dev pkgconf icoutils icnsutils
  libpugixml-dev libtinyxml2-dev
  unicode-data
)

log() { echo "setup: $*" >&2; }

missing_packages() {
  local installed
  installed=$(dpkg-query -W -f='${Package} ${Status}\n' "${PACKAGES[@]}" 2>/dev/null |
    awk '$4 == "installed" { sub(/:.*/, "", $1); print $1 }' || true)
  local p
  for p in "${PACKAGES[@]}"; do
    grep -qxF "$p" <<<"$installed" || echo "$p"
  done
}

as_root() {
  if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi
}

install_packages() {
  local missing
  missing=$(missing_packages)
  [[ -z $missing ]] && return 0
  log "installing:" $missing
  as_root apt-get update -qq
  # shellcheck disable=SC2086
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

# Source packages are needed only to cross-build libjpeg-turbo; add deb-src
# entries mirroring the machine's own binary entries, once.
enable_deb_src() {
  local list=/etc/apt/sources.list.d/orvanel-deb-src.sources
  [[ -f $list ]] && return 0
  if grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return 0
  fi
  log "enabling Debian source packages"
  local tmp
  tmp=$(mktemp)
  if [[ -f /etc/apt/sources.list.d/debian.sources ]]; then
    # deb822 stanzas: keep every stanza that carries binary packages, as deb-src.
    awk 'BEGIN{RS=""; ORS="\n\n"} /(^|\n)Types:[^\n]*deb/ {
           sub(/Types:[^\n]*/, "Types: deb-src"); print }' /etc/apt/sources.list.d/debian.sources >"$tmp"
  fi
  if [[ -f /etc/apt/sources.list ]]; then
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' >"${tmp}.list" || true
    if [[ -s ${tmp}.list ]]; then as_root cp "${tmp}.list" /etc/apt/sources.list.d/orvanel-deb-src.list; fi
    rm -f "${tmp}.list"
  fi
  if [[ -s $tmp ]]; then as_root cp "$tmp" "$list"; else as_root touch "$list"; fi
  rm -f "$tmp"
  as_root apt-get update -qq
}

# libjpeg-turbo has no mingw binary package: build it from Debian's source, static, SIMD on.
build_jpeg() {
  local arch=$1 triplet=$2 processor=$3
  local prefix=$CACHE/jpeg-$arch
  [[ -f $prefix/.done ]] && return 0
  local src
  src=$(ls -d "$CACHE"/src/libjpeg-turbo-*/ 2>/dev/null | head -n 1 || true)
  if [[ -z $src ]]; then
    enable_deb_src
    mkdir -p "$CACHE/src"
    log "fetching libjpeg-turbo sources"
    (cd "$CACHE/src" && apt-get source -qq libjpeg-turbo >/dev/null 2>&1) || {
      echo "setup: apt-get source libjpeg-turbo failed" >&2
      exit 1
    }
    src=$(ls -d "$CACHE"/src/libjpeg-turbo-*/ | head -n 1)
  fi
  log "building libjpeg-turbo for $arch"
  local build=$CACHE/build-jpeg-$arch
  rm -rf "$build" "$prefix"
  cmake -S "$src" -B "$build" -G "Unix Makefiles" \
    -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR="$processor" \
    -DCMAKE_C_COMPILER="$triplet-gcc-posix" -DCMAKE_RC_COMPILER="$triplet-windres" \
    -DCMAKE_ASM_NASM_COMPILER=nasm -DCMAKE_BUILD_TYPE=Release \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=ON -DWITH_TURBOJPEG=OFF \
    -DCMAKE_INSTALL_PREFIX="$prefix" >"$build.log" 2>&1 || { cat "$build.log" >&2; exit 1; }
  cmake --build "$build" -j"$(nproc)" >>"$build.log" 2>&1 || { tail -n 40 "$build.log" >&2; exit 1; }
  cmake --install "$build" >>"$build.log" 2>&1
  rm -rf "$build"
  touch "$prefix/.done"
}

# A Wine prefix of our own, so tests never touch a user's ~/.wine.
make_wine_prefix() {
  local prefix=$CACHE/wineprefix
  [[ -f $prefix/.done ]] && return 0
  log "creating Wine prefix"
  rm -rf "$prefix"
  WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    "$ORV_WINE" wineboot -i >/dev/null 2>&1 || true
  # The registry files are written when the server shuts down: wait for it.
  WINEPREFIX=$prefix "$ORV_WINESERVER" -w 2>/dev/null || true
  [[ -f $prefix/system.reg ]] || { echo "setup: wineboot did not create the prefix" >&2; exit 1; }
  touch "$prefix/.done"
}

# The tests' own prefix: a copy of the one above in which Wine manages no
# window itself. Without a window manager (Xvfb) Wine waits two seconds for one
# whenever a managed window (one with a caption, or one that was active) is
# hidden or destroyed; unmanaged, Wine places, activates and focuses the
# windows itself, as Windows does, and the wait is gone.
make_test_prefix() {
  local prefix=$CACHE/wineprefix-tests
  [[ -f $prefix/.done ]] && return 0
  log "creating the tests' Wine prefix"
  rm -rf "$prefix"
  cp -a "$CACHE/wineprefix" "$prefix"
  rm -f "$prefix/.done"
  WINEPREFIX=$prefix WINEDEBUG=-all "$ORV_WINE" reg add 'HKCU\Software\Wine\X11 Driver' \
    /v Managed /d N /f >/dev/null 2>&1 || true
  WINEPREFIX=$prefix "$ORV_WINESERVER" -w 2>/dev/null || true
  grep -q '^"Managed"="N"' "$prefix/user.reg" || { echo "setup: could not configure $prefix" >&2; exit 1; }
  touch "$prefix/.done"
}

# Every program the scripts call must be there, or we say which is missing now
# rather than fail half-way through a build or a test run.
check_programs() {
  local p missing=()
  for p in "${ORV_PROGRAMS[@]}"; do
    [[ -x $p ]] || missing+=("$p")
  done
  if [[ ${#missing[@]} -gt 0 ]]; then
    echo "setup: missing after installing the packages: ${missing[*]}" >&2
    exit 1
  fi
}

install_packages
check_programs
build_jpeg win64 x86_64-w64-mingw32 AMD64
build_jpeg win32 i686-w64-mingw32 x86
make_wine_prefix
make_test_prefix
