#!/usr/bin/env bash
# Repeat and if blocks in the real Wendplay.exe under Wine, with the real hook library. Three
# macros on Ctrl+Alt hot keys type into a window of the test's own (an Edit target):
# - K: a counted repeat whose counter types 10, 15, 20, with a window test that holds for the
#   window in front and one that holds for no window, so both branches of "<IFOTH:" are taken;
# - Q: a question box ("<IFMESS:") answered No, which plays the part after "<ELSE>";
# - R: the repeat-count prompt ("<PROMPTREP>"), which refuses -1 with a message and then takes 2.
# Pictures of the question box and the prompt go to the build folder (blocks-question.png,
# blocks-repeat-prompt.png) for a person to look at.
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin blocks

exe=$(wdx_exe Wendplay)
wdx_require "Wendplay.exe is built" test -n "$exe"
tool=$(wdx_exe wdxplayertool)
wdx_require "wdxplayertool.exe is built" test -n "$tool"
driver=$(wdx_exe wdxformdriver)
wdx_require "wdxformdriver.exe is built" test -n "$driver"
drive() { "$WDX_WINE" "$driver" "$@" | tr -d '\r'; }

# The library, the settings and the macro texts live under C:\wdxblocks of the prefix.
dir=$WINEPREFIX/drive_c/wdxblocks
rm -rf "$dir"
mkdir -p "$dir"
# (A counter inside an if block would type the if block's own counter, 1.)
printf '%s' '<REP3:01:000010:000005:0003:0:01:><II><IFOTH:03:0:blocks edit>=ok<ELSE>=?<ENDIF><IFOTH:04:1:No Such Window>?<ELSE>,<ENDIF><ENDREP>' \
  >"$dir/counted.txt"
printf '<IFMESS:1:Blocks Question\001The macro can type its first part or its second part. Type the first part?\001\001\001>yes<ELSE>no<ENDIF>.' \
  >"$dir/question.txt"
printf '%s' '<PROMPTREP>r<I><ENDREP>' >"$dir/prompted.txt"
printf '[Misc]\r\nCurrent File=C:\\wdxblocks\\BLOCKS.WDX\r\nStart Editor=No\r\n' \
  >"$WINEPREFIX/drive_c/windows/WENDX.INI"
ctrl_alt_k=154
ctrl_alt_q=160
ctrl_alt_r=161
wdx_require "test library written" "$WDX_WINE" "$tool" mklib 'C:\wdxblocks\BLOCKS.WDX' \
  Counted $ctrl_alt_k 1 0 "" '@C:\wdxblocks\counted.txt' \
  Question $ctrl_alt_q 1 0 "" '@C:\wdxblocks\question.txt' \
  Prompted $ctrl_alt_r 1 0 "" '@C:\wdxblocks\prompted.txt'

wdx_wine_start "$tool" edit-target "WDX Blocks Edit"
edit_pid=$WDX_LAST_PID
edit=$(wdx_probe wait --title "WDX Blocks Edit" --visible --timeout 20000)
wdx_require "the test's text window opens" test -n "$edit"

# Wine draws the player's frames itself (there is no window manager on this display), so the
# pictures show the captions; the setting is the player's alone and goes again at the end.
appkey='HKCU\Software\Wine\AppDefaults\Wendplay.exe'
"$WDX_WINE" reg add "$appkey\X11 Driver" /v Decorated /d N /f >/dev/null 2>&1
wdx_wine_start "$exe"
pid=$WDX_LAST_PID
player=$(wdx_probe wait --class TMainWin --title "Wendrix Player" --timeout 30000)
wdx_require "Wendplay's hidden main window appears" test -n "$player"
wdx_require "the player's hooks are in (all its named objects made)" wdx_player_hooks_in "$tool"

edit_text() { wdx_probe text "$edit" --child Edit; }
# wait_text EXPECTED: the window's text reaches EXPECTED within 10 s; prints what it holds.
wait_text() { wdx_wait_output "$1" edit_text; }

