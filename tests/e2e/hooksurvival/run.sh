#!/usr/bin/env bash
# The hook library survives a busy player: while the real Wendplay.exe plays a long macro, and
# while a macro waits in its PAUSE window, the test types a text into its own window as a user
# would (through the X server, so every key is a real one that WDXHOOK.dll's keyboard hook
# handles in full). Every key of it arrives, in order, and afterwards the hooks are still in
# place: a hot key pressed the same way still plays its macro.
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin hooksurvival

exe=$(wdx_exe Wendplay)
wdx_require "Wendplay.exe is built" test -n "$exe"
wdx_require "WDXHOOK.dll lies beside it" test -f "$(dirname "$exe")/WDXHOOK.dll"
tool=$(wdx_exe wdxplayertool)
wdx_require "wdxplayertool.exe is built" test -n "$tool"
watch=$(wdx_exe wdxkeywatch)
wdx_require "wdxkeywatch.exe is built" test -n "$watch"
wdx_require "xdotool is installed" command -v xdotool

dir=$WINEPREFIX/drive_c/wdxhooks
rm -rf "$dir"
mkdir -p "$dir"
printf '[Misc]\r\nCurrent File=C:\\wdxhooks\\HOOKS.WDX\r\nStart Editor=No\r\n' >"$WINEPREFIX/drive_c/windows/WENDX.INI"
# The long macro types digits only, so the test's letters can be told from its keys.
long=
for ((i = 0; i < 120; i++)); do long+='<MSD:0050>1'; done
ctrl_alt_l=155
ctrl_alt_p=159
ctrl_alt_h=151
wdx_require "test library written" "$WDX_WINE" "$tool" mklib 'C:\wdxhooks\HOOKS.WDX' \
  Long $ctrl_alt_l 1 0 "" "$long" \
  Paused $ctrl_alt_p 1 0 "" '<PAUSE>' \
  Hello $ctrl_alt_h 1 0 "" 'Hello'

wdx_require "the test's window opens" wdx_keywatch_start 'C:\wdxhooks\keys.log'
win=$WDX_KEYWATCH_HWND
focus_watch() { wdx_keywatch_focus; }
wdx_require "Wendplay's hidden main window appears" wdx_player_start "$exe"
pid=$WDX_PLAYER_PID
player=$WDX_PLAYER_HWND
sleep 2

log=$dir/keys.log
# The characters the window received after line $1, as text (letters and digits only).
chars_after() {
  tail -n +"$(($1 + 1))" "$log" | tr -d '\r' | awk '$1 == "char" { printf "%c", $2 }' | tr -cd 'a-zA-Z0-9'
}
letters_after() { chars_after "$1" | tr -cd 'a-zA-Z'; }

# 1. During the long macro.
text1=thequickbrownfoxjumpsoverthelazydog
focus_watch
lines=$(wc -l <"$log")
xdotool key ctrl+alt+l
sleep 1
xdotool type --delay 30 "$text1"
got=$(chars_after "$lines")
wdx_check "the long macro was still typing while the test typed (digits after the test's first letter)" \
  bash -c '[[ "$1" == *t*1* ]]' _ "$got"
for ((i = 0; i < 100; i++)); do
  [ "$(letters_after "$lines")" = "$text1" ] && break
  sleep 0.1
done
wdx_expect_eq "every key the test typed during the macro arrived, in order" "$text1" "$(letters_after "$lines")"
# Let the macro end (about six seconds in all).
for ((i = 0; i < 150; i++)); do
  [ "$(chars_after "$lines" | tr -cd 1 | wc -c)" -ge 120 ] && break
  sleep 0.1
done
wdx_expect_eq "and the macro typed all of its own" 120 "$(chars_after "$lines" | tr -cd 1 | wc -c)"

# 2. While a macro waits in its PAUSE window.
sleep 1
xdotool key ctrl+alt+p
pause=$(wdx_probe wait --title "Pause (Ctrl+Alt+P)" --timeout 10000)
wdx_require "the PAUSE window opens" test -n "$pause"
text2=packmyboxwithfivedozenliquorjugs
lines=$(wc -l <"$log")
focus_watch
xdotool type --delay 30 "$text2"
for ((i = 0; i < 100; i++)); do
  [ "$(letters_after "$lines")" = "$text2" ] && break
  sleep 0.1
done
wdx_expect_eq "every key the test typed during the PAUSE arrived, in order" "$text2" "$(letters_after "$lines")"
wdx_probe post "$player" WM_USER+2 $ctrl_alt_p 0 >/dev/null
wdx_check "its hot key resumes and ends the paused macro" wdx_probe gone "$pause" --timeout 5000

# 3. The hooks are still in place: a hot key pressed with the system's input plays its macro.
sleep 1
lines=$(wc -l <"$log")
focus_watch
xdotool key ctrl+alt+h
for ((i = 0; i < 100; i++)); do
  [ "$(chars_after "$lines")" = Hello ] && break
  sleep 0.1
done
wdx_expect_eq "afterwards a hot key still plays its macro" Hello "$(chars_after "$lines")"

wdx_check "UM_CONTROL 30 closes Wendplay" wdx_probe post "$player" WM_USER+11 30
wdx_check "Wendplay ends" wdx_wait_exit "$pid" 15
wdx_probe close "$win" >/dev/null
wdx_expect_eq "no Windows program left running" "" "$(wdx_settled_leftovers)"
wdx_e2e_end
