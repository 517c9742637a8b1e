#!/usr/bin/env bash
# The tray and the macro control commands end to end under Wine, with the real Wendplay.exe and
# WDXHOOK.dll. The player starts with a command line full of what it cannot use (unknown
# switches, switches without values, presets of variables that do not exist, 10 000 characters)
# and "/A greet": the start-up macro types into an Edit of another program, with a text preset
# of the same line. Its icon is in the shell's notification area (Wine's stand-alone tray), with
# its tip as the shell keeps it; a right click there, as the shell reports it, opens the tray
# menu (screenshot in the build folder) and "&About" opens the About box. A hot-key macro plays
# another by "<MACRUN:"; a second player forwards a 10 000-character line whose "/A" runs a
# macro; "<SWAP:" switches libraries and the next hot key plays from the new one, whose
# "<TERME>" ends the player: no named object and no icon is left.
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin tray

exe=$(wdx_exe Wendplay)
wdx_require "Wendplay.exe is built" test -n "$exe"
wdx_require "WDXHOOK.dll lies beside it" test -f "$(dirname "$exe")/WDXHOOK.dll"
ptool=$(wdx_exe wdxplayertool)
wdx_require "wdxplayertool.exe is built" test -n "$ptool"
atool=$(wdx_exe wdxacttool)
wdx_require "wdxacttool.exe is built (window rectangles)" test -n "$atool"
driver=$(wdx_exe wdxformdriver)
wdx_require "wdxformdriver.exe is built" test -n "$driver"
drive() { "$WDX_WINE" "$driver" "$@" | tr -d '\r'; }

# Two libraries under C:\wdxtray. Ctrl+Alt+letter is hot key 144 + the letter's place (A = 0).
dir=$WINEPREFIX/drive_c/wdxtray
rm -rf "$dir"
mkdir -p "$dir"
ini=$WINEPREFIX/drive_c/windows/WENDX.INI
printf '[Misc]\r\nCurrent File=C:\\wdxtray\\A.WDX\r\nStart Editor=No\r\nUse Tray=Yes\r\n' >"$ini"
ctrl_alt_h=151 ctrl_alt_q=160 ctrl_alt_s=162
wdx_require "library A written" "$WDX_WINE" "$ptool" mklib 'C:\wdxtray\A.WDX' \
  Greet 30000 1 0 "" '<VARSR:05>up %T5%;' \
  Inner 30000 1 0 "" 'in;' \
  Hot $ctrl_alt_h 1 0 "" '<MACRUN:Inner>hot;' \
  Swap $ctrl_alt_s 1 0 "" '<SWAP:C:\wdxtray\B.WDX>sw;'
wdx_require "library B written" "$WDX_WINE" "$ptool" mklib 'C:\wdxtray\B.WDX' \
  Hot $ctrl_alt_h 1 0 "" 'B;' \
  Quit $ctrl_alt_q 1 0 "" 'q<TERME>never'

# wait_text EXPECTED: the Edit holds EXPECTED within 10 s; prints what it holds.
wait_text() { wdx_wait_output "$1" wdx_probe text "$edit" --child Edit; }
# player_windows: the visible windows of the player's process (a message it shows), one a line.
player_windows() {
  wdx_probe list | tr -d '\r' | awk -F'\t' -v p="$wpid" '$2 == p && $3 == 1'
}
# shot NAME HWND...: a picture of the windows and a margin around them.
shot() {
  local name=$1 w r x0 y0 x1 y1 left=100000 top=100000 right=0 bottom=0
  shift
  for w in "$@"; do
    r=$("$WDX_WINE" "$atool" rect "$w" | tr -d '\r') || return 1
    read -r x0 y0 x1 y1 <<<"$r"
    ((x0 < left)) && left=$x0
    ((y0 < top)) && top=$y0
    ((x1 > right)) && right=$x1
    ((y1 > bottom)) && bottom=$y1
  done
  left=$((left > 20 ? left - 20 : 0))
  top=$((top > 20 ? top - 20 : 0))
  mkdir -p "$WDX_SHOTS"
  import -window root -crop "$((right + 20 - left))x$((bottom + 20 - top))+$left+$top" +repage "$WDX_SHOTS/$name.png" 2>/dev/null
}

# tray_icons: the shell's icons with their tips. A tip is read from the shell's memory, which
# takes a probe of the shell's own width: where the 32-bit programs run in a prefix whose shell
# is 64-bit, the 64-bit probe reads it.
tray_icons() {
  local probe64
  wdx_probe tray
  if [ "$WDX_WINE_ARCH" = 32 ] && probe64=$(wdx_exe wdxprobe --64 2>/dev/null); then
    "$WDX_WINE" "$probe64" tray 2>/dev/null
  fi
}

wdx_wine_start "$ptool" edit-target "WDX Tray Edit"
edit_pid=$WDX_LAST_PID
edit=$(wdx_probe wait --title "WDX Tray Edit" --timeout 20000)
wdx_require "the Edit window opens" test -n "$edit"

