#!/usr/bin/env bash
# Wendplay.exe (32-bit) starts under Wine with its main window hidden, the window is found by
# class and by title, and the program ends when the window is sent WM_CLOSE, leaving nothing
# running.
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin wendplay

exe=$(wdx_exe Wendplay)
wdx_require "Wendplay.exe is built" test -n "$exe"

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
wdx_e2e_end
