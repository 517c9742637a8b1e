#!/usr/bin/env bash
# The run-time prompts end to end under Wine, with the real Wendplay.exe and WDXHOOK.dll: hot
# keys start macros that type into the test's own window. A value prompt, found by its caption
# and answered by typed keys, sets T1; a choice menu answered with its second item leaves "B" in
# T2; a password prompt refuses a wrong password and, aborted, ends the run with its message;
# a window-title source reads the title of the test's window; a report shows in the long-text
# window. Each prompt is photographed into the build folder.
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin prompts

exe=$(wdx_exe Wendplay)
wdx_require "Wendplay.exe is built" test -n "$exe"
tool=$(wdx_exe wdxplayertool)
wdx_require "wdxplayertool.exe is built" test -n "$tool"
driver=$(wdx_exe wdxformdriver)
wdx_require "wdxformdriver.exe is built" test -n "$driver"
tagger=$(wdx_exe wdxpasswordtag)
wdx_require "wdxpasswordtag.exe is built" test -n "$tagger"
shots=${WDX_BUILD_ROOT:-$WDX_ROOT/build}
mkdir -p "$shots"
shot() { import -window root "$shots/prompts-$1.png" 2>/dev/null; }
drive() { "$WDX_WINE" "$driver" "$@" | tr -d '\r'; }

dir=$WINEPREFIX/drive_c/wdxprompts
rm -rf "$dir"
mkdir -p "$dir"
printf '[Misc]\r\nCurrent File=C:\\wdxprompts\\PROMPTS.WDX\r\nStart Editor=No\r\n' >"$WINEPREFIX/drive_c/windows/WENDX.INI"
# Ctrl+Alt+letter: hot key 144 + the letter's place in the alphabet.
key() { printf '%d' $((144 + $(printf '%d' "'$1") - 65)); }
printf '<TVAR:01:02:Type a word for T1>[%%T1%%]' >"$dir/value.txt"
printf '<MENU:01:02:Pick a colour\001Choose one of the three\001Red\r\nGreen\r\nBlue\001>[%%T2%%]' >"$dir/menu.txt"
passp=$("$WDX_WINE" "$tagger" 'Open Sesame' | tr -d '\r')
wdx_require "the password command is written" test -n "$passp"
printf '%s[after]' "$passp" >"$dir/password.txt"
printf '<TVAR:03:06:>[%%T3%%]' >"$dir/title.txt"
wdx_require "test library written" "$WDX_WINE" "$tool" mklib 'C:\wdxprompts\PROMPTS.WDX' \
  Value "$(key V)" 1 0 "" '@C:\wdxprompts\value.txt' \
  Menu "$(key M)" 1 0 "" '@C:\wdxprompts\menu.txt' \
  Password "$(key W)" 1 0 "" '@C:\wdxprompts\password.txt' \
  Title "$(key T)" 1 0 "" '@C:\wdxprompts\title.txt'

target_title="WDX Prompt Target"
wdx_wine_start "$tool" edit-target "$target_title"
target_pid=$WDX_LAST_PID
target=$(wdx_probe wait --title "$target_title" --timeout 30000)
wdx_require "the test's window opens" test -n "$target"

wdx_wine_start "$exe"
pid=$WDX_LAST_PID
player=$(wdx_probe wait --class TMainWin --title "Wendrix Player" --timeout 30000)
wdx_require "Wendplay's hidden main window appears" test -n "$player"
# The hooks go in once the main window has made its blocks.
sleep 2

# target_text EXPECTED: the test window's text once it reaches EXPECTED (10 s at most).
target_text() {
  local i t
  for ((i = 0; i < 100; i++)); do
    t=$(wdx_probe text "$target" --child Edit)
    [ "$t" = "$1" ] && break
    sleep 0.1
  done
  printf '%s' "$t"
}
# prompt TITLE: the handle of the prompt window (a form of the player) with that caption.
prompt() { wdx_probe wait --class WdxForm --title "$1" --visible --timeout 15000; }
# in_front HWND: the window comes to the front within 5 s.
in_front() {
  local i
  for ((i = 0; i < 50; i++)); do
    [ "$(wdx_probe foreground)" = "$1" ] && return 0
    sleep 0.1
  done
  return 1
}
hot_key() {
  wdx_probe front "$target" >/dev/null
  wdx_probe keys "ctrl+alt+$1" >/dev/null
}

