#!/usr/bin/env bash
# Wendforge end to end under Wine, started the way a user gets it: Wendplay runs with the setting
# "Start Editor" on and starts Wendforge beside itself with its start token and its window. The
# editor's window shows its caption, menus and tabs (read off the screen by OCR) and the
# library's macros (read through the list control, as any reader would); a click on the second
# tab shows the quick wizards. Both pages are saved as pictures in the build folder. "Terminate
# Wendrix Editor" from the File menu closes the editor; the player goes on and starts it again on
# its "Run Wendrix Editor" hot key. In network mode the editor takes the library lock for a change
# and gives it back counted, and refuses while another user holds it. UM_CONTROL 30 ends the
# player and the editor with it.
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin editor

exe=$(wdx_exe Wendplay)
wdx_require "Wendplay.exe is built" test -n "$exe"
wdx_require "Wendforge.exe lies beside it" test -f "$(dirname "$exe")/Wendforge.exe"
tool=$(wdx_exe wdxplayertool)
wdx_require "wdxplayertool.exe is built" test -n "$tool"
driver=$(wdx_exe wdxformdriver)
wdx_require "wdxformdriver.exe is built" test -n "$driver"
have() { command -v "$1" >/dev/null; }
wdx_require "tesseract reads the screen" have tesseract
shots=${WDX_BUILD_ROOT:-$WDX_ROOT/build}
mkdir -p "$shots"

dir=$WINEPREFIX/drive_c/wdxeditor
rm -rf "$dir"
mkdir -p "$dir"
printf '[Misc]\r\nCurrent File=C:\\wdxeditor\\EDITOR.WDX\r\nStart Editor=Yes\r\n[Network]\r\nNetwork Mode=Yes\r\nAuto Sync=No\r\n' \
  >"$WINEPREFIX/drive_c/windows/WENDX.INI"
# NICK CODE KIND MATCH SCOPE TEXT: a global hot key, a program-scoped hot key, a timed macro and
# a window-scoped macro without activation. The player adds its five built-in macros on start.
wdx_require "test library written" "$WDX_WINE" "$tool" mklib 'C:\wdxeditor\EDITOR.WDX' \
  "Hello Notepad" 151 1 0 "" 'Hello' \
  "Launch Mail" 153 3 1 "MAIL.EXE" 'x' \
  "Daily Report" 10000 1 0 "" 'x' \
  "Scratch Pad" 30000 2 1 "Notes" 'x'

wdx_wine_start "$exe"
pid=$WDX_LAST_PID
player=$(wdx_probe wait --class TMainWin --title "Wendrix Player" --timeout 30000)
wdx_require "Wendplay's hidden main window appears" test -n "$player"
editor=$(wdx_probe wait --title-has "Wendrix Editor" --visible --timeout 30000)
wdx_require "Wendplay starts Wendforge, whose window shows" test -n "$editor"
wdx_expect_eq "the caption names the library" "Wendrix Editor (EDITOR)" "$(wdx_probe text "$editor")"

# The editor's process: its command line as the player gave it.
editor_line() {
  local p line
  for p in $(wdx_prefix_pids); do
    line=$({ tr '\0' ' ' <"/proc/$p/cmdline"; } 2>/dev/null)
    case "${line,,}" in *wendforge.exe*) printf '%s\n' "$line"; return 0 ;; esac
  done
  return 1
}
line=$(editor_line)
wdx_check "the player started it with the start token and its window ('$line')" \
  grep -q -- "-RXB /RH$player\b" <<<"$line"

