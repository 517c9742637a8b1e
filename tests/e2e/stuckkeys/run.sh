#!/usr/bin/env bash
# No key stays down after an abort: the real Wendplay.exe and WDXHOOK.dll play a long macro that
# holds Ctrl, Shift, Alt and Win in every way the language has (down and up tags, next-key
# modifiers, Alt + keypad sequences) into the test's own window, and the abort key (Pause) is
# pressed after a random delay, at least 30 times. After each abort (its "Macro Abort" box
# answered) no key is down for the system (GetAsyncKeyState of every key), and a key the test
# then types reaches its window without any modifier, i.e. as no shortcut.
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin stuckkeys

ROUNDS=${WDX_STUCKKEYS_ROUNDS:-30}
exe=$(wdx_exe Wendplay)
wdx_require "Wendplay.exe is built" test -n "$exe"
wdx_require "WDXHOOK.dll lies beside it" test -f "$(dirname "$exe")/WDXHOOK.dll"
tool=$(wdx_exe wdxplayertool)
wdx_require "wdxplayertool.exe is built" test -n "$tool"
watch=$(wdx_exe wdxkeywatch)
wdx_require "wdxkeywatch.exe is built" test -n "$watch"
wdx_require "xdotool is installed" command -v xdotool

dir=$WINEPREFIX/drive_c/wdxstuck
rm -rf "$dir"
mkdir -p "$dir"
printf '[Misc]\r\nCurrent File=C:\\wdxstuck\\STUCK.WDX\r\nStart Editor=No\r\n' >"$WINEPREFIX/drive_c/windows/WENDX.INI"
# One block holds each modifier in turn, with waits while they are down; 25 blocks (a macro's
# 5000 characters) play for several seconds. (Letters typed with a modifier held go to the test's window, which ignores
# them.)
block='<CTRLD><MSD:0030><SHIFTD>a<MSD:0030><ALTD><MSD:0030>b<ALTU><SHIFTU>c<CTRLU>'
block+='<SHFD><MSD:0020><CTLD>d<MSD:0020><CTLU><SHFU><SHIFT>e<CTRL>f<ALT>g'
block+='<WIND><MSD:0020><WINU><ALT:233><ALT4:0065>h<MSD:0030>'
text=
for ((i = 0; i < 25; i++)); do text+=$block; done
printf '%s' "$text" >"$dir/held.txt"
ctrl_alt_k=154
wdx_require "test library written" "$WDX_WINE" "$tool" mklib 'C:\wdxstuck\STUCK.WDX' Held $ctrl_alt_k 1 0 "" \
  '@C:\wdxstuck\held.txt'

wdx_require "the test's window opens" wdx_keywatch_start 'C:\wdxstuck\keys.log'
win=$WDX_KEYWATCH_HWND
focus_watch() { wdx_keywatch_focus; }
wdx_require "Wendplay's hidden main window appears" wdx_player_start "$exe"
pid=$WDX_PLAYER_PID
player=$WDX_PLAYER_HWND
sleep 2

log=$dir/keys.log
keys_down() { "$WDX_WINE" "$watch" down | tr -d '\r'; }
# Lines of the window's log after line $1 that record a key pressed.
downs_after() { tail -n +"$(($1 + 1))" "$log" | grep '^down ' | tr -d '\r'; }

aborted=0 seen_held=0 stuck_rounds= shortcut_rounds= lost_rounds=
for ((round = 1; round <= ROUNDS; round++)); do
  focus_watch
  wdx_probe keys ctrl+alt+k >/dev/null
  delay=$((RANDOM % 3000))
  sleep "$((delay / 1000)).$(printf '%03d' $((delay % 1000)))"
  # While the run plays, the query sees what it holds: proof that it can see a key down (in
  # the first rounds; every query costs a program start).
  ((round <= 10)) && [ "$(keys_down)" != none ] && seen_held=$((seen_held + 1))
  # The abort key as a user presses it: through the X server, so the hook library sees a
  # real key (it lets the injected keys of other programs pass while a macro plays).
  xdotool key Pause
  # The aborted run reports itself in a box per level with text left; each is answered.
  box=$(wdx_probe wait --class WdxForm --visible --timeout 3000 2>/dev/null)
  [ -n "$box" ] && aborted=$((aborted + 1))
  for ((boxes = 0; boxes < 5 && ${#box} > 0; boxes++)); do
    # Enter goes to the window in front: on a busy machine the box may not be there yet when
    # the key comes, so it is brought forward and answered again (three times at most).
    for ((tries = 0; tries < 3; tries++)); do
      wdx_probe front "$box" >/dev/null
      wdx_probe keys enter >/dev/null
      wdx_probe gone "$box" --timeout 5000 >/dev/null 2>&1 && break
    done
    ((tries < 3)) || break
    box=$(wdx_probe wait --class WdxForm --visible --timeout 1000 2>/dev/null)
  done
  # A run that was not aborted in time ends by itself within its few seconds.
  [ -z "$box" ] || { wdx_fail "round $round: the abort boxes do not go away"; break; }
  sleep 0.5
  down=$(keys_down)
  [ "$down" = none ] || stuck_rounds+=" $round($down)"

  # The test types one key into its window: it must come without Ctrl, Alt, Shift or Win.
  lines=$(wc -l <"$log")
  focus_watch
  xdotool key z
  got=
  for ((i = 0; i < 30; i++)); do
    got=$(downs_after "$lines")
    [ -n "$got" ] && break
    sleep 0.1
  done
  [ -n "$got" ] || lost_rounds+=" $round"
  [ -z "$got" ] || [ "$got" = "down 5A -" ] || shortcut_rounds+=" $round($(printf '%s' "$got" | tr '\n' ','))"
done

wdx_check "the abort key stopped a running macro in most rounds ($aborted of $ROUNDS)" test "$aborted" -ge $((ROUNDS * 2 / 3))
wdx_check "the key query saw held keys while a macro ran ($seen_held of the first 10 rounds)" test "$seen_held" -gt 0
wdx_expect_eq "no key is down after any abort" "" "$stuck_rounds"
wdx_expect_eq "the test's key reaches its window after every abort" "" "$lost_rounds"
wdx_expect_eq "and it comes as no shortcut" "" "$shortcut_rounds"

wdx_check "UM_CONTROL 30 closes Wendplay" wdx_probe post "$player" WM_USER+11 30
wdx_check "Wendplay ends" wdx_wait_exit "$pid" 15
wdx_probe close "$win" >/dev/null
wdx_expect_eq "no Windows program left running" "" "$(wdx_settled_leftovers)"
wdx_e2e_end