# --- The value prompt: its caption, a typed word, Ok by Enter.
hot_key v
h=$(prompt "Input Text")
wdx_require "the value prompt opens with the caption Input Text" test -n "$h"
wdx_check "the value prompt is in front" in_front "$h"
wdx_expect_eq "it shows the macro's message" "Type a word for T1" "$(drive childtext "$h" Static 0)"
shot value
wdx_probe type "hello" >/dev/null
wdx_probe keys enter >/dev/null
wdx_check "Ok closes the value prompt" wdx_probe gone "$h" --timeout 5000
wdx_expect_eq "the macro types the word it set into T1" "[hello]" "$(target_text "[hello]")"

# --- The choice menu: the second item chosen.
hot_key m
h=$(prompt "Pick a colour")
wdx_require "the choice menu opens with its title" test -n "$h"
wdx_expect_eq "it shows the menu's message" "Choose one of the three" "$(drive childtext "$h" Static 0)"
shot menu
wdx_check "the user picks Green" drive click "$h" Green
wdx_check "and presses Ok" drive click "$h" "&Ok"
wdx_check "Ok closes the menu" wdx_probe gone "$h" --timeout 5000
wdx_expect_eq "the menu leaves B in T2" "[hello][B]" "$(target_text "[hello][B]")"

# --- The password prompt: a wrong password refused, then Abort.
hot_key w
h=$(prompt "Password Protection")
wdx_require "the password prompt opens" test -n "$h"
wdx_check "the password prompt is in front" in_front "$h"
shot password
wdx_probe type "wrong" >/dev/null
wdx_probe keys enter >/dev/null
box=$(wdx_probe wait --class '#32770' --title "Error" --visible --timeout 10000)
wdx_require "a wrong password shows an error box" test -n "$box"
wdx_expect_eq "the box says the password is wrong" "Incorrect password entered." \
  "$("$WDX_WINE" "$tool" boxtext "$box" | tr -d '\r')"
shot password-wrong
wdx_probe front "$box" >/dev/null
wdx_probe keys enter >/dev/null
wdx_check "the error box is answered" wdx_probe gone "$box" --timeout 5000
wdx_check "the password prompt stays open" test "$(wdx_probe find --class WdxForm --title "Password Protection" --visible)" = "$h"
wdx_check "the user aborts" drive click "$h" "&Abort"
wdx_check "the password prompt closes" wdx_probe gone "$h" --timeout 5000
m=$(prompt "Password Protection")
wdx_require "the run's end is reported in a message window" test -n "$m"
wdx_expect_eq "the message is the password command's, with the macro's name" \
  "Password input aborted. Macro will abort. (Macro Name: Password)" "$(drive childtext "$m" Static 0)"
shot password-aborted
wdx_check "Ok closes the message" drive click "$m" "&Ok"
wdx_check "the message window goes" wdx_probe gone "$m" --timeout 5000
sleep 1
wdx_check "no Macro Abort report follows" test -z "$(wdx_probe find --title "Macro Abort" 2>/dev/null)"
wdx_expect_eq "the aborted macro typed nothing" "[hello][B]" "$(wdx_probe text "$target" --child Edit)"

# --- The window-title source: the title of the window in front.
hot_key t
wdx_expect_eq "the title source reads the test window's title" "[hello][B][$target_title]" \
  "$(target_text "[hello][B][$target_title]")"

# --- The long-text window: a single-macro file that cannot be opened, handed over by a second
# player, is reported in it.
wdx_wine_start "$exe" '/WRMC:\wdxprompts\missing.wrm'
second=$WDX_LAST_PID
wdx_check "the second Wendplay hands its file over and ends" wdx_wait_exit "$second" 20
m=$(prompt "Error")
wdx_require "the failure is reported in the long-text window" test -n "$m"
wdx_expect_eq "its text says the file could not be opened" "Error opening the specified WRM file.  Macro aborted." \
  "$(wdx_probe text "$m" --child Edit)"
shot long-text
wdx_probe front "$m" >/dev/null
wdx_probe keys enter >/dev/null
wdx_check "Enter closes it" wdx_probe gone "$m" --timeout 5000

wdx_check "UM_CONTROL 30 closes the player" wdx_probe post "$player" WM_USER+11 30
wdx_check "Wendplay ends within 10 s" wdx_wait_exit "$pid" 10
wdx_probe close "$target" >/dev/null
wdx_check "the test's window closes" wdx_wait_exit "$target_pid" 10
wdx_expect_eq "no Windows program left running" "" "$(wdx_settled_leftovers)"
wdx_e2e_end
