#!/usr/bin/env bash
# The cross-compiling emulator of the Windows presets: wine-run.sh 32|64 PROGRAM [ARG...].
# A 32-bit program on a host that cannot run 32-bit programs is not run: the script says so and
# exits 77, which the Windows tests declare as their skip code (ctest then lists them as not
# run, never as passed). A 64-bit program always runs under the 64-bit loader.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/wine-arch.sh"
bits=$1
shift
wdx_wine_arch
export WINEDEBUG=${WINEDEBUG:--all}
if [ -z "${WINEPREFIX:-}" ]; then
  # Run by hand: a prefix of our own per road, never the one of the other loader.
  export WINEPREFIX=${XDG_CACHE_HOME:-$HOME/.cache}/wendrix/wine-prefix-$WDX_WINE_ARCH
  mkdir -p "$(dirname "$WINEPREFIX")"
fi
if [ "$bits" = 32 ]; then
  if [ "$WDX_WINE_ARCH" != 32 ]; then
    echo "NOT RUN: $WDX_WINE_ARCH_WHY" >&2
    exit 77
  fi
  wdx_prefix_check "$WINEPREFIX" || exit 1
  exec wine "$@"
fi
export WINELOADER=$WDX_WINE64_LOADER
wdx_prefix_check "$WINEPREFIX" || exit 1
exec "$WDX_WINE64_LOADER" "$@"
