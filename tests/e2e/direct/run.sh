#!/usr/bin/env bash
# The editor's main road under Wine with the real programs: Wendplay starts with a library whose
# macro on Ctrl+Alt+H types "Old", and starts Wendforge. By keys only, the macro's row is chosen
# and opened with "Modify Directly", its text replaced by typing and the editor closed with OK;
# then Ctrl+Alt+H in Notepad types the new text. A picture of the direct editor goes to the build
# folder.
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin direct

exe=$(wdx_exe Wendplay)
wdx_require "Wendplay.exe is built" test -n "$exe"
wdx_require "Wendforge.exe lies beside it" test -f "$(dirname "$exe")/Wendforge.exe"
tool=$(wdx_exe wdxplayertool)
wdx_require "wdxplayertool.exe is built" test -n "$tool"
shots=${WDX_BUILD_ROOT:-$WDX_ROOT/build}
mkdir -p "$shots"

dir=$WINEPREFIX/drive_c/wdxdirect
rm -rf "$dir"
mkdir -p "$dir"
printf '[Misc]\r\nCurrent File=C:\\wdxdirect\\E2E.WDX\r\nStart Editor=Yes\r\n' >"$WINEPREFIX/drive_c/windows/WENDX.INI"
ctrl_alt_h=151
wdx_require "test library written" "$WDX_WINE" "$tool" mklib 'C:\wdxdirect\E2E.WDX' Hello $ctrl_alt_h 1 0 "" 'Old'

wdx_require "Notepad starts" wdx_notepad_start
keys() { wdx_probe keys "$@" >/dev/null; sleep 0.3; }

wdx_wine_start "$exe"
player_pid=$WDX_LAST_PID
player=$(wdx_probe wait --class TMainWin --title "Wendrix Player" --timeout 30000)
wdx_require "Wendplay's hidden main window appears" test -n "$player"
editor=$(wdx_probe wait --title-has "Wendrix Editor" --visible --timeout 30000)
wdx_require "the player starts Wendforge" test -n "$editor"

# The first row is chosen when the list fills; the Macros menu's "Modif&y Directly".
wdx_probe front "$editor" >/dev/null
sleep 0.5
keys alt+m
keys y
direct=$(wdx_probe wait --title-has "Modify Directly Editor" --visible --timeout 15000)
wdx_require "\"Modify Directly\" opens the direct text editor" test -n "$direct"
# Read until it holds the text: on a busy machine the first look has come back empty.
WDX_WAIT_TRIES=50
wdx_expect_eq "it shows the macro's text" "Old" "$(wdx_wait_output Old wdx_probe text "$direct" --child Edit)"
# shot FILE: a picture of the direct editor.
shot() {
  local xwin
  xwin=$(xdotool search --name "^Modify Directly Editor" 2>/dev/null | head -n 1)
  [ -n "$xwin" ] && import -window "$xwin" "$shots/$1" 2>/dev/null
}
shot direct-editor.png

# The memo has the focus: select its text, type the new one, press OK (Alt+O).
wdx_probe front "$direct" >/dev/null
keys ctrl+home ctrl+shift+end
wdx_probe type "New text" >/dev/null
sleep 0.3
wdx_expect_eq "the typed text replaced the old" "New text" "$(wdx_probe text "$direct" --child Edit)"
keys alt+o
wdx_check "OK saves and closes the editor" wdx_probe gone "$direct" --timeout 15000

# The player heard of the rewritten record: the hot key plays the new text. The key goes to
# Notepad once it is in front (the editor's window comes back to the front when its dialog goes,
# and the player takes in the new hot-key map meanwhile).
sleep 1
for ((i = 0; i < 20; i++)); do
  wdx_probe front "$WDX_NOTEPAD_HWND" >/dev/null
  sleep 0.2
  [ "$(wdx_probe foreground)" = "$WDX_NOTEPAD_HWND" ] && break
done
wdx_expect_eq "Notepad is in front" "$WDX_NOTEPAD_HWND" "$(wdx_probe foreground)"
keys ctrl+alt+h
text=
for ((i = 0; i < 100; i++)); do
  text=$(wdx_notepad_text)
  [ "$text" = "New text" ] && break
  sleep 0.1
done
wdx_expect_eq "Ctrl+Alt+H types the new text into Notepad" "New text" "$text"

# Once more, for a picture of the Properties page; Esc leaves without a question.
wdx_probe front "$editor" >/dev/null
sleep 0.3
keys alt+m
keys y
direct=$(wdx_probe wait --title-has "Modify Directly Editor" --visible --timeout 15000)
wdx_require "the editor opens again" test -n "$direct"
wdx_expect_eq "with the saved text" "New text" "$(wdx_wait_output "New text" wdx_probe text "$direct" --child Edit)"
wdx_probe front "$direct" >/dev/null
keys alt+p
shot direct-properties.png
keys escape
wdx_check "Esc closes it" wdx_probe gone "$direct" --timeout 15000

# The editor ends with the player (UM_CONTROL 30 closes the player).
wdx_probe post "$player" WM_USER+11 30 0 >/dev/null
wdx_check "the editor's window goes" wdx_probe gone "$editor" --timeout 20000
# Emptied first: a wait that fails sets no code, and an earlier one must not be read.
WDX_EXIT_CODE=
wdx_check "the player ends" wdx_wait_exit "$player_pid" 20
wdx_expect_eq "with exit code 0" 0 "${WDX_EXIT_CODE:-}"
wdx_check "Notepad closes" wdx_notepad_close
wdx_e2e_end
