#!/usr/bin/env bash
# The scheduler end to end under Wine, with the real Wendplay.exe: a start-up macro types five
# seconds after the player started, and a macro scheduled once, at the first whole minute at
# least ten seconds ahead (Wine's local time), types when that minute comes; both into the
# Edit of wdxtypist, which stays in front. The schedule timer ticks every second here.
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin schedule

exe=$(wdx_exe Wendplay)
wdx_require "Wendplay.exe is built" test -n "$exe"
typist=$(wdx_exe wdxtypist)
wdx_require "wdxtypist.exe is built" test -n "$typist"

dir=$WINEPREFIX/drive_c/wdxsched
rm -rf "$dir"
mkdir -p "$dir"
printf '[Misc]\r\nCurrent File=C:\\wdxsched\\SCHED.WDX\r\nStart Editor=No\r\n[Scheduler]\r\nTimer Seconds=1\r\n' \
  >"$WINEPREFIX/drive_c/windows/WENDX.INI"
when=$("$WDX_WINE" "$typist" schedule 'C:\wdxsched\SCHED.WDX' 10 | tr -d '\r')
wdx_require "the library with a start-up and a once macro is written ($when)" test -n "$when"
expected="up;once@$when;"

# The Edit is in front before the player starts: the start-up macro types five seconds on.
"$WDX_WINE" "$typist" watch 80 "$expected" >"$dir/watch.raw" 2>&1 &
watch_pid=$!
WDX_STARTED_PIDS+=("$watch_pid")
typist_window=$(wdx_probe wait --title "WDX Typist" --timeout 20000)
wdx_require "wdxtypist's window opens" test -n "$typist_window"
wdx_wine_start "$exe"
pid=$WDX_LAST_PID
player=$(wdx_probe wait --class TMainWin --title "Wendrix Player" --timeout 30000)
wdx_require "Wendplay's hidden main window appears" test -n "$player"

wdx_check "wdxtypist sees both macros' text within 80 s" wdx_wait_exit "$watch_pid" 85
tr -d '\r' <"$dir/watch.raw" >"$dir/watch.out"
wdx_results "$dir/watch.out"
wdx_expect_eq "wdxtypist's exit code" 0 "$WDX_EXIT_CODE"
wdx_expect_eq "the watch reported" 1 "$(grep -cE '^(ok   |FAIL )' "$dir/watch.out")"

wdx_check "UM_CONTROL 30 is posted" wdx_probe post "$player" WM_USER+11 30
wdx_check "Wendplay ends within 10 s" wdx_wait_exit "$pid" 10
wdx_e2e_end
