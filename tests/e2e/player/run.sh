#!/usr/bin/env bash
# The player end to end under Wine, with the real WDXHOOK.dll: Wendplay.exe (32-bit) starts with
# a library holding a global macro on Ctrl+Alt+H ('Hello<ENTER>World') and a window-scoped one on
# the same key; the key is pressed with the real input functions. The global macro types into
# Notepad; the scoped macro wins while its window is in front. On Ctrl+Alt+J a macro scoped to the
# program NOTEPAD.EXE types into Notepad, and a global one into a window of another program. A
# second Wendplay.exe hands its
# single-macro file to the first and exits; the first plays it. UM_CONTROL 30 ends the player,
# and no named object of it is left.
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin player

exe=$(wdx_exe Wendplay)
wdx_require "Wendplay.exe is built" test -n "$exe"
wdx_require "WDXHOOK.dll lies beside it" test -f "$(dirname "$exe")/WDXHOOK.dll"
tool=$(wdx_exe wdxplayertool)
wdx_require "wdxplayertool.exe is built" test -n "$tool"

# The library, the settings and the files live under C:\wdxe2e of the prefix.
dir=$WINEPREFIX/drive_c/wdxe2e
rm -rf "$dir"
mkdir -p "$dir"
: >"$dir/scoped.txt"
printf 'Single<TAB>file' >"$dir/single.wrm"
ini=$WINEPREFIX/drive_c/windows/WENDX.INI
printf '[Misc]\r\nCurrent File=C:\\wdxe2e\\E2E.WDX\r\nStart Editor=No\r\n' >"$ini"
ctrl_alt_h=151
ctrl_alt_j=153
wdx_require "test library written" "$WDX_WINE" "$tool" mklib 'C:\wdxe2e\E2E.WDX' \
  Hello $ctrl_alt_h 1 0 "" 'Hello<ENTER>World' \
  Scoped $ctrl_alt_h 2 1 "scoped.txt" 'Scoped!' \
  Paused 159 1 0 "" '1<PAUSE>2' \
  Program $ctrl_alt_j 3 1 "NOTEPAD.EXE" 'Prog!' \
  Global $ctrl_alt_j 1 0 "" 'Glob!'

wdx_require "Notepad starts" wdx_notepad_start
wdx_wine_start notepad 'C:\wdxe2e\scoped.txt'
scoped_pid=$WDX_LAST_PID
scoped=$(wdx_probe wait --title-has scoped.txt --class Notepad --timeout 30000)
wdx_require "the scoped window opens" test -n "$scoped"

wdx_wine_start "$exe"
pid=$WDX_LAST_PID
player=$(wdx_probe wait --class TMainWin --title "Wendrix Player" --timeout 30000)
wdx_require "Wendplay's hidden main window appears" test -n "$player"
# The window exists before its creation handler made the last blocks and installed the hooks:
# wait for the CBT block, made just before the hooks go in.
all=$(wdx_player_objects_all 1)
for ((i = 0; i < 60; i++)); do
  now=$(wdx_player_objects)
  [ "$now" = "$all" ] && break
  sleep 0.25
done
wdx_expect_eq "named objects while it runs" "$all" "$now"
sleep 0.5

# wait_text HWND EXPECTED: Notepad's text reaches EXPECTED within 10 s; prints what it holds.
wait_text() { wdx_wait_output "$2" wdx_notepad_text "$1"; }

wdx_probe front "$WDX_NOTEPAD_HWND"
wdx_probe keys ctrl+alt+h
wdx_expect_eq "Ctrl+Alt+H types the global macro into Notepad" $'Hello\r\nWorld' \
  "$(wait_text "$WDX_NOTEPAD_HWND" $'Hello\r\nWorld')"

wdx_probe front "$scoped"
wdx_probe keys ctrl+alt+h
wdx_expect_eq "with its window in front the window-scoped macro wins" 'Scoped!' "$(wait_text "$scoped" 'Scoped!')"
wdx_expect_eq "the other Notepad is untouched" $'Hello\r\nWorld' "$(wdx_notepad_text)"

