#!/usr/bin/env bash
# Wendplay.exe starts under Wine with its main window hidden, the window is found by class and
# by title, and the program ends when the window is sent WM_CLOSE, leaving nothing running.
# Started from a folder without WDXHOOK.dll, or with a broken one, it says so with the library's
# path and runs on.
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin wendplay

exe=$(wdx_exe Wendplay)
wdx_require "Wendplay.exe is built" test -n "$exe"
tool=$(wdx_exe wdxplayertool)
wdx_require "wdxplayertool.exe is built" test -n "$tool"

wdx_wine_start "$exe"
pid=$WDX_LAST_PID
h=$(wdx_probe wait --class TMainWin --timeout 30000)
wdx_require "main window appears (class TMainWin)" test -n "$h"
wdx_expect_eq "the same window is found by its title" "$h" "$(wdx_probe find --title "Wendrix Player")"
visible=$(wdx_probe list | awk -F'\t' -v h="$h" '$1 == h { print $3 }')
wdx_expect_eq "main window is hidden" 0 "$visible"
wdx_check "Wendplay keeps running with its window" kill -0 "$pid"

wdx_check "WM_CLOSE is posted to the main window" wdx_probe post "$h" WM_CLOSE
wdx_check "Wendplay ends within 10 s" wdx_wait_exit "$pid" 10
wdx_expect_eq "exit code" 0 "$WDX_EXIT_CODE"
wdx_check "main window is gone" wdx_probe gone "$h" --timeout 2000
wdx_expect_eq "no Windows program left running" "" "$(wdx_settled_leftovers)"

# Without its hook library (none, then one that is no library at all).
lone=$WINEPREFIX/drive_c/wdxnohook
for case in missing broken; do
  rm -rf "$lone"
  mkdir -p "$lone"
  cp "$exe" "$lone/Wendplay.exe"
  [ $case = broken ] && printf 'not a library' >"$lone/WDXHOOK.dll"
  wdx_wine_start "$lone/Wendplay.exe"
  pid=$WDX_LAST_PID
  box=$(wdx_probe wait --class '#32770' --title "System Error" --visible --timeout 30000)
  wdx_check "$case hook library: the start says so in a box" test -n "$box"
  said=$("$WDX_WINE" "$tool" boxtext "$box" | tr -d '\r')
  wdx_expect_eq "$case hook library: the box names the library" \
    'Hook library C:\wdxnohook\WDXHOOK.dll could not be loaded.  Wendrix will run without hot keys, Abbrekeys and recording.' \
    "$said"
  wdx_probe front "$box" >/dev/null
  wdx_probe keys enter >/dev/null
  wdx_check "$case hook library: the box is answered" wdx_probe gone "$box" --timeout 5000
  h=$(wdx_probe wait --class TMainWin --title "Wendrix Player" --timeout 10000)
  wdx_check "$case hook library: the player runs on" test -n "$h"
  sleep 0.5
  wdx_check "$case hook library: still running" kill -0 "$pid"
  wdx_probe post "$h" WM_CLOSE >/dev/null
  wdx_check "$case hook library: it ends on WM_CLOSE" wdx_wait_exit "$pid" 10
  wdx_expect_eq "$case hook library: exit code" 0 "$WDX_EXIT_CODE"
done
wdx_expect_eq "nothing left running at the end" "" "$(wdx_settled_leftovers)"
wdx_e2e_end
