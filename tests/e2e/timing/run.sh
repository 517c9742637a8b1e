#!/usr/bin/env bash
# Timing, date tags, variables and the pause window of the interpreter under Wine.
# wdxtimingtest.exe --services checks the blocking and pumping waits on the real clock, a date
# tag against the local date, and the variable operations that reach the clipboard, files, INI
# files and the environment. Then a macro with a delay, a date tag, variables and two pauses is
# typed into Notepad: the first pause window is found by its caption and Resume continues the
# macro; the second stands in a variable's value and is closed, which ends only that level.
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin timing

exe=$(wdx_exe wdxtimingtest)
wdx_require "wdxtimingtest.exe is built" test -n "$exe"

out=$WDX_WINE_DIR/wdxtimingtest.out
rc=0
timeout 120 "$WDX_WINE" "$exe" --services >"$out" 2>/dev/null &
WDX_STARTED_PIDS+=($!)
wait $! || rc=$?
wdx_results "$out"
wdx_expect_eq "wdxtimingtest --services exit code" 0 "$rc"

macro=$WDX_WINE_DIR/timing-macro.txt
printf 'Start<DELAY:00001> <MM/DD/YYYY{Y}> %%T1%% <TMVAR:07:01:00:000:000:!>%%T1%%<PAUSE>, resumed%%T2%%.' >"$macro"
day_before=$(date +%m/%d/%Y)
if wdx_notepad_start; then
  wdx_wine_start "$exe" --play "$(wdx_winepath "$macro")"
  player=$WDX_LAST_PID
  pause=$(wdx_probe wait --title Pause --visible --timeout 30000)
  if wdx_check "the pause window appears, found by its caption" test -n "$pause"; then
    sleep 0.5
    # BM_CLICK on its first button, Resume.
    wdx_probe post "$pause" 0x00F5 0 0 --child BUTTON >/dev/null
    wdx_check "Resume closes the pause window" wdx_probe gone "$pause" --timeout 10000
  fi
  second=$(wdx_probe wait --title Pause --visible --timeout 30000)
  if wdx_check "the second pause window appears" test -n "$second"; then
    sleep 0.5
    wdx_probe close "$second" >/dev/null
    wdx_check "closing it ends the pause" wdx_probe gone "$second" --timeout 10000
  fi
  if wdx_wait_exit "$player" 60; then
    wdx_expect_eq "the macro ends without a message box or a key left down" 0 "$WDX_EXIT_CODE"
  else
    wdx_fail "the macro ends"
  fi
  sleep 1
  day_after=$(date +%m/%d/%Y)
  text=$(wdx_notepad_text)
  expected="Start $day_before Var Var!, resumed."
  [ "$text" = "Start $day_after Var Var!, resumed." ] && expected=$text
  wdx_expect_eq "Notepad holds the delayed text, the date, the variables and what followed Resume" "$expected" "$text"
  wdx_check "Notepad closes" wdx_notepad_close
else
  wdx_fail "Notepad starts"
fi
wdx_expect_eq "no Windows program left running" "" "$(wdx_settled_leftovers)"
wdx_e2e_end
