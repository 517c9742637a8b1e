#!/usr/bin/env bash
# The main job, shown under Wine on a virtual display: builds the Windows programs, starts
# Wendplay (it runs hidden, as it always does), shows that it is running and closes it again.
#
# WDX_BUILD_ROOT (default: build) is where the build tree, the log and the Wine prefix go.
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
# shellcheck source=scripts/lib/common.sh
. scripts/lib/common.sh
# shellcheck source=tests/e2e/lib.sh
. tests/e2e/lib.sh

BUILD_ROOT=${WDX_BUILD_ROOT:-$ROOT/build}
case "$BUILD_ROOT" in /*) ;; *) BUILD_ROOT=$ROOT/$BUILD_ROOT ;; esac

PLAYER_CLASS=TMainWin
PLAYER_TITLE="Wendrix Player"

# Starts Wendplay and waits for its hidden main window: PLAYER_PID, PLAYER_WINDOW.
start_player() {
  wdx_say "starting Wendplay.exe"
  wdx_wine_start "$(wdx_exe Wendplay)" || return 1
  PLAYER_PID=$WDX_LAST_PID
  if ! PLAYER_WINDOW=$(wdx_probe wait --class "$PLAYER_CLASS" --title "$PLAYER_TITLE" --timeout 30000); then
    wdx_err "Wendplay's main window did not appear"
    return 1
  fi
  local visible
  visible=$(wdx_probe list | awk -F'\t' -v h="$PLAYER_WINDOW" '$1 == h { print $3 }')
  wdx_say "Wendplay is running: main window \"$PLAYER_TITLE\" (class $PLAYER_CLASS, handle $PLAYER_WINDOW)," \
    "$([ "$visible" = 0 ] && echo hidden || echo VISIBLE)"
}

# What the player does while it runs. For now it only waits for messages.
main_job() {
  wdx_say "Wendplay waits for its work, hidden"
}

stop_player() {
  wdx_say "closing Wendplay (WM_CLOSE to its main window)"
  wdx_probe post "$PLAYER_WINDOW" WM_CLOSE || return 1
  if ! wdx_wait_exit "$PLAYER_PID" 15; then
    wdx_err "Wendplay is still running 15 s after WM_CLOSE"
    return 1
  fi
  wdx_say "Wendplay ended (exit code $WDX_EXIT_CODE)"
  [ "$WDX_EXIT_CODE" = 0 ]
}

wdx_install_deps || exit 1
wdx_say "building the Windows programs (win32; log: $BUILD_ROOT/logs/demo-build-win32.log)"
wdx_build_preset win32 "$BUILD_ROOT/win32" "$BUILD_ROOT/logs/demo-build-win32.log" Wendplay wdxprobe || exit 1
export WDX_WIN32_BUILD=$BUILD_ROOT/win32

trap 'wdx_wine_env_down' EXIT
trap 'exit 130' INT TERM
wdx_say "starting Wine on a virtual display (first start of a fresh prefix takes a while)"
unset WDX_WINE_SHARED
WDX_WINE_DIR=$BUILD_ROOT/demo-wine
wdx_wine_env_up || { wdx_err "Wine could not be started (logs in $WDX_WINE_DIR)"; exit 1; }

if start_player && main_job && stop_player; then
  wdx_say "demo done"
  exit 0
fi
wdx_err "demo failed"
exit 1
