#!/usr/bin/env bash
# Builds libjpeg-turbo as a static library for a Windows build, from Debian's own source package
# (the same release the native build links as libjpeg-dev), with that build's mingw-w64
# toolchain, and keeps it in that build tree:
#   scripts/lib/libjpeg-cross.sh i686|x86_64 BUILD_DIR
# installs headers and libjpeg.a under BUILD_DIR/_deps/libjpeg-turbo/install, where
# cmake/WdxJpeg.cmake looks for them. A finished build is kept: running it again costs nothing.
# The source package is fetched with apt-get source; when the machine has no deb-src entry, one
# for the machine's own Debian suites is added (as root or through sudo).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
ARCH=${1:?usage: libjpeg-cross.sh i686|x86_64 BUILD_DIR}
BUILD_DIR=${2:?usage: libjpeg-cross.sh i686|x86_64 BUILD_DIR}
case "$ARCH" in
  i686 | x86_64) ;;
  *) echo "libjpeg-cross: unknown architecture '$ARCH' (i686 or x86_64)" >&2; exit 2 ;;
esac
mkdir -p "$BUILD_DIR"
BUILD_DIR=$(cd "$BUILD_DIR" && pwd)
DEPS=$BUILD_DIR/_deps/libjpeg-turbo
INSTALL=$DEPS/install
STAMP=$INSTALL/.built

say() { printf '==> libjpeg-cross: %s\n' "$*"; }
fail() { printf 'ERROR: libjpeg-cross: %s\n' "$*" >&2; exit 1; }

[ -f "$STAMP" ] && [ -f "$INSTALL/lib/libjpeg.a" ] && exit 0

# Two builds of the same tree (a configure and a test run) must not fetch and build at once.
mkdir -p "$DEPS"
exec 9>"$DEPS/.lock"
flock 9
[ -f "$STAMP" ] && [ -f "$INSTALL/lib/libjpeg.a" ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null 2>&1 || fail "not root and no sudo: cannot install packages or add a deb-src entry"
  sudo=(sudo)
fi
apt_wait=(-o DPkg::Lock::Timeout=300)

need=()
command -v cmake >/dev/null 2>&1 || need+=(cmake)
command -v "$ARCH-w64-mingw32-gcc-posix" >/dev/null 2>&1 ||
  need+=("$([ "$ARCH" = i686 ] && echo gcc-mingw-w64-i686 || echo gcc-mingw-w64-x86-64)")
command -v dpkg-source >/dev/null 2>&1 || need+=(dpkg-dev)
if ((${#need[@]})); then
  say "installing ${need[*]}"
  "${sudo[@]}" apt-get "${apt_wait[@]}" update || true
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "${apt_wait[@]}" install -y "${need[@]}"
fi

# The source package, fetched once per build tree.
SRC_CACHE=$DEPS/source
if ! ls "$SRC_CACHE"/libjpeg-turbo_*.dsc >/dev/null 2>&1; then
  mkdir -p "$SRC_CACHE"
  if ! (cd "$SRC_CACHE" && apt-get source --download-only libjpeg-turbo) >"$DEPS/fetch.log" 2>&1; then
    if grep -q "deb-src" "$DEPS/fetch.log"; then
      # No deb-src entry: add one for the suites and mirror the machine's own deb entries use.
      . /etc/os-release
      suite=${VERSION_CODENAME:-bookworm}
      list=/etc/apt/sources.list.d/wdx-deb-src.sources
      say "adding the source entry $list for $suite"
      printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s %s-updates\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
        "$suite" "$suite" | "${sudo[@]}" tee "$list" >/dev/null
      "${sudo[@]}" apt-get "${apt_wait[@]}" update >>"$DEPS/fetch.log" 2>&1 || true
      (cd "$SRC_CACHE" && apt-get source --download-only libjpeg-turbo) >>"$DEPS/fetch.log" 2>&1 ||
        { tail -n 20 "$DEPS/fetch.log" >&2; fail "apt-get source libjpeg-turbo failed (log: $DEPS/fetch.log)"; }
    else
      tail -n 20 "$DEPS/fetch.log" >&2
      fail "apt-get source libjpeg-turbo failed (log: $DEPS/fetch.log)"
    fi
  fi
fi
dsc=$(ls "$SRC_CACHE"/libjpeg-turbo_*.dsc | head -n 1)

# Unpacked with Debian's own patches applied, as Debian builds it.
SRC=$DEPS/src
if [ ! -f "$SRC/CMakeLists.txt" ]; then
  rm -rf "$SRC"
  say "unpacking $(basename "$dsc")"
  dpkg-source --no-check -x "$dsc" "$SRC" >"$DEPS/unpack.log" 2>&1 ||
    { tail -n 20 "$DEPS/unpack.log" >&2; fail "dpkg-source -x failed (log: $DEPS/unpack.log)"; }
fi

# Static, without the SIMD parts (they need nasm, and the pictures are small), without the
# TurboJPEG wrapper and the tools: only the IJG library the player links.
say "building for $ARCH (log: $DEPS/build.log)"
rm -rf "$DEPS/build" "$INSTALL"
if ! {
  cmake -S "$SRC" -B "$DEPS/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$ARCH.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$INSTALL" \
    -DCMAKE_CROSSCOMPILING_EMULATOR= \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF \
    -DCMAKE_POSITION_INDEPENDENT_CODE=OFF &&
    cmake --build "$DEPS/build" -j3 --target jpeg-static
} >"$DEPS/build.log" 2>&1; then
  tail -n 40 "$DEPS/build.log" >&2
  fail "building libjpeg-turbo for $ARCH failed (log: $DEPS/build.log)"
fi
# Only the library and its four public headers (the install rules want the tools built too).
mkdir -p "$INSTALL/lib" "$INSTALL/include"
cp "$DEPS/build/libjpeg.a" "$INSTALL/lib/libjpeg.a"
cp "$SRC/jpeglib.h" "$SRC/jmorecfg.h" "$SRC/jerror.h" "$DEPS/build/jconfig.h" "$INSTALL/include/"
[ -f "$INSTALL/include/jpeglib.h" ] || fail "jpeglib.h was not installed under $INSTALL/include"
basename "$dsc" >"$STAMP"
say "done: $INSTALL"
