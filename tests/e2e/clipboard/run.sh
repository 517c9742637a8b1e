#!/usr/bin/env bash
# The clipboard commands in the real Wendplay.exe under Wine, with the system's own clipboard
# and a window of the test's own (an Edit target). Macros on Ctrl+Alt hot keys:
# - C: text from the macro goes onto the clipboard and is pasted into the window;
# - F: a text file goes onto the clipboard, is pasted, and the clipboard's text saved to a file;
# - J: a JPEG file made by libjpeg goes onto the clipboard as a picture (its size read from the
#   clipboard by the test's tool); S saves it back as a JPEG file that libjpeg decodes whole to
#   the same size;
# - U: "<UPPBLOCK>" borrows the clipboard and gives the user's picture back;
# - B: a corrupt JPEG file shows the command's message and leaves the clipboard as it was;
# - E: an emptied clipboard has no picture to save: the message names the macro.
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin clipboard

exe=$(wdx_exe Wendplay)
wdx_require "Wendplay.exe is built" test -n "$exe"
tool=$(wdx_exe wdxplayertool)
wdx_require "wdxplayertool.exe is built" test -n "$tool"
driver=$(wdx_exe wdxformdriver)
wdx_require "wdxformdriver.exe is built" test -n "$driver"
clip=$(wdx_exe wdxclip)
wdx_require "wdxclip.exe is built" test -n "$clip"
pic=$(wdx_exe wdxpictool)
wdx_require "wdxpictool.exe is built" test -n "$pic"
drive() { "$WDX_WINE" "$driver" "$@" | tr -d '\r'; }
pictool() { "$WDX_WINE" "$pic" "$@" | tr -d '\r'; }

dir=$WINEPREFIX/drive_c/wdxclip
rm -rf "$dir"
mkdir -p "$dir"
wdx_require "a 64 by 48 JPEG is made with libjpeg" "$WDX_WINE" "$pic" makejpeg 'C:\wdxclip\photo.jpg' 64 48
head -c 300 "$dir/photo.jpg" >"$dir/corrupt.jpg"
printf 'from a file\032' >"$dir/note.txt"
printf '%s' '<BEGCLIP>copied by a macro<ENDCLIP><CLIPP>' >"$dir/text.txt"
printf '%s' '<CLIPF:C:\wdxclip\note.txt><CLIPP><CLIPST:C:\wdxclip\saved.txt>' >"$dir/file.txt"
printf '%s' '<CLIPB:C:\wdxclip\photo.jpg>' >"$dir/jpeg.txt"
printf '%s' '<CLIPSG:C:\wdxclip\back.jpg>' >"$dir/save.txt"
printf '%s' '<UPPBLOCK>' >"$dir/upper.txt"
printf '%s' '<CLIPB:C:\wdxclip\corrupt.jpg>on' >"$dir/corrupt.txt"
printf '%s' '<CLIPE><CLIPSG:C:\wdxclip\none.jpg>!' >"$dir/empty.txt"
printf '[Misc]\r\nCurrent File=C:\\wdxclip\\CLIP.WDX\r\nStart Editor=No\r\n' \
  >"$WINEPREFIX/drive_c/windows/WENDX.INI"
ctrl_alt_b=145
ctrl_alt_c=146
ctrl_alt_e=148
ctrl_alt_f=149
ctrl_alt_j=153
ctrl_alt_s=162
ctrl_alt_u=164
wdx_require "test library written" "$WDX_WINE" "$tool" mklib 'C:\wdxclip\CLIP.WDX' \
  Text $ctrl_alt_c 1 0 "" '@C:\wdxclip\text.txt' \
  File $ctrl_alt_f 1 0 "" '@C:\wdxclip\file.txt' \
  Jpeg $ctrl_alt_j 1 0 "" '@C:\wdxclip\jpeg.txt' \
  Save $ctrl_alt_s 1 0 "" '@C:\wdxclip\save.txt' \
  Upper $ctrl_alt_u 1 0 "" '@C:\wdxclip\upper.txt' \
  Corrupt $ctrl_alt_b 1 0 "" '@C:\wdxclip\corrupt.txt' \
  Empty $ctrl_alt_e 1 0 "" '@C:\wdxclip\empty.txt'

wdx_wine_start "$tool" edit-target "WDX Clip Edit"
edit_pid=$WDX_LAST_PID
edit=$(wdx_probe wait --title "WDX Clip Edit" --visible --timeout 20000)
wdx_require "the test's text window opens" test -n "$edit"

wdx_require "Wendplay's hidden main window appears" wdx_player_start "$exe"
wdx_require "the player's named objects are all made" wdx_player_hooks_in "$tool"

