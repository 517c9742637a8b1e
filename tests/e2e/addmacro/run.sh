#!/usr/bin/env bash
# Add Macro and the per-macro commands end to end under Wine, all through Wendforge's own windows
# by the test's keys: Wendplay starts the editor; "Add Macro" takes Ctrl+Alt+J pressed into its
# hot-key field (the hook library sends the key's index to the dialog) and the direct editor
# takes a typed text; Ctrl+Alt+J then plays it into Notepad. Deactivated in the editor the macro
# plays no more; activated and moved to Ctrl+Alt+K it plays there only; removed it plays on
# neither. Pictures of Add Macro and of the change of activation go to the build folder.
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin addmacro
stamp() { wdx_log "T+$SECONDS $*"; }

exe=$(wdx_exe Wendplay)
wdx_require "Wendplay.exe is built" test -n "$exe"
wdx_require "Wendforge.exe lies beside it" test -f "$(dirname "$exe")/Wendforge.exe"
driver=$(wdx_exe wdxformdriver)
wdx_require "wdxformdriver.exe is built" test -n "$driver"
drive() { "$WDX_WINE" "$driver" "$@" | tr -d '\r'; }

dir=$WINEPREFIX/drive_c/wdxadd
rm -rf "$dir"
mkdir -p "$dir"
# An empty library: the player adds its built-in macros on start.
: >"$dir/ADD.WDX"
printf '[Misc]\r\nCurrent File=C:\\wdxadd\\ADD.WDX\r\nStart Editor=Yes\r\n' >"$WINEPREFIX/drive_c/windows/WENDX.INI"

wdx_require "Notepad starts" wdx_notepad_start
keys() { wdx_probe keys "$@" >/dev/null; sleep 0.2; }

wdx_wine_start "$exe"
player_pid=$WDX_LAST_PID
player=$(wdx_probe wait --class TMainWin --title "Wendrix Player" --timeout 30000)
wdx_require "Wendplay's hidden main window appears" test -n "$player"
editor=$(wdx_probe wait --title-has "Wendrix Editor" --visible --timeout 30000)
wdx_require "the player starts Wendforge" test -n "$editor"

front_editor() {
  wdx_probe front "$editor" >/dev/null
  sleep 0.4
}
# notepad_after KEY WANT [still]: KEY pressed in Notepad, then Notepad's text once it shows WANT;
# with "still", the text a moment later (a key that must type nothing).
notepad_after() {
  local key=$1 want=$2 text= i
  for ((i = 0; i < 20; i++)); do
    wdx_probe front "$WDX_NOTEPAD_HWND" >/dev/null
    sleep 0.2
    [ "$(wdx_probe foreground)" = "$WDX_NOTEPAD_HWND" ] && break
  done
  xdotool key "$key"
  if [ "${3:-}" = still ]; then
    sleep 1
    wdx_notepad_text
    return
  fi
  for ((i = 0; i < 50; i++)); do
    text=$(wdx_notepad_text)
    [ "$text" = "$want" ] && break
    sleep 0.1
  done
  printf '%s' "$text"
}
# leave_field DIALOG: Tab out of the hot-key field, and wait until the focus has left it (only
# then does the dialog stop taking hot keys, so Alt and a letter work its buttons again).
leave_field() {
  local i
  keys Tab
  for ((i = 0; i < 50; i++)); do
    if [ "$(drive focus "$1")" != Edit ]; then
      sleep 0.3
      return 0
    fi
    sleep 0.1
  done
  return 1
}
# The hot-key field of a dialog holds the key's name once the hook library sent its index.
field_shows() {
  local dialog=$1 want=$2 got= i
  for ((i = 0; i < 50; i++)); do
    got=$(drive childtext "$dialog" Edit 0)
    [ "$got" = "$want" ] && break
    sleep 0.1
  done
  printf '%s' "$got"
}

