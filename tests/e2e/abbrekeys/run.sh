#!/usr/bin/env bash
# Abbrekeys end to end under Wine, with the real Wendplay.exe and WDXHOOK.dll: wdxtypist types
# words with real key events into an Edit of its own, and the player replaces each Abbrekey in
# place. The settings end a word with a suffix (Space, or punctuation), retype the suffix, and
# the library holds an Abbrekey that follows the first typed letter's case, one compared
# exactly and one with punctuation inside.
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin abbrekeys

exe=$(wdx_exe Wendplay)
wdx_require "Wendplay.exe is built" test -n "$exe"
wdx_require "WDXHOOK.dll lies beside it" test -f "$(dirname "$exe")/WDXHOOK.dll"
typist=$(wdx_exe wdxtypist)
wdx_require "wdxtypist.exe is built" test -n "$typist"

dir=$WINEPREFIX/drive_c/wdxabbre
rm -rf "$dir"
mkdir -p "$dir"
printf '[Misc]\r\nCurrent File=C:\\wdxabbre\\ABBRE.WDX\r\nStart Editor=No\r\n[Abbrekeys]\r\nUse Suffix=Yes\r\nUse Punctuation=Yes\r\nRetype Suffix=Yes\r\n' \
  >"$WINEPREFIX/drive_c/windows/WENDX.INI"
wdx_require "the Abbrekey library is written" "$WDX_WINE" "$typist" abbrekeys 'C:\wdxabbre\ABBRE.WDX' \
  Sig sig 1 'best regards' \
  Btw BTW 2 'by the way' \
  Eg e.g. 3 'for example'

wdx_wine_start "$exe"
pid=$WDX_LAST_PID
player=$(wdx_probe wait --class TMainWin --title "Wendrix Player" --timeout 30000)
wdx_require "Wendplay's hidden main window appears" test -n "$player"
# The hooks go in at the end of the window's creation; the start-up timer is a sign it is done.
sleep 1

"$WDX_WINE" "$typist" type 1 \
  'my sig ' 'my best regards ' \
  'Sig,' 'Best regards,' \
  'signs ' 'signs ' \
  'btw ' 'btw ' \
  'BTW ' 'by the way ' \
  'e.g. ' 'for example ' >"$dir/typed.raw" 2>&1
typed_rc=$?
tr -d '\r' <"$dir/typed.raw" >"$dir/typed.out"
wdx_results "$dir/typed.out"
wdx_expect_eq "wdxtypist's exit code" 0 "$typed_rc"
wdx_expect_eq "six words were checked" 6 "$(grep -cE '^(ok   |FAIL )' "$dir/typed.out")"

wdx_check "UM_CONTROL 30 is posted" wdx_probe post "$player" WM_USER+11 30
wdx_check "Wendplay ends within 10 s" wdx_wait_exit "$pid" 10
wdx_e2e_end