# The list, through the list control: titles, then the rows sorted by activation (hot keys by
# name, then the timed macro, then the one without activation). The narrow icon column is left
# out: it shows pictures, and its title as much as fits.
expected=" | Activation | Nickname | Scope
1 | Ctrl+Alt+H | Hello Notepad | GLOBAL
2 | Ctrl+Alt+J | Launch Mail | Program: MAIL.EXE
3 | Ctrl+Alt+Shift+V | Terminate Wendrix | SYSTEM
4 | Ctrl+Alt+Shift+W | Run Wendrix Editor | SYSTEM
5 | Ctrl+Alt+Shift+X | Start / Stop Capture | SYSTEM
6 | Ctrl+Alt+Shift+Y | Resume Pause | SYSTEM
7 | Ctrl+Alt+Shift+Z | Menu of Macros for Topmost Window | SYSTEM
8 | Timed Macro | Daily Report | GLOBAL
9 | None | Scratch Pad | Window: Notes"
rows=$("$WDX_WINE" "$driver" rows "$editor" | tr -d '\r' | sed 's/^\([^|]*|\)[^|]*| /\1 /')
wdx_expect_eq "the list shows the library's macros" "$expected" "$rows"

# The screen as a person sees it: the window's picture, read by OCR at three times its size.
xid=$(xdotool search --name "^Wendrix Editor" 2>/dev/null | head -n 1)
wdx_require "the editor's window is on the X display" test -n "$xid"
# ocr PNG HEIGHT OUT: the words tesseract finds in the top HEIGHT pixels of the picture, and
# their boxes in OUT.tsv. One thread: tesseract's threads only wait for each other on a busy
# machine.
ocr() {
  convert "$1" -crop "x$2+0+0" +repage -resize 300% -colorspace Gray "$3.png" &&
    OMP_THREAD_LIMIT=1 tesseract "$3.png" "$3" --psm 6 tsv >/dev/null 2>&1 &&
    awk -F'\t' 'NR > 1 && $12 != "" { print $12 }' "$3.tsv"
}
# word_center TSV WORD: screen position of the word's middle (the picture is 3x the window).
word_center() {
  local x y wx wy
  read -r x y < <(awk -F'\t' -v w="$2" 'NR > 1 && $12 == w { print int(($7 + $9 / 2) / 3), int(($8 + $10 / 2) / 3); exit }' "$1")
  [ -n "$x" ] || return 1
  read -r wx wy < <(xdotool getwindowgeometry --shell "$xid" | awk -F= '$1 == "X" { x = $2 } $1 == "Y" { y = $2 } END { print x, y }')
  printf '%s %s\n' $((wx + x)) $((wy + y))
}
sleep 0.5
import -window "$xid" "$shots/editor-macros.png" 2>/dev/null
wdx_require "the macro page is saved as a picture" test -s "$shots/editor-macros.png"
words=$(ocr "$shots/editor-macros.png" 120 "$WDX_WINE_DIR/macros" | tr '\n' ' ')
has_words() {
  local w
  for w in "$@"; do grep -qw -- "$w" <<<"$words" || { echo "missing '$w' in: $words" >&2; return 1; }; done
}
wdx_check "the menu bar shows File, Macros, Wizards, Remap, Options, Tools and Help" \
  has_words File Macros Wizards Remap Options Tools Help
wdx_check "the tabs show Macros and Quick Wizards" has_words Quick Wizards
wdx_check "the grid's titles show" has_words Activation Nickname Scope

# The second tab, clicked as a user clicks it.
if pos=$(word_center "$WDX_WINE_DIR/macros.tsv" Quick); then
  # shellcheck disable=SC2086
  xdotool mousemove $pos click 1
  sleep 0.7
  import -window "$xid" "$shots/editor-wizards.png" 2>/dev/null
  words=$(ocr "$shots/editor-wizards.png" 180 "$WDX_WINE_DIR/wizards" | tr '\n' ' ')
  wdx_check "a click on its tab shows the quick wizards" has_words Keystrokes Graphics Symbol Programs
else
  wdx_fail "the Quick Wizards tab is found on the screen"
fi