stamp "1. Add Macro"
# 1. Add Macro: Ctrl+Alt+J pressed into the field, then "&Enter Directly" and a typed text.
front_editor
keys alt+m
keys a
add=$(wdx_probe wait --title "Add Macro" --visible --timeout 15000)
wdx_require "\"Add Macro\" opens" test -n "$add"
wdx_expect_eq "the hot-key field has the focus" Edit "$(drive focus "$add")"
sleep 0.5
xdotool key ctrl+alt+j
wdx_expect_eq "Ctrl+Alt+J pressed into the field chooses it" Ctrl+Alt+J "$(field_shows "$add" Ctrl+Alt+J)"
wdx_shot "Add Macro" addmacro-dialog.png
# Out of the field, Alt+E is "&Enter Directly".
wdx_check "Tab leaves the field" leave_field "$add"
keys alt+e
direct=$(wdx_probe wait --title-has "Modify Directly Editor" --visible --timeout 15000)
wdx_require "\"Enter Directly\" opens the direct editor" test -n "$direct"
wdx_expect_eq "for the chosen key" "Modify Directly Editor  (Hot Key: Ctrl+Alt+J)" "$(wdx_probe text "$direct")"
wdx_probe front "$direct" >/dev/null
sleep 0.3
wdx_probe type "Added text" >/dev/null
sleep 0.3
keys alt+o
wdx_check "OK saves and closes the direct editor" wdx_probe gone "$direct" --timeout 15000
wdx_check "and Add Macro with it" wdx_probe gone "$add" --timeout 15000
wdx_check "the library holds the new macro" grep -aq "Added text" "$dir/ADD.WDX"
sleep 1
wdx_expect_eq "Ctrl+Alt+J types the new macro into Notepad" "Added text" "$(notepad_after ctrl+alt+j "Added text")"

stamp "2. Deactivated"
# 2. Deactivated ("Acti&vate Macro" toggles the chosen macro, the new one), it plays no more.
front_editor
keys alt+m
keys v
sleep 1
wdx_expect_eq "deactivated, Ctrl+Alt+J types nothing" "Added text" "$(notepad_after ctrl+alt+j "Added text" still)"

stamp "3. Activated again"
# 3. Activated again and moved to Ctrl+Alt+K: it plays there only.
front_editor
keys alt+m
keys v
front_editor
keys alt+m
keys m
move=$(wdx_probe wait --title "Change Macro Activation" --visible --timeout 15000)
wdx_require "\"Change Macro Activation\" opens" test -n "$move"
sleep 0.5
xdotool key ctrl+alt+k
wdx_expect_eq "Ctrl+Alt+K pressed into its field chooses it" Ctrl+Alt+K "$(field_shows "$move" Ctrl+Alt+K)"
wdx_shot "Change Macro Activation" addmacro-change.png
wdx_check "Tab leaves the field" leave_field "$move"
keys alt+o
wdx_check "Ok closes it" wdx_probe gone "$move" --timeout 15000
sleep 1
wdx_expect_eq "Ctrl+Alt+K plays the moved macro" "Added textAdded text" \
  "$(notepad_after ctrl+alt+k "Added textAdded text")"
wdx_expect_eq "Ctrl+Alt+J plays nothing now" "Added textAdded text" \
  "$(notepad_after ctrl+alt+j "Added textAdded text" still)"

stamp "4. Removed"
# 4. Removed (the question answered Yes), it plays on neither key.
front_editor
keys alt+m
keys r
question=$(wdx_probe wait --title "Delete" --visible --timeout 15000)
wdx_require "Remove asks first" test -n "$question"
wdx_probe front "$question" >/dev/null
sleep 0.3
keys Return
wdx_check "the question goes" wdx_probe gone "$question" --timeout 15000
sleep 1
wdx_check "the library no longer holds the macro" bash -c '! grep -aq "Added text" "$1"' _ "$dir/ADD.WDX"
wdx_expect_eq "Ctrl+Alt+K plays nothing" "Added textAdded text" \
  "$(notepad_after ctrl+alt+k "Added textAdded text" still)"
wdx_expect_eq "nor Ctrl+Alt+J" "Added textAdded text" \
  "$(notepad_after ctrl+alt+j "Added textAdded text" still)"

stamp "The editor ends"
# The editor ends with the player (UM_CONTROL 30 closes the player).
wdx_probe post "$player" WM_USER+11 30 0 >/dev/null
wdx_check "the editor's window goes" wdx_probe gone "$editor" --timeout 20000
# Emptied first: a wait that fails sets no code, and an earlier one must not be read.
WDX_EXIT_CODE=
wdx_check "the player ends" wdx_wait_exit "$player_pid" 20
wdx_expect_eq "with exit code 0" 0 "${WDX_EXIT_CODE:-}"
wdx_check "Notepad closes" wdx_notepad_close
wdx_e2e_end
