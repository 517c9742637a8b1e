#!/usr/bin/env bash
# The capture dialog and the menu builder with the real Wendforge.exe, Wendplay.exe and
# WDXHOOK.dll. The player starts the editor on a library whose macro "Hello" (Ctrl+Alt+H) types
# "Old" and whose macro "Two" (no activation) types "second".
# 1. "Recapture Macro" opens "Capture Macro" for Hello; the test's own window is chosen as the
#    one to start in and "Start Capture" pressed; the test types into its window through the X
#    server, as a user would, and presses the stop key; the editor says the capture is complete,
#    and Ctrl+Alt+H then plays exactly the keys typed.
# 2. "Add Macro" makes a popup menu on Ctrl+Alt+M: "Build Menu" opens "Build Macro Menu", where
#    both macros are added and saved; Ctrl+Alt+M then shows the menu in the player and "1" runs
#    its second entry.
# Pictures of both dialogs go to the build folder.
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin capture

built=$(wdx_exe Wendplay)
wdx_require "Wendplay.exe is built" test -n "$built"
bin=$(dirname "$built")
wdx_require "Wendforge.exe and WDXHOOK.dll lie beside it" test -f "$bin/Wendforge.exe" -a -f "$bin/WDXHOOK.dll"
tool=$(wdx_exe wdxplayertool)
wdx_require "wdxplayertool.exe is built" test -n "$tool"
driver=$(wdx_exe wdxformdriver)
wdx_require "wdxformdriver.exe is built" test -n "$driver"
wdx_require "xdotool is installed" command -v xdotool
drive() { "$WDX_WINE" "$driver" "$@" | tr -d '\r'; }
keys() { wdx_probe keys "$@" >/dev/null; sleep 0.3; }

# The programs run from a folder of their own: the recording's work file goes there.
dir=$WINEPREFIX/drive_c/wdxcap
rm -rf "$dir"
mkdir -p "$dir"
cp "$built" "$bin/Wendforge.exe" "$bin/WDXHOOK.dll" "$dir/"
printf '[Misc]\r\nCurrent File=C:\\wdxcap\\CAP.WDX\r\nStart Editor=Yes\r\n[Capture]\r\nPrompt=No\r\nTime=No\r\nMouse=No\r\n' \
  >"$WINEPREFIX/drive_c/windows/WENDX.INI"
ctrl_alt_h=151
wdx_require "test library written" "$WDX_WINE" "$tool" mklib 'C:\wdxcap\CAP.WDX' \
  Hello $ctrl_alt_h 1 0 "" 'Old' Two 30000 1 0 "" 'second'

wdx_require "the test's window opens" wdx_keywatch_start 'C:\wdxcap\keys.log'
log=$dir/keys.log
wdx_require "Wendplay's hidden main window appears" wdx_player_start "$dir/Wendplay.exe"
player=$WDX_PLAYER_HWND
editor=$(wdx_probe wait --title-has "Wendrix Editor" --visible --timeout 30000)
wdx_require "the player starts Wendforge" test -n "$editor"
sleep 1

# The characters Key Watch received after line $1.
chars_after() { tail -n +"$(($1 + 1))" "$log" | tr -d '\r' | awk '$1 == "char" { printf "%c", $2 }'; }
# Waits up to 10 s for the characters after line $1 to be $2; prints what came.
wait_chars() {
  local i got
  for ((i = 0; i < 100; i++)); do
    got=$(chars_after "$1")
    [ "$got" = "$2" ] && break
    sleep 0.1
  done
  printf '%s' "$got"
}
front_editor() {
  wdx_probe front "$editor" >/dev/null
  sleep 0.4
}
# answer_box TITLE: the text of the editor's message box of that title, then Enter closes it.
answer_box() {
  local box
  box=$(wdx_probe wait --title "$1" --visible --timeout 15000) || return 1
  "$WDX_WINE" "$tool" boxtext "$box" | tr -d '\r'
  wdx_probe front "$box" >/dev/null
  sleep 0.3
  wdx_probe keys Return >/dev/null
  wdx_probe gone "$box" --timeout 5000 >/dev/null
}

# 1. "Re&capture Macro": the first row (Ctrl+Alt+H) is chosen when the list fills.
front_editor
keys alt+m
keys c
capture=$(wdx_probe wait --title "Capture Macro" --visible --timeout 15000)
wdx_require "\"Recapture Macro\" opens the capture dialog" test -n "$capture"
wdx_expect_eq "it shows the macro's nickname" Hello "$(drive childtext "$capture" Edit 0)"
sleep 0.5
wdx_shot "Capture Macro" capture-dialog.png
wdx_check "Key Watch is chosen to start in" drive select "$capture" ComboBox 0 "Key Watch"
wdx_check "Start Capture" drive click "$capture" "&Start Capture"
wdx_check "the dialog goes" wdx_probe gone "$capture" --timeout 10000
for ((i = 0; i < 50; i++)); do
  [ -f "$dir/TempCap.Txt" ] && break
  sleep 0.1