# The start: what the player cannot use is passed over; "/A" and the one good preset count.
long=$(printf 'y%.0s' {1..10000})
wdx_wine_start "$exe" /Q /F /SM /WRM /VT0:x /VN51:3 /VQ1:z /VT5: tray ok /A greet /SM99 "/X$long"
pid=$WDX_LAST_PID
player=$(wdx_probe wait --class TMainWin --title "Wendrix Player" --timeout 30000)
wdx_require "Wendplay's hidden main window appears" test -n "$player"
wpid=$(wdx_probe pid "$player" | tr -d '\r')

# --- The icon in the shell's notification area, its tip as the shell holds it.
icon_line=
for ((i = 0; i < 50; i++)); do
  icon_line=$(tray_icons | tr -d '\r' | awk -F'\t' '$4 == "Wendrix 2000"')
  [ -n "$icon_line" ] && break
  sleep 0.1
done
wdx_expect_eq "the shell holds one icon with the tip \"Wendrix 2000\"" 1 "$(printf '%s' "$icon_line" | grep -c .)"
read -r icon ix iy _ <<<"$icon_line"

wdx_expect_eq "five seconds on, \"/A greet\" runs its macro with the preset T5" 'up tray ok;' "$(wait_text 'up tray ok;')"
wdx_expect_eq "the command line brought no message" "" "$(player_windows)"

# --- The tray menu: a right click on the icon, as the shell tells the icon's owner of it.
if [ -n "$icon" ]; then
  xdotool mousemove "$ix" "$iy"
  wdx_probe post "$icon" 0x204 0 0
  wdx_probe post "$icon" 0x205 0 0
fi
menu=$(wdx_probe wait --class '#32768' --visible --timeout 5000)
wdx_check "the right click opens the tray menu" test -n "$menu"
if [ -n "$menu" ]; then
  sleep 0.3
  shot tray-menu "$menu" "$icon"
  wdx_probe keys a
  wdx_check "the menu closes on its key" wdx_probe gone "$menu" --timeout 5000
fi
about=$(wdx_probe wait --title About --visible --timeout 5000)
wdx_check "\"&About\" opens the About box" test -n "$about"
if [ -n "$about" ]; then
  wdx_expect_eq "it names the product" "Wendrix 2000" "$(drive childtext "$about" Static 0)"
  sleep 0.2
  shot tray-about "$about"
  drive click "$about" "&Ok" >/dev/null
  wdx_check "its Ok closes it" wdx_probe gone "$about" --timeout 5000
fi

# --- "<MACRUN:" plays another macro's text; a second player's long line runs "/A inner".
wdx_probe front "$edit" >/dev/null
wdx_probe keys ctrl+alt+h
wdx_expect_eq "Ctrl+Alt+H plays \"Inner\" by <MACRUN:, then the rest of its own text" 'up tray ok;in;hot;' \
  "$(wait_text 'up tray ok;in;hot;')"

wdx_wine_start "$exe" /A inner /Z "$long"
second=$WDX_LAST_PID
wdx_check "a second Wendplay with a 10 000-character line ends by itself" wdx_wait_exit "$second" 20
wdx_expect_eq "its exit code" 0 "$WDX_EXIT_CODE"
wdx_expect_eq "the first runs the macro its \"/A\" names" 'up tray ok;in;hot;in;' "$(wait_text 'up tray ok;in;hot;in;')"
wdx_expect_eq "and shows no message" "" "$(player_windows)"

# --- "<SWAP:": the playing macro goes on from its own text; the next hot key plays from B.
wdx_probe keys ctrl+alt+s
wdx_expect_eq "Ctrl+Alt+S switches to library B and finishes its text" 'up tray ok;in;hot;in;sw;' \
  "$(wait_text 'up tray ok;in;hot;in;sw;')"
wdx_probe keys ctrl+alt+h
wdx_expect_eq "Ctrl+Alt+H now plays library B's macro" 'up tray ok;in;hot;in;sw;B;' "$(wait_text 'up tray ok;in;hot;in;sw;B;')"

# --- "<TERME>": the player ends after the run.
wdx_probe keys ctrl+alt+q
wdx_check "Ctrl+Alt+Q's <TERME> ends the player within 10 s" wdx_wait_exit "$pid" 10
wdx_expect_eq "exit code" 0 "$WDX_EXIT_CODE"
wdx_expect_eq "the macro stopped at <TERME>" 'up tray ok;in;hot;in;sw;B;q' "$(wdx_probe text "$edit" --child Edit)"
wdx_expect_eq "no named object is left" "$(wdx_player_objects_all 0)" "$(wdx_player_objects)"
wdx_expect_eq "no icon is left in the shell" "" "$(tray_icons | tr -d '\r' | awk -F'\t' '$4 == "Wendrix 2000"')"
current=$(awk -F= '/^Current File=/ { print $2 }' "$ini" | tr -d '\r')
wdx_expect_eq "the settings name library B" 'C:\wdxtray\B.WDX' "$current"

wdx_probe close "$edit" >/dev/null
wdx_check "the Edit window closes" wdx_wait_exit "$edit_pid" 10
wdx_e2e_end
