#!/usr/bin/env bash
# The main road, shown under Wine on a virtual display: builds the Windows programs, starts
# Notepad and Wendplay (hidden, as always) with a small demo library, presses the demo's hot key
# Ctrl+Alt+H with the real input functions, prints what Notepad then holds, saves a screenshot
# of the screen, and closes both again. Before closing, the editor Wendforge is opened on the
# demo library by the player's "Run Wendrix Editor" hot key (Ctrl+Alt+Shift+W); what its list
# shows is printed and its window saved as a picture.
#
# WDX_BUILD_ROOT (default: build) is where the build tree, the log, the Wine prefix and the
# screenshots (demo-screenshot.png, demo-editor.png) go.
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
# shellcheck source=scripts/lib/common.sh
. scripts/lib/common.sh
# shellcheck source=tests/e2e/lib.sh
. tests/e2e/lib.sh

BUILD_ROOT=${WDX_BUILD_ROOT:-$ROOT/build}
case "$BUILD_ROOT" in /*) ;; *) BUILD_ROOT=$ROOT/$BUILD_ROOT ;; esac
SHOT=$BUILD_ROOT/demo-screenshot.png
EDITOR_SHOT=$BUILD_ROOT/demo-editor.png

PLAYER_CLASS=TMainWin
PLAYER_TITLE="Wendrix Player"
CTRL_ALT_H=151
DEMO_TEXT='Hello<ENTER>World'
EXPECTED=$'Hello\r\nWorld'

# The demo's library and settings inside the prefix: C:\wendrix-demo\DEMO.WDX with one macro
# on Ctrl+Alt+H, and WENDX.INI (in the Windows folder) naming it.
write_demo_library() {
  local dir=$WINEPREFIX/drive_c/wendrix-demo
  mkdir -p "$dir"
  rm -f "$dir"/DEMO.*
  printf '[Misc]\r\nCurrent File=C:\\wendrix-demo\\DEMO.WDX\r\nStart Editor=No\r\n' \
    >"$WINEPREFIX/drive_c/windows/WENDX.INI"
  "$WDX_WINE" "$(wdx_exe wdxplayertool)" mklib 'C:\wendrix-demo\DEMO.WDX' \
    "Demo Hello" "$CTRL_ALT_H" 1 0 "" "$DEMO_TEXT" || return 1
  wdx_say "demo library C:\\wendrix-demo\\DEMO.WDX: macro \"Demo Hello\" on Ctrl+Alt+H types '$DEMO_TEXT'"
}

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

# Notepad in front, the hot key pressed, Notepad's text printed, the screen saved.
main_job() {
  wdx_say "starting Notepad"
  wdx_notepad_start || { wdx_err "Notepad did not start"; return 1; }
  sleep 1
  wdx_probe front "$WDX_NOTEPAD_HWND"
  wdx_say "pressing Ctrl+Alt+H"
  wdx_probe keys ctrl+alt+h || return 1
  local i text=
  for ((i = 0; i < 100; i++)); do
    text=$(wdx_notepad_text)
    [ "$text" = "$EXPECTED" ] && break
    sleep 0.1
  done
  wdx_say "Notepad holds:"
  printf '%s\n' "$text" | tr -d '\r' | sed 's/^/    | /'
  if import -window root "$SHOT" 2>/dev/null; then
    wdx_say "screenshot saved: $SHOT"
  else
    wdx_err "no screenshot could be taken (imagemagick's import on DISPLAY=$DISPLAY)"
  fi
  if [ "$text" != "$EXPECTED" ]; then
    wdx_err "expected Notepad to hold 'Hello' and 'World' on two lines"
    return 1
  fi
}

# The editor on the demo library, opened as a user opens it: its caption and list printed, its
# window saved.
editor_job() {
  wdx_say "pressing Ctrl+Alt+Shift+W (Run Wendrix Editor)"
  wdx_probe keys ctrl+alt+shift+w || return 1
  if ! EDITOR_WINDOW=$(wdx_probe wait --title-has "Wendrix Editor" --visible --timeout 30000); then
    wdx_err "Wendforge's window did not appear"
    return 1
  fi
  wdx_say "Wendforge shows \"$(wdx_probe text "$EDITOR_WINDOW")\"; its macro list holds:"
  "$WDX_WINE" "$(wdx_exe wdxformdriver)" rows "$EDITOR_WINDOW" | tr -d '\r' | sed 's/^/    | /'
  sleep 0.5
  local xid
  xid=$(xdotool search --name '^Wendrix Editor' 2>/dev/null | head -n 1)
  if [ -n "$xid" ] && import -window "$xid" "$EDITOR_SHOT" 2>/dev/null; then
    wdx_say "editor screenshot saved: $EDITOR_SHOT"
  else
    wdx_err "no screenshot of the editor could be taken"
    return 1
  fi
}

stop_all() {
  local rc=0
  wdx_say "closing Wendplay (UM_CONTROL 30 to its main window, as the editor does)"
  wdx_probe post "$PLAYER_WINDOW" WM_USER+11 30 || rc=1
  if ! wdx_wait_exit "$PLAYER_PID" 15; then
    wdx_err "Wendplay is still running 15 s after the close request"
    rc=1
  else
    wdx_say "Wendplay ended (exit code $WDX_EXIT_CODE)"
    [ "$WDX_EXIT_CODE" = 0 ] || rc=1
  fi
  if [ -n "${EDITOR_WINDOW:-}" ] && ! wdx_probe gone "$EDITOR_WINDOW" --timeout 10000; then
    wdx_err "Wendforge is still open after the player ended"
    rc=1
  fi
  if [ -n "${WDX_NOTEPAD_HWND:-}" ]; then
    wdx_notepad_close || rc=1
  fi
  return $rc
}

wdx_install_deps || exit 1
# Decided after the install: where 32-bit programs cannot run, the demo shows the 64-bit build.
unset WDX_WINE_ARCH
wdx_wine_loader_setup
PRESET=win$WDX_WINE_ARCH
wdx_say "$WDX_WINE_ARCH_WHY: the demo runs the $PRESET build"
wdx_say "building the Windows programs ($PRESET; log: $BUILD_ROOT/logs/demo-build-$PRESET.log)"
wdx_build_preset "$PRESET" "$BUILD_ROOT/$PRESET" "$BUILD_ROOT/logs/demo-build-$PRESET.log" \
  Wendplay Wendforge WDXHOOK wdxprobe wdxplayertool wdxformdriver || exit 1
export WDX_WIN32_BUILD=$BUILD_ROOT/win32 WDX_WIN64_BUILD=$BUILD_ROOT/win64

trap 'wdx_wine_env_down' EXIT
trap 'exit 130' INT TERM
wdx_say "starting Wine on a virtual display (first start of a fresh prefix takes a while)"
unset WDX_WINE_SHARED
WDX_WINE_DIR=$BUILD_ROOT/demo-wine
wdx_wine_env_up || { wdx_err "Wine could not be started (logs in $WDX_WINE_DIR)"; exit 1; }

ok=0
if write_demo_library && start_player; then
  main_job && editor_job && ok=1
  stop_all || ok=0
fi
if ((ok)); then
  wdx_say "demo done"
  exit 0
fi
wdx_err "demo failed"
exit 1
