#!/usr/bin/env bash
# File loops, text boxes, the block case and files and folders in the real Wendplay.exe under
# Wine. Four macros on Ctrl+Alt hot keys work with a window of the test's own (an Edit target)
# and files in the prefix:
# - D: a delimited loop types each record's fields (a doubled quote read as one);
# - T: a floating text box shows its header and text, and "<TBCLOSE:" closes it while the macro
#   goes on; a picture of it goes to the build folder (files-text-box.png);
# - F: folders made with their parents, a file copied and renamed, and a copy by the shell's
#   file operation, all found in the prefix afterwards;
# - U: a word selected in the window is upper-cased by "<UPPBLOCK>" and the clipboard holds
#   what it held before.
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin files

exe=$(wdx_exe Wendplay)
wdx_require "Wendplay.exe is built" test -n "$exe"
tool=$(wdx_exe wdxplayertool)
wdx_require "wdxplayertool.exe is built" test -n "$tool"
driver=$(wdx_exe wdxformdriver)
wdx_require "wdxformdriver.exe is built" test -n "$driver"
clip=$(wdx_exe wdxclip)
wdx_require "wdxclip.exe is built" test -n "$clip"
drive() { "$WDX_WINE" "$driver" "$@" | tr -d '\r'; }

# The library, the settings, the macro texts and the files live under C:\wdxfiles of the prefix.
dir=$WINEPREFIX/drive_c/wdxfiles
rm -rf "$dir"
mkdir -p "$dir"
printf '"Ann","Lee"\r\n"Bob","O'"'"'Neil"\r\n\r\n"Dee ""D""","Fox"\r\n' >"$dir/people.csv"
printf 'the source' >"$dir/src.txt"
printf '%s' '<ADFBEG:001:000001:000000:C:\wdxfiles\people.csv>%T1% %T2%;<ADFEND>' >"$dir/delimited.txt"
printf '<TBOX2:Y:00000:00000:280:130:03:000:Files Box\001A floating text box.\r\nIt closes on its header.\001><DELAY:04.00><TBCLOSE:Files Box\001>shut' \
  >"$dir/textbox.txt"
printf '%s' '<MKDIR:C:\wdxfiles\out dir\deep\er><COPYFILE:C:\wdxfiles\src.txt;C:\wdxfiles\out dir\deep\er\copy.txt><RENFILE:C:\wdxfiles\out dir\deep\er\copy.txt;C:\wdxfiles\out dir\deep\er\renamed file.txt><DOFILE:05:NN:C:\wdxfiles\src.txt>shell copy.txt>done' \
  >"$dir/files.txt"
printf '%s' '<UPPBLOCK>' >"$dir/upper.txt"
printf '[Misc]\r\nCurrent File=C:\\wdxfiles\\FILES.WDX\r\nStart Editor=No\r\n' \
  >"$WINEPREFIX/drive_c/windows/WENDX.INI"
ctrl_alt_d=147
ctrl_alt_f=149
ctrl_alt_t=163
ctrl_alt_u=164
wdx_require "test library written" "$WDX_WINE" "$tool" mklib 'C:\wdxfiles\FILES.WDX' \
  Delimited $ctrl_alt_d 1 0 "" '@C:\wdxfiles\delimited.txt' \
  TextBox $ctrl_alt_t 1 0 "" '@C:\wdxfiles\textbox.txt' \
  Files $ctrl_alt_f 1 0 "" '@C:\wdxfiles\files.txt' \
  Upper $ctrl_alt_u 1 0 "" '@C:\wdxfiles\upper.txt'

wdx_wine_start "$tool" edit-target "WDX Files Edit"
edit_pid=$WDX_LAST_PID
edit=$(wdx_probe wait --title "WDX Files Edit" --visible --timeout 20000)
wdx_require "the test's text window opens" test -n "$edit"

# Wine draws the player's frames itself (there is no window manager on this display), so the
# picture shows the caption; the setting is the player's alone and goes again at the end.
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
wdx_probe keys ctrl+alt+d >/dev/null
want="Ann Lee;Bob O'Neil;Dee \"D\" Fox;"
wdx_expect_eq "the delimited loop types each record's fields, the blank line is no record" \
  "$want" "$(wait_text "$want")"

# The floating text box: up while the macro waits, closed by its header.
wdx_probe front "$edit" >/dev/null
wdx_probe keys ctrl+alt+t >/dev/null
box=$(wdx_probe wait --title "Files Box" --visible --timeout 10000)
if wdx_check "the text box appears with its header as its caption" test -n "$box"; then
  wdx_expect_eq "its text" "A floating text box.
It closes on its header." "$(drive childtext "$box" Edit 0)"
  wdx_expect_eq "the window the macro works in keeps the front" "$edit" "$(wdx_probe foreground)"
  wdx_check "a picture of the text box is saved" wdx_shot_framed "Files Box" files-text-box.png
  wdx_check "the close command closes it" wdx_probe gone "$box" --timeout 10000
fi
want+='shut'
wdx_expect_eq "the macro goes on after the box" "$want" "$(wait_text "$want")"

# Files and folders in the prefix.
wdx_probe front "$edit" >/dev/null
wdx_probe keys ctrl+alt+f >/dev/null
want+='done'
wdx_expect_eq "the files macro runs to its end" "$want" "$(wait_text "$want")"
deep="$dir/out dir/deep/er"
wdx_check "the folders are made with their parents" test -d "$deep"
wdx_expect_eq "the copy, renamed, holds the source's text" "the source" "$(cat "$deep/renamed file.txt" 2>/dev/null)"
wdx_check "the copy's first name is gone" test ! -e "$deep/copy.txt"
wdx_expect_eq "the shell's copy in the source's folder" "the source" "$(cat "$dir/shell copy.txt" 2>/dev/null)"
wdx_expect_eq "the source stays" "the source" "$(cat "$dir/src.txt")"

# The block case: "Lee" selected, the user's clipboard kept.
wdx_check "the user's clipboard holds a text" "$WDX_WINE" "$clip" set "the user's own clip"
wdx_probe front "$edit" >/dev/null
wdx_probe send "$edit" 0xB1 4 7 --child Edit >/dev/null
wdx_probe keys ctrl+alt+u >/dev/null
want=${want/Ann Lee/Ann LEE}
wdx_expect_eq "the selected word is upper-cased in place" "$want" "$(wait_text "$want")"
sleep 0.3
wdx_expect_eq "the clipboard holds what it held before" "the user's own clip" "$("$WDX_WINE" "$clip" get | tr -d '\r')"

wdx_check "UM_CONTROL 30 ends the player" wdx_probe post "$player" WM_USER+11 30
wdx_check "Wendplay ends within 10 s" wdx_wait_exit "$pid" 10
wdx_expect_eq "exit code" 0 "$WDX_EXIT_CODE"
wdx_expect_eq "nothing more was typed" "$want" "$(edit_text)"
"$WDX_WINE" reg delete "$appkey" /f >/dev/null 2>&1
wdx_probe close "$edit" >/dev/null
wdx_check "the text window closes" wdx_wait_exit "$edit_pid" 10
wdx_expect_eq "no Windows program left running" "" "$(wdx_settled_leftovers)"
wdx_e2e_end