edit_text() { wdx_probe text "$edit" --child Edit; }
wait_text() { wdx_wait_output "$1" edit_text; }
# wait_file PATH: the file is there within 10 s.
wait_file() {
  local i
  for ((i = 0; i < 100; i++)); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  return 1
}
# press COMBO: the test's window in front, then the hot key.
press() {
  wdx_probe front "$edit" >/dev/null
  wdx_probe keys "$1" >/dev/null
}

# --- Text
"$WDX_WINE" "$clip" set "the user's text" >/dev/null
press ctrl+alt+c
want='copied by a macro'
wdx_expect_eq "the macro's text is pasted into the window" "$want" "$(wait_text "$want")"
wdx_expect_eq "the clipboard holds the macro's text" "$want" "$("$WDX_WINE" "$clip" get | tr -d '\r')"

press ctrl+alt+f
want+='from a file'
wdx_expect_eq "a text file's text (without its Ctrl+Z) is pasted" "$want" "$(wait_text "$want")"
wdx_check "the clipboard's text is saved to a file" wait_file "$dir/saved.txt"
printf 'from a file\r\n' >"$dir/saved.expected"
wdx_check "the saved file holds the text and CR LF" cmp -s "$dir/saved.expected" "$dir/saved.txt"

# --- A picture through JPEG
press ctrl+alt+j
for ((i = 0; i < 50; i++)); do
  [ "$(pictool clipsize)" = 64x48 ] && break
  sleep 0.2
done
wdx_expect_eq "the JPEG is on the clipboard as a 64 by 48 bitmap" 64x48 "$(pictool clipsize)"
press ctrl+alt+s
wdx_check "the clipboard's picture is saved as a JPEG file" wait_file "$dir/back.jpg"
sleep 0.3
wdx_expect_eq "libjpeg decodes the saved file whole, to the same size" 64x48 "$(pictool jpegsize 'C:\wdxclip\back.jpg')"

# --- A command that borrows the clipboard gives the user's picture back.
wdx_probe send "$edit" 0xB1 0 6 --child Edit >/dev/null
press ctrl+alt+u
want=${want/copied/COPIED}
wdx_expect_eq "the selected word is upper-cased" "$want" "$(wait_text "$want")"
sleep 0.3
wdx_expect_eq "the clipboard holds the user's picture again" 64x48 "$(pictool clipsize)"
wdx_probe send "$edit" 0xB1 1000 1000 --child Edit >/dev/null  # the caret back at the end

# --- A corrupt JPEG: the command's message; the clipboard keeps its picture, the macro goes on.
press ctrl+alt+b
box=$(wdx_probe wait --class WdxForm --title "JPEG Copy Error" --visible --timeout 15000)
if wdx_check "a corrupt JPEG file shows the JPEG copy message" test -n "$box"; then
  wdx_expect_eq "its text" "JPEG file could not be located." "$(drive childtext "$box" Static 0)"
  wdx_check "a picture of the message is saved" wdx_shot_framed "JPEG Copy Error" clipboard-corrupt-jpeg.png
  wdx_check "Ok closes it" drive click "$box" "&Ok"
  wdx_check "the message goes" wdx_probe gone "$box" --timeout 5000
fi
wdx_expect_eq "the clipboard still holds the picture" 64x48 "$(pictool clipsize)"
want+='on'
wdx_expect_eq "the macro goes on after the message" "$want" "$(wait_text "$want")"

# --- An emptied clipboard has no picture to save.
press ctrl+alt+e
box=$(wdx_probe wait --class WdxForm --title "Error" --visible --timeout 15000)
if wdx_check "saving the picture of an empty clipboard shows the message" test -n "$box"; then
  wdx_expect_eq "its text names the macro" \
    "There is no recognizable graphic in the clipboard. Saving clipboard graphic to a file will abort. (Macro Name: Empty)" \
    "$(drive childtext "$box" Static 0)"
  wdx_check "Ok closes it" drive click "$box" "&Ok"
  wdx_check "the message goes" wdx_probe gone "$box" --timeout 5000
fi
want+='!'
wdx_expect_eq "the macro goes on" "$want" "$(wait_text "$want")"
wdx_check "no file was written" test ! -e "$dir/none.jpg"
wdx_expect_eq "the clipboard is empty" none "$(pictool clipsize)"

wdx_check "UM_CONTROL 30 ends the player" wdx_probe post "$WDX_PLAYER_HWND" WM_USER+11 30
wdx_check "Wendplay ends within 10 s" wdx_wait_exit "$WDX_PLAYER_PID" 10
wdx_expect_eq "exit code" 0 "$WDX_EXIT_CODE"
wdx_expect_eq "nothing more was typed" "$want" "$(edit_text)"
wdx_probe close "$edit" >/dev/null
wdx_check "the text window closes" wdx_wait_exit "$edit_pid" 10
wdx_expect_eq "no Windows program left running" "" "$(wdx_settled_leftovers)"
wdx_e2e_end
