#!/usr/bin/env bash
# Timing, date tags, variables and the pause window of the interpreter under Wine.
# wdxtimingtest.exe --services checks the blocking and pumping waits on the real clock, a date
# tag against the local date, and the variable operations that reach the clipboard, files, INI
# files and the environment. Then a macro with a delay, a date tag, variables and two pauses is
# typed into Notepad: the first pause window is found by its caption and Resume continues the
# macro; the second stands in a variable's value and is closed, which ends only that level.
# Last, a window slow to take its keys (wdxplayertool edit-target --slow) still holds typed keys
# when a pause window comes forward: every key reaches it, in order, none the pause window.
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

# The slow target: the test types into it and closes it; its text after the run.
slow_target_run() {  # SLOW_MS COMMAND...: prints the target's text once COMMAND has ended
  local slow=$1 tp target
  shift
  wdx_wine_start "$tool" edit-target "WDX Slow Target" --slow "$slow"
  tp=$WDX_LAST_PID
  target=$(wdx_probe wait --title "WDX Slow Target" --visible --timeout 30000) || return 1
  wdx_probe front "$target" >/dev/null
  "$@" >/dev/null
  sleep 1
  wdx_probe text "$target" --child Edit
  wdx_probe close "$target" >/dev/null
  wdx_wait_exit "$tp" 15
}
pause_over_slow_target() {
  wdx_wine_start "$exe" --play "$(wdx_winepath "$macro")"
  local player=$WDX_LAST_PID pause
  pause=$(wdx_probe wait --title Pause --visible --timeout 30000) || return 1
  sleep 1
  wdx_probe post "$pause" 0x00F5 0 0 --child BUTTON >/dev/null
  wdx_probe gone "$pause" --timeout 10000 && wdx_wait_exit "$player" 30
}
tool=$(wdx_exe wdxplayertool)
if wdx_check "wdxplayertool.exe is built" test -n "$tool"; then
  # 20 key messages at 15 ms each: our window comes forward while the target still holds most,
  # within the half second the player lets it take them.
  wdx_expect_eq "a window of ours brought to the front right after typing: every key reaches the slow target" \
    "abcdefghij" "$(slow_target_run 15 timeout 60 "$WDX_WINE" "$exe" --front-after-keys)"
  # 20 key messages at 25 ms each, the pause window after them.
  printf 'abcdefghij<PAUSE>kl' >"$macro"
  wdx_expect_eq "a pause window right after typed text: the slow target holds every key, in order" \
    "abcdefghijkl" "$(slow_target_run 25 pause_over_slow_target)"
fi
wdx_expect_eq "no Windows program left running" "" "$(wdx_settled_leftovers)"
wdx_e2e_end