done
wdx_check "the work file is open" test -f "$dir/TempCap.Txt"
sleep 0.5
text='Hi there, 42!'
wdx_keywatch_focus
lines=$(wc -l <"$log")
xdotool type --delay 40 "$text"
wdx_expect_eq "the typed keys reach the window while recording" "$text" "$(wait_chars "$lines" "$text")"
for ((i = 0; i < 50; i++)); do
  [ "$(cat "$dir/TempCap.Txt" 2>/dev/null)" = "$text" ] && break
  sleep 0.1
done
wdx_expect_eq "the work file holds them as macro text" "$text" "$(cat "$dir/TempCap.Txt" 2>/dev/null)"
xdotool key ctrl+alt+shift+x
wdx_expect_eq "the stop key ends it and the editor says so" \
  "Wendrix 2000 capture is complete for Ctrl+Alt+H." "$(answer_box Capture)"
wdx_check "the work file is gone" bash -c '! test -e "$1"' _ "$dir/TempCap.Txt"
wdx_check "the library holds the recording" grep -aq "Hi there" "$dir/CAP.WDX"
sleep 1
wdx_keywatch_focus
lines=$(wc -l <"$log")
xdotool key ctrl+alt+h
wdx_expect_eq "Ctrl+Alt+H plays the recorded keys back exactly" "$text" "$(wait_chars "$lines" "$text")"

# 2. A popup menu on Ctrl+Alt+M built from both macros.
front_editor
keys alt+m
keys a
add=$(wdx_probe wait --title "Add Macro" --visible --timeout 15000)
wdx_require "\"Add Macro\" opens" test -n "$add"
keys Tab
sleep 0.5
keys alt+p
wdx_check "Ctrl+Alt+M is chosen for the menu" drive pickrow "$add" ListBox 0 "Ctrl+Alt+M  (Not in Use)"
wdx_check "Build Menu" drive click "$add" "&Build Menu"
builder=$(wdx_probe wait --title "Build Macro Menu" --visible --timeout 15000)
wdx_require "\"Build Menu\" opens the menu builder" test -n "$builder"
wdx_check "Hello is chosen" drive pickrow "$builder" ListBox 0 "Ctrl+Alt+H"
wdx_check "and added" drive click "$builder" "&Add"
sleep 0.3
wdx_check "Two is chosen" drive pickrow "$builder" ListBox 0 "None"
wdx_check "and added" drive click "$builder" "&Add"
sleep 0.5
wdx_shot "Build Macro Menu" capture-menu-builder.png
wdx_probe front "$builder" >/dev/null
sleep 0.3
keys alt+p
sleep 0.3
wdx_shot "Build Macro Menu" capture-menu-properties.png
wdx_check "Save" drive click "$builder" "&Save"
wdx_check "the builder goes" wdx_probe gone "$builder" --timeout 10000
wdx_check "and Add Macro with it" wdx_probe gone "$add" --timeout 10000
sleep 1

wdx_keywatch_focus
lines=$(wc -l <"$log")
xdotool key ctrl+alt+m
popup=$(wdx_probe wait --title "Choose A Macro" --visible --timeout 10000)
wdx_check "Ctrl+Alt+M shows the menu in the player" test -n "$popup"
if [ -n "$popup" ]; then
  sleep 0.3
  wdx_probe keys 1 >/dev/null
  wdx_check "the menu closes on its key" wdx_probe gone "$popup" --timeout 5000
fi
wdx_expect_eq "its second entry plays into the window the user was in" second "$(wait_chars "$lines" second)"

wdx_check "UM_CONTROL 30 closes Wendplay" wdx_probe post "$player" WM_USER+11 30 0
wdx_check "the editor's window goes" wdx_probe gone "$editor" --timeout 20000
wdx_check "Wendplay ends" wdx_wait_exit "$WDX_PLAYER_PID" 15
wdx_probe close "$WDX_KEYWATCH_HWND" >/dev/null
wdx_check "the test's window closes" wdx_wait_exit "$WDX_KEYWATCH_PID" 10
wdx_expect_eq "no Windows program left running" "" "$(wdx_settled_leftovers)"
wdx_e2e_end