# File, Terminate Wendrix Editor: by its keys, as a user would.
wdx_probe front "$editor" >/dev/null
sleep 0.3
wdx_check "the File menu opens on Alt+F" wdx_probe keys alt+f
sleep 0.5
wdx_check "T chooses Terminate Wendrix Editor" wdx_probe keys t
wdx_check "the editor's window goes" wdx_probe gone "$editor" --timeout 10000
ended=1
for ((i = 0; i < 100; i++)); do
  editor_line >/dev/null || { ended=0; break; }
  sleep 0.1
done
wdx_expect_eq "the editor's process ends" 0 "$ended"
wdx_check "the player goes on" kill -0 "$pid"
wdx_expect_eq "its window is still there" "$player" "$(wdx_probe find --class TMainWin --title "Wendrix Player")"

# The player serves its hot keys still: "Run Wendrix Editor" starts a new editor.
wdx_probe keys ctrl+alt+shift+w
again=$(wdx_probe wait --title-has "Wendrix Editor" --visible --timeout 30000)
wdx_check "Ctrl+Alt+Shift+W starts the editor again" test -n "$again"

# Network mode: a change takes the lock and gives it back with the change counted. The change
# is the one the editor makes when the player says a floating menu was closed (UM_CONTROL 22):
# the macro is switched off in the library.
stamp=$dir/EDITOR.WDY
counter() { od -An -tu4 -N4 "$stamp" 2>/dev/null | tr -d ' '; }
state() { od -An -tu2 -j4 -N2 "$stamp" 2>/dev/null | tr -d ' '; }
active() { od -An -tu1 -j$(( ($1 - 1) * 5165 + 97 )) -N1 "$dir/EDITOR.WDX" | tr -d ' '; }
wdx_check "the player made the library's lock file" test -s "$stamp"
before=$(counter)
wdx_probe post "$again" WM_USER+11 22 3 >/dev/null
for ((i = 0; i < 100; i++)); do
  [ "$(counter)" = $((before + 1)) ] && break
  sleep 0.1
done
wdx_expect_eq "the change is counted in the lock file" "$((before + 1))" "$(counter)"
wdx_expect_eq "and the lock is free again" 2 "$(state)"
wdx_expect_eq "the macro is switched off in the library" 0 "$(active 3)"
# Another user holds the lock: the editor says so and changes nothing.
python3 -c 'import struct, sys; open(sys.argv[1], "r+b").write(struct.pack("<ihd", int(sys.argv[2]), 1, 46000.25))' \
  "$stamp" "$((before + 1))"
wdx_probe post "$again" WM_USER+11 22 4 >/dev/null
box=$(wdx_probe wait --class '#32770' --title Error --visible --timeout 10000)
wdx_check "a change while another user holds the lock shows a box" test -n "$box"
if [ -n "$box" ]; then
  wdx_expect_eq "it says the library is in use" "Macro File in use by another user.  Please try again later." \
    "$("$WDX_WINE" "$tool" boxtext "$box" | tr -d '\r')"
  "$WDX_WINE" "$driver" click "$box" OK >/dev/null
  wdx_check "the box goes" wdx_probe gone "$box" --timeout 10000
fi
wdx_expect_eq "the macro stays on" 1 "$(active 4)"
wdx_expect_eq "the other user's lock is left alone" "$((before + 1)) 1" "$(counter) $(state)"
python3 -c 'import struct, sys; open(sys.argv[1], "r+b").write(struct.pack("<ih", int(sys.argv[2]), 2))' \
  "$stamp" "$((before + 1))"

wdx_check "UM_CONTROL 30 is posted to the player" wdx_probe post "$player" WM_USER+11 30
wdx_check "Wendplay ends within 15 s" wdx_wait_exit "$pid" 15
wdx_expect_eq "its exit code" 0 "$WDX_EXIT_CODE"
[ -n "$again" ] && wdx_check "the editor ends with the player" wdx_probe gone "$again" --timeout 10000
wdx_expect_eq "no Windows program left running" "" "$(wdx_settled_leftovers 10)"
wdx_e2e_end
