# Which Wine road this host takes: 32-bit programs under Debian's `wine`, or the 64-bit build
# under the 64-bit loader. Sourced by tests/e2e/lib.sh and scripts/lib/wine-run.sh; defines
# functions and variables only.
#
# Some hosts run 64-bit user code only (the kernel's IA-32 emulation is off): every i386 program,
# Wine's 32-bit loader included, fails with "Exec format error", and Debian's `wine` wrapper
# still picks that loader. Whether 32-bit works is found out by trying the 32-bit loader itself,
# not by reading kernel versions or package lists, once per run: the answer is exported, so
# every script and test program started below shares it.
#
# WDX_FORCE_WINE64=1 takes the 64-bit road on any host.

WDX_WINE64_LOADER=${WDX_WINE64_LOADER:-/usr/lib/wine/wine64}
WDX_WINE32_LOADER=${WDX_WINE32_LOADER:-/usr/lib/wine/wine}
WDX_NO32_NOTE="32-bit programs cannot run on this host: Windows tests ran on the 64-bit build"

# Sets and exports WDX_WINE_ARCH (32 or 64) and WDX_WINE_ARCH_WHY.
wdx_wine_arch() {
  if [ "${WDX_WINE_ARCH:-}" = 32 ] || [ "${WDX_WINE_ARCH:-}" = 64 ]; then
    return 0
  fi
  if [ "${WDX_FORCE_WINE64:-0}" = 1 ]; then
    WDX_WINE_ARCH=64
    WDX_WINE_ARCH_WHY="the 64-bit road was forced (WDX_FORCE_WINE64=1)"
  elif [ -x "$WDX_WINE32_LOADER" ] && "$WDX_WINE32_LOADER" --version >/dev/null 2>&1; then
    WDX_WINE_ARCH=32
    WDX_WINE_ARCH_WHY="32-bit programs run on this host"
  else
    WDX_WINE_ARCH=64
    WDX_WINE_ARCH_WHY="32-bit programs cannot run on this host ($WDX_WINE32_LOADER does not start)"
  fi
  export WDX_WINE_ARCH WDX_WINE_ARCH_WHY
}

# Sets WDX_WINE (the command that starts the tests' Windows programs) and, on the 64-bit road,
# exports WINELOADER so that Wine's own helpers (wineboot, winepath, start) stay on that loader.
wdx_wine_loader_setup() {
  wdx_wine_arch
  if [ "$WDX_WINE_ARCH" = 64 ]; then
    WDX_WINE=$WDX_WINE64_LOADER
    export WINELOADER=$WDX_WINE64_LOADER
  else
    WDX_WINE=wine
    # A 64-bit decision made earlier in this shell must not keep steering Wine's helpers.
    if [ "${WINELOADER:-}" = "$WDX_WINE64_LOADER" ]; then unset WINELOADER; fi
  fi
  return 0
}

# The file in a prefix that says which loader made it: a prefix is never handed to the other.
wdx_prefix_mark() { printf '%s/.wdx-loader-%s\n' "$1" "$2"; }

# wdx_prefix_check PREFIX: fails (with the reason on stderr) when PREFIX was made by the other
# loader; marks a prefix that is not marked yet.
wdx_prefix_check() {
  local prefix=$1 other=32
  [ "$WDX_WINE_ARCH" = 32 ] && other=64
  if [ -e "$(wdx_prefix_mark "$prefix" "$other")" ]; then
    printf 'the Wine prefix %s was made by the %s-bit road; the %s-bit road needs its own\n' \
      "$prefix" "$other" "$WDX_WINE_ARCH" >&2
    return 1
  fi
  if [ -d "$prefix" ]; then
    : >"$(wdx_prefix_mark "$prefix" "$WDX_WINE_ARCH")" 2>/dev/null || true
  fi
  return 0
}