wdx_probe front "$edit" >/dev/null
wdx_probe keys ctrl+alt+k >/dev/null
want='10=ok,15=ok,20=ok,'
wdx_expect_eq "the counted repeat types its counter where the window test holds, the else part where none does" \
  "$want" "$(wait_text "$want")"

# The question box, answered No.
wdx_probe front "$edit" >/dev/null
wdx_probe keys ctrl+alt+q >/dev/null
box=$(wdx_probe wait --title "Blocks Question" --visible --timeout 10000)
if wdx_check "the question box appears with the command's caption" test -n "$box"; then
  wdx_expect_eq "its first button" "&Yes" "$(drive childtext "$box" Button 0)"
  wdx_expect_eq "its second button" "&No" "$(drive childtext "$box" Button 1)"
  wdx_expect_eq "its question" \
    "The macro can type its first part or its second part. Type the first part?" "$(drive childtext "$box" Static 0)"
  sleep 0.3
  wdx_check "a picture of the question box is saved" wdx_shot_framed "Blocks Question" blocks-question.png
  wdx_check "No is clicked" drive click "$box" "&No"
  wdx_check "the question box closes" wdx_probe gone "$box" --timeout 10000
fi
want+='no.'
wdx_expect_eq "No plays the part after the else" "$want" "$(wait_text "$want")"

# The repeat prompt: -1 is refused in the prompt itself, 2 repeats twice.
wdx_probe front "$edit" >/dev/null
wdx_probe keys ctrl+alt+r >/dev/null
prompt=$(wdx_probe wait --title "Macro Repeat" --visible --timeout 10000)
if wdx_check "the repeat prompt appears" test -n "$prompt"; then
  wdx_expect_eq "it asks for the count" "Times To Repeat" "$(drive childtext "$prompt" Static 0)"
  sleep 0.3
  wdx_check "a picture of the repeat prompt is saved" wdx_shot_framed "Macro Repeat" blocks-repeat-prompt.png
  drive settext "$prompt" Edit 0 "-1" >/dev/null
  drive click "$prompt" "&Ok" >/dev/null
  error=$(wdx_probe wait --title Error --class '#32770' --visible --timeout 10000)
  if wdx_check "a count of -1 is refused with a message" test -n "$error"; then
    wdx_expect_eq "the message" "Invalid numeric value entered.  Please Correct" \
      "$("$WDX_WINE" "$tool" boxtext "$error" | tr -d '\r')"
    wdx_probe front "$error" >/dev/null
    wdx_probe keys enter >/dev/null
    wdx_check "the message is answered" wdx_probe gone "$error" --timeout 5000
  fi
  wdx_expect_eq "the prompt stays open" "$prompt" "$(wdx_probe find --title "Macro Repeat" --visible)"
  drive settext "$prompt" Edit 0 "2" >/dev/null
  wdx_check "Ok is clicked with 2" drive click "$prompt" "&Ok"
  wdx_check "the prompt closes" wdx_probe gone "$prompt" --timeout 10000
fi
want+='r1r2'
wdx_expect_eq "the block repeats as often as answered, and nothing for the refused -1" "$want" "$(wait_text "$want")"

wdx_check "UM_CONTROL 30 ends the player" wdx_probe post "$player" WM_USER+11 30
wdx_check "Wendplay ends within 10 s" wdx_wait_exit "$pid" 10
wdx_expect_eq "exit code" 0 "$WDX_EXIT_CODE"
wdx_expect_eq "nothing more was typed" "$want" "$(edit_text)"
"$WDX_WINE" reg delete "$appkey" /f >/dev/null 2>&1
wdx_probe close "$edit" >/dev/null
wdx_check "the text window closes" wdx_wait_exit "$edit_pid" 10
wdx_expect_eq "no Windows program left running" "" "$(wdx_settled_leftovers)"
wdx_e2e_end
