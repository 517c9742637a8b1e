#!/usr/bin/env bash
# The interpreter types with real key events under Wine: wdxtypetest.exe plays a table of macro
# texts into a multiline Edit of its own and checks the Edit's text after each (Enter, Tab,
# Shift, Backspace, arrows, variables, tags typed as text, no modifier left down), and measures
# typing speed beside a bare keybd_event loop. Then it types a macro into Wine's Notepad, whose
# text must be exactly what the macro means. Wine does not compose Alt + keypad codes; those
# cases are reported as notes and covered by the native key-event test.
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin interpreter

exe=$(wdx_exe wdxtypetest)
wdx_require "wdxtypetest.exe is built" test -n "$exe"

out=$WDX_WINE_DIR/wdxtypetest.out
rc=0
timeout 180 "$WDX_WINE" "$exe" >"$out" 2>/dev/null || rc=$?
wdx_results "$out"
wdx_expect_eq "wdxtypetest exit code" 0 "$rc"

# Notepad: the macro is handed over in a file, byte for byte.
macro=$WDX_WINE_DIR/notepad-macro.txt
printf 'Dear Sir,\r\n<TAB>Thanks!<ENTER>Bye<BACKSPACE><BACKSPACE>ye %%T1%%<SHIFT>x' >"$macro"
if wdx_notepad_start; then
  rc=0
  timeout 120 "$WDX_WINE" "$exe" --type "$(wdx_winepath "$macro")" >/dev/null 2>&1 || rc=$?
  wdx_expect_eq "macro typed into Notepad, no modifier left down" 0 "$rc"
  sleep 1
  wdx_expect_eq "Notepad holds what the macro means" $'Dear Sir,\r\n\tThanks!\r\nBye X' "$(wdx_notepad_text)"
  wdx_check "Notepad closes" wdx_notepad_close
else
  wdx_fail "Notepad starts"
fi
wdx_expect_eq "no Windows program left running" "" "$(wdx_settled_leftovers)"
wdx_e2e_end
