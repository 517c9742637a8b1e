#!/usr/bin/env bash
# The end of a run, however it ends, gives the hot keys back at once: a macro that fails with an
# error box is answered by the test, and a second later a hot key sent with keybd_event (as
# other automation tools send them) plays its macro, long before the 15-second fallback timer.
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin runend

exe=$(wdx_exe Wendplay)
wdx_require "Wendplay.exe is built" test -n "$exe"
tool=$(wdx_exe wdxplayertool)
wdx_require "wdxplayertool.exe is built" test -n "$tool"

dir=$WINEPREFIX/drive_c/wdxrunend
rm -rf "$dir"
mkdir -p "$dir"
printf '[Misc]\r\nCurrent File=C:\\wdxrunend\\RUNEND.WDX\r\nStart Editor=No\r\nError Messages=Yes\r\n' \
  >"$WINEPREFIX/drive_c/windows/WENDX.INI"
ctrl_alt_e=148
ctrl_alt_h=151
wdx_require "test library written" "$WDX_WINE" "$tool" mklib 'C:\wdxrunend\RUNEND.WDX' \
  Fails $ctrl_alt_e 1 0 "" 'x<ACTIVATE:Nothing Here>y' \
  Hello $ctrl_alt_h 1 0 "" 'Hello'

wdx_require "Notepad starts" wdx_notepad_start
wdx_wine_start "$exe"
pid=$WDX_LAST_PID
player=$(wdx_probe wait --class TMainWin --title "Wendrix Player" --timeout 30000)
wdx_require "Wendplay's hidden main window appears" test -n "$player"
sleep 1

wait_text() { WDX_WAIT_TRIES=${3:-30} wdx_wait_output "$1" wdx_notepad_text; }

for round in 1 2; do
  wdx_probe front "$WDX_NOTEPAD_HWND"
  wdx_probe keys ctrl+alt+e
  box=$(wdx_probe wait --class WdxForm --visible --timeout 10000)
  wdx_check "round $round: the failing macro shows its error box" test -n "$box" || break
  # Its box, then "Macro Abort" for the level that had text left: each is answered with OK.
  boxes=0
  while [ -n "$box" ] && ((boxes < 5)); do
    boxes=$((boxes + 1))
    sleep 0.3
    wdx_probe front "$box" >/dev/null; wdx_probe keys enter >/dev/null  # OK by its key
    wdx_probe gone "$box" --timeout 10000 >/dev/null || break
    box=$(wdx_probe wait --class WdxForm --visible --timeout 1500 2>/dev/null)
  done
  wdx_check "round $round: its boxes are answered ($boxes)" test -z "$box"
  sleep 1
  wdx_probe front "$WDX_NOTEPAD_HWND"
  wdx_probe keys ctrl+alt+h
  expected=$([ $round = 1 ] && echo xHello || echo xHelloxHello)
  # Three seconds: far below the 15 seconds after which the fallback timer would free the keys.
  wdx_expect_eq "round $round: one second after the box a hot key plays again" "$expected" "$(wait_text "$expected" 30)"
done

wdx_check "UM_CONTROL 30 closes Wendplay" wdx_probe post "$player" WM_USER+11 30
wdx_check "Wendplay ends" wdx_wait_exit "$pid" 15
wdx_check "Notepad closes" wdx_notepad_close
wdx_e2e_end
