# Shared by scripts/test.sh and scripts/demo.sh: what a machine needs, and how a preset is built.
# Source it; it defines functions and variables only.

WDX_ROOT=${WDX_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}

# Debian packages the build and the tests need. This is the one list: add a package here when
# a build or a test needs it.
WDX_APT_PACKAGES=(
  cmake ninja-build g++ python3
  libgtest-dev libgmock-dev googletest libbenchmark-dev libjpeg-dev dpkg-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64
  wine wine32:i386 wine64
  xvfb xauth x11-utils xdotool imagemagick tesseract-ocr
  python3-aiosmtpd
)

# What scripts/fuzz.sh needs on top (clang and its libFuzzer); it installs them itself, so a
# machine that never fuzzes never needs them.
WDX_FUZZ_APT_PACKAGES=(clang libclang-rt-dev)

# Commands that must exist once the packages are in (checked so a half-installed machine is
# named clearly instead of failing somewhere deep in a build).
WDX_REQUIRED_COMMANDS=(
  cmake ninja g++ python3
  i686-w64-mingw32-g++-posix x86_64-w64-mingw32-g++-posix
  wine wineboot wineserver Xvfb xdpyinfo xdotool timeout tesseract
)

wdx_say() { printf '==> %s\n' "$*"; }
wdx_err() { printf 'ERROR: %s\n' "$*" >&2; }

# Installs every package given that dpkg does not report as installed.
wdx_install_packages() {
  local missing=() p
  if ! command -v dpkg >/dev/null 2>&1; then
    wdx_err "this machine has no dpkg; install by hand: $*"
    return 1
  fi
  for p in "$@"; do
    # Installed means status "ii": a removed package keeps its configuration and dpkg -s still
    # answers for it.
    dpkg-query -W -f='${db:Status-Abbrev}' "$p" 2>/dev/null | grep -q '^ii' || missing+=("$p")
  done
  if ((${#missing[@]})); then
    wdx_say "installing missing packages: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
      if command -v sudo >/dev/null 2>&1; then
        sudo=(sudo)
      else
        wdx_err "missing packages: ${missing[*]}; as root run: dpkg --add-architecture i386 && apt-get update && apt-get install -y ${missing[*]}"
        return 1
      fi
    fi
    # wine32 is an i386 package: the architecture must be known to dpkg before apt sees it.
    if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
      "${sudo[@]}" dpkg --add-architecture i386 || { wdx_err "dpkg --add-architecture i386 failed"; return 1; }
    fi
    # A third-party source that cannot be reached makes apt-get update fail although Debian's
    # own lists came in; the install below says clearly whether anything is really missing.
    "${sudo[@]}" apt-get update || wdx_say "apt-get update reported errors; trying the install anyway"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}" ||
      { wdx_err "apt-get install failed for: ${missing[*]}"; return 1; }
  fi
}

# Installs what the build and the tests need (WDX_APT_PACKAGES) and checks their commands.
wdx_install_deps() {
  wdx_install_packages "${WDX_APT_PACKAGES[@]}" || return 1
  local absent=() c
  for c in "${WDX_REQUIRED_COMMANDS[@]}"; do
    command -v "$c" >/dev/null 2>&1 || absent+=("$c")
  done
  if ((${#absent[@]})); then
    wdx_err "commands still missing after installing packages: ${absent[*]}"
    return 1
  fi
  if [ ! -f /usr/src/googletest/CMakeLists.txt ]; then
    wdx_err "GoogleTest sources missing at /usr/src/googletest (package googletest)"
    return 1
  fi
}

# wdx_build_preset PRESET BUILD_DIR LOG [TARGET...]: configures PRESET into BUILD_DIR and builds
# the given targets (all when none). Output goes to LOG; its tail is shown on failure.
wdx_build_preset() {
  local preset=$1 dir=$2 log=$3
  shift 3
  local targets=()
  (($#)) && targets=(--target "$@")
  mkdir -p "$(dirname "$log")"
  # The Windows builds link libjpeg-turbo cross-built from Debian's source package, kept in
  # their build tree; built first so the configure finds it.
  local jpeg_arch=
  case "$preset" in win32) jpeg_arch=i686 ;; win64) jpeg_arch=x86_64 ;; esac
  if [ -n "$jpeg_arch" ] && ! bash "$WDX_ROOT/scripts/lib/libjpeg-cross.sh" "$jpeg_arch" "$dir" >>"$log" 2>&1; then
    tail -n 30 "$log" >&2
    wdx_err "building libjpeg for $preset failed (full log: $log)"
    return 1
  fi
  if ! (cd "$WDX_ROOT" && cmake --preset "$preset" -B "$dir" && cmake --build "$dir" "${targets[@]}") >"$log" 2>&1; then
    tail -n 60 "$log" >&2
    wdx_err "building $preset failed (full log: $log)"
    return 1
  fi
}
