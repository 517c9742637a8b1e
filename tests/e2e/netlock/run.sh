#!/usr/bin/env bash
# The network lock's soak test under Wine: two copies of netlock_driver.exe, two real Windows
# processes, share one macro library in one folder of the prefix for a bounded time (the
# seconds in WDX_NETLOCK_SECONDS, 15 by default). Each takes the lock (Windows' byte-range
# lock around the stamp's check and change), changes the shared record and its own, and gives
# the lock back with its change count. Afterwards no change is lost or torn and the stamp's
# counter is 1 + the changes made; the figures are printed.
#
# Then the real Wendplay.exe in network mode: another user's program (the driver's edit mode)
# moves a hot key from one macro to another under the lock and raises the counter; the next
# press of the key reloads the library, whose new hot-key map then plays the other macro. (A
# player that missed the change would still map the key to the first macro, whose record
# keeps its text.)
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin netlock

drv=$(wdx_exe netlock_driver)
wdx_require "netlock_driver.exe is built" test -n "$drv"
secs=${WDX_NETLOCK_SECONDS:-15}

dir=$WINEPREFIX/drive_c/wdxnetlock
rm -rf "$dir"
mkdir -p "$dir"
win='C:\wdxnetlock'
wdx_require "the shared library is prepared" "$WDX_WINE" "$drv" prepare "$win" 2

wdx_wine_start "$drv" work "$win" 1 "$secs"
one=$WDX_LAST_PID
wdx_wine_start "$drv" work "$win" 2 "$secs"
two=$WDX_LAST_PID
for pid in "$one" "$two"; do
  if wdx_check "copy $pid ends within its time" wdx_wait_exit "$pid" $((secs + 60)); then
    wdx_expect_eq "copy $pid's exit code" 0 "$WDX_EXIT_CODE"
  fi
done
grep -a '^worker' "${WDX_WINE_DIR:-/tmp}/programs.log" | tail -n 2 | sed 's/^/    /'

out=$(mktemp)
"$WDX_WINE" "$drv" check "$win" 2 >"$out" 2>&1
wdx_expect_eq "the check's exit code" 0 "$?"
wdx_results "$out"
wdx_check "the check printed its verdicts" grep -q '^ok ' "$out"
rm -f "$out"
rm -rf "$dir"

# --- The player picks up another user's change.
exe=$(wdx_exe Wendplay)
wdx_require "Wendplay.exe is built" test -n "$exe"
tool=$(wdx_exe wdxplayertool)
wdx_require "wdxplayertool.exe is built" test -n "$tool"
dir=$WINEPREFIX/drive_c/wdxnet
rm -rf "$dir"
mkdir -p "$dir"
ini=$WINEPREFIX/drive_c/windows/WENDX.INI
saved_ini=$(mktemp)
had_ini=0
[ -f "$ini" ] && { cp "$ini" "$saved_ini"; had_ini=1; }
restore_ini() {
  if [ "$had_ini" = 1 ]; then cp "$saved_ini" "$ini"; else rm -f "$ini"; fi
  rm -f "$saved_ini"
}
printf '[Misc]\r\nCurrent File=C:\\wdxnet\\NET.WDX\r\nStart Editor=No\r\n[Network]\r\nNetwork Mode=Yes\r\nAuto Sync=No\r\n' >"$ini"
ctrl_alt_h=151
wdx_require "test library written" "$WDX_WINE" "$tool" mklib 'C:\wdxnet\NET.WDX' \
  Hello $ctrl_alt_h 1 0 "" 'Old' \
  Other 30000 1 0 "" 'New'

# stamp: the sync stamp's counter and state as "COUNTER STATE", or "none".
stamp() {
  local f=$dir/NET.WDY
  [ -f "$f" ] || { echo none; return; }
  printf '%s %s\n' "$(od -An -t d4 -j 0 -N 4 "$f" | tr -d ' ')" "$(od -An -t d2 -j 4 -N 2 "$f" | tr -d ' ')"
}
wait_text() { wdx_wait_output "$1" wdx_notepad_text; }

wdx_require "Notepad starts" wdx_notepad_start
wdx_wine_start "$exe"
pid=$WDX_LAST_PID
player=$(wdx_probe wait --class TMainWin --title "Wendrix Player" --timeout 30000)
wdx_require "Wendplay's hidden main window appears" test -n "$player"
# The window exists before its creation installed the hooks: wait for the CBT block, made just
# before the hooks go in.
for ((i = 0; i < 60; i++)); do
  "$WDX_WINE" "$tool" objects 2>/dev/null | tr -d '\r' | grep -qx 'WDKR1KGR 1' && break
  sleep 0.25
done
sleep 0.5
wdx_probe front "$WDX_NOTEPAD_HWND"
wdx_probe keys ctrl+alt+h
wdx_expect_eq "the hot key plays the macro as loaded" 'Old' "$(wait_text Old)"
wdx_expect_eq "the player created the stamp in network mode: counter 1, free" "1 2" "$(stamp)"

wdx_check "another user's program moves the hot key under the lock" \
  "$WDX_WINE" "$drv" edit 'C:\wdxnet\NET.WDX' Hello 30000 'Old' Other $ctrl_alt_h 'New'
wdx_expect_eq "its two changes are counted and the lock is free again" "3 2" "$(stamp)"

wdx_probe front "$WDX_NOTEPAD_HWND"
wdx_probe keys ctrl+alt+h
wdx_expect_eq "the next press of the hot key plays the macro it moved to" 'OldNew' "$(wait_text OldNew)"
wdx_probe keys ctrl+alt+h
wdx_expect_eq "and so does the one after it, without a reload" 'OldNewNew' "$(wait_text OldNewNew)"

wdx_check "UM_CONTROL 30 is posted" wdx_probe post "$player" WM_USER+11 30
wdx_check "Wendplay ends within 10 s" wdx_wait_exit "$pid" 10
wdx_expect_eq "the stamp is left free with its counter" "3 2" "$(stamp)"
wdx_check "Notepad closes" wdx_notepad_close
restore_ini
rm -rf "$dir"
wdx_e2e_end