# Program scope: the program in front decides, as the player finds it when the key comes.
wdx_probe keys ctrl+alt+j
wdx_expect_eq "Ctrl+Alt+J in Notepad types the macro scoped to NOTEPAD.EXE" 'Scoped!Prog!' \
  "$(wait_text "$scoped" 'Scoped!Prog!')"
wdx_wine_start "$tool" edit-target "WDX Scope Edit"
edit_pid=$WDX_LAST_PID
edit=$(wdx_probe wait --title "WDX Scope Edit" --timeout 20000)
wdx_require "a window of another program opens" test -n "$edit"
wdx_probe front "$edit"
wdx_probe keys ctrl+alt+j
for ((i = 0; i < 100; i++)); do
  edit_text=$(wdx_probe text "$edit" --child Edit)
  [ "$edit_text" = 'Glob!' ] && break
  sleep 0.1
done
wdx_expect_eq "in another program's window Ctrl+Alt+J types the global macro" 'Glob!' "$edit_text"
wdx_expect_eq "Notepad got nothing more" 'Scoped!Prog!' "$(wdx_notepad_text "$scoped")"
wdx_probe close "$edit" >/dev/null
wdx_check "the other program ends" wdx_wait_exit "$edit_pid" 10

# A second player: it finds the first, forwards its command line and ends.
wdx_probe front "$WDX_NOTEPAD_HWND"
sleep 0.3
wdx_wine_start "$exe" '/WRMC:\wdxe2e\single.wrm'
second=$WDX_LAST_PID
wdx_check "the second Wendplay ends by itself" wdx_wait_exit "$second" 20
wdx_expect_eq "second Wendplay's exit code" 0 "$WDX_EXIT_CODE"
wdx_expect_eq "the first plays the single-macro file the second was given" $'Hello\r\nWorldSingle\tfile' \
  "$(wait_text "$WDX_NOTEPAD_HWND" $'Hello\r\nWorldSingle\tfile')"
wdx_check "the first Wendplay still runs" kill -0 "$pid"

# A PAUSE (Ctrl+Alt+P). While a macro runs the hook library lets synthetic keys pass, so the
# second press of the key comes as the hook library would send it.
before=$'Hello\r\nWorldSingle\tfile'
wdx_probe keys ctrl+alt+p
pause=$(wdx_probe wait --title "Pause (Ctrl+Alt+P)" --timeout 10000)
wdx_check "the macro's PAUSE window opens, named after its hot key" test -n "$pause"
wdx_expect_eq "the macro typed up to its PAUSE" "${before}1" "$(wait_text "$WDX_NOTEPAD_HWND" "${before}1")"
wdx_probe post "$player" WM_USER+2 159 0
wdx_check "its own hot key resumes it" wdx_probe gone "$pause" --timeout 5000
wdx_expect_eq "the rest of the macro plays" "${before}12" "$(wait_text "$WDX_NOTEPAD_HWND" "${before}12")"

wdx_probe front "$WDX_NOTEPAD_HWND"
wdx_probe keys ctrl+alt+p
pause=$(wdx_probe wait --title "Pause (Ctrl+Alt+P)" --timeout 10000)
wdx_check "a second run waits in its PAUSE" test -n "$pause"
wdx_check "UM_CONTROL 30 is posted during the PAUSE" wdx_probe post "$player" WM_USER+11 30
wdx_check "Wendplay ends within 10 s" wdx_wait_exit "$pid" 10
wdx_expect_eq "exit code" 0 "$WDX_EXIT_CODE"
wdx_expect_eq "no named object is left" "$(wdx_player_objects_all 0)" "$(wdx_player_objects)"

wdx_expect_eq "the aborted run typed nothing more" "${before}121" "$(wdx_notepad_text)"
wdx_check "Notepad closes" wdx_notepad_close
wdx_probe send "$scoped" EM_SETMODIFY 0 --child Edit >/dev/null
wdx_probe close "$scoped" >/dev/null
wdx_check "the scoped Notepad closes" wdx_wait_exit "$scoped_pid" 15
wdx_expect_eq "no Windows program left running" "" "$(wdx_settled_leftovers)"
wdx_e2e_end
