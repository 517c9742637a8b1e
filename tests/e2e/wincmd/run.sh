#!/usr/bin/env bash
# Window, launch, mouse and wait commands in the real Wendplay.exe under Wine, with the real hook
# library. Macros on Ctrl+Alt hot keys:
# - launch Notepad and wait for its window, activate it, type, size and place it (the rectangle is
#   read back), maximise and restore it, put it in a screen corner and shrink it as "CURRENT",
#   and close it;
# - start a program from a folder with blanks with parameters, wait for its window and quit it;
#   start a file that does not exist: its message comes at once, not after the window time-out;
# - click into the test's window at a point relative to the window in front (the test reads the
#   client point it received) and double-click a word of its Edit (the word is selected);
# - wait for a key the test presses a second later, for a window the test opens, and a long wait
#   that the abort key ends at once.
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin wincmd
began=$(date +%s)

exe=$(wdx_exe Wendplay)
wdx_require "Wendplay.exe is built" test -n "$exe"
tool=$(wdx_exe wdxplayertool)
wdx_require "wdxplayertool.exe is built" test -n "$tool"
wtool=$(wdx_exe wdxwincmdtool)
wdx_require "wdxwincmdtool.exe is built" test -n "$wtool"
driver=$(wdx_exe wdxformdriver)
wdx_require "wdxformdriver.exe is built" test -n "$driver"
wdx_require "xdotool is installed" command -v xdotool
drive() { "$WDX_WINE" "$driver" "$@" | tr -d '\r'; }
wt() { "$WDX_WINE" "$wtool" "$@" | tr -d '\r'; }

dir=$WINEPREFIX/drive_c/wdxwincmd
rm -rf "$dir" "$WINEPREFIX/drive_c/wdx wincmd"
mkdir -p "$dir" "$WINEPREFIX/drive_c/wdx wincmd"
cp "$wtool" "$WINEPREFIX/drive_c/wdx wincmd/spaced tool.exe"
printf '[Misc]\r\nCurrent File=C:\\wdxwincmd\\WINCMD.WDX\r\nStart Editor=No\r\n' \
  >"$WINEPREFIX/drive_c/windows/WENDX.INI"

# The test's windows (the programs run by the test's helper, wdxwincmdtool): a click target (its clicks go to a log) and a text window for the waits.
wdx_wine_start "$wtool" target "WDX Click Target" 'C:\wdxwincmd\clicks.log'
target=$(wdx_probe wait --title "WDX Click Target" --visible --timeout 20000)
wdx_require "the click target opens" test -n "$target"
wdx_wine_start "$tool" edit-target "WDX Wait Edit"
edit=$(wdx_probe wait --title "WDX Wait Edit" --visible --timeout 20000)
wdx_require "the text window opens" test -n "$edit"
edit_xwin=$(xdotool search --name '^WDX Wait Edit$' | head -n 1)
wdx_require "the text window is known to the X server" test -n "$edit_xwin"

# Where the double-click goes: inside "beta" of the target's Edit, in screen pixels.
read -r bx by <<<"$(wt charpos "$target" 7)"
wdx_require "the word's place is known" test -n "$by"
printf -v mms '<MMS:%05d,%05d>' "$bx" "$by"

# hot key index of Ctrl+Alt+letter
ca() { printf '%d' $((144 + $(printf '%d' "'$1") - 97)); }
m() { printf '%s' "$2" >"$dir/$1.txt"; }
m launch '<LAUNCHNO2:0015Notepad<LAUNCH:notepad.exe><ACTIVATE:Notepad>hello<WSIZE:0500,0300Notepad><WPOS2:00040,00050Notepad>'
m maximise '<WMAX:Notepad>'
m restore '<WRES:Notepad>'
m corner '<WPOS2BR:Notepad><WSIZEPIX:-100,-050"CURRENT">'
m close '<WCLS:Notepad>'
m spaced '<LAUNCHNO2:0030WDX Spaced Window<LAUNCH:C:\wdx wincmd\spaced tool.exe<PARAM>window WDX Spaced Window><WSHUT:WDX Spaced Window>'
m missing '<LAUNCHNO2:0030Nothing<LAUNCH:C:\No Such Dir\none.exe>after'
m click "<ACTIVATE:WDX Click Target><MMW:00050,00060><LCLK>$mms<LDCLK>"
m waitkey '<WAITKEY:001:40><ACTIVATE:WDX Wait Edit>k'
m waitwin '<WAITWIN:001:WDX Opened Later><ACTIVATE:WDX Wait Edit>v'
m longwait '<WAITTIME:00000030><ACTIVATE:WDX Wait Edit>late'
lib=()
for name in launch maximise restore corner close spaced missing click waitkey waitwin longwait; do
  case $name in
    launch) key=n ;; maximise) key=x ;; restore) key=r ;; corner) key=b ;; close) key=c ;;
    spaced) key=s ;; missing) key=e ;; click) key=m ;; waitkey) key=k ;; waitwin) key=v ;; longwait) key=l ;;
  esac
  lib+=("$name" "$(ca $key)" 1 0 "" "@C:\\wdxwincmd\\$name.txt")
done
wdx_require "test library written" "$WDX_WINE" "$tool" mklib 'C:\wdxwincmd\WINCMD.WDX' "${lib[@]}"

wdx_require "Wendplay's hidden main window appears" wdx_player_start "$exe"
pid=$WDX_PLAYER_PID
player=$WDX_PLAYER_HWND
wdx_require "the player's hooks are in (all its named objects made)" wdx_player_hooks_in "$tool"

# expect DESCRIPTION WHAT HWND EXPECTED [MS]: WHAT of the window (rect, state, text, selection)
# becomes EXPECTED within MS (10 s); the tool waits in one process, as each start costs time.
expect() { wdx_expect_eq "$1" "$4" "$(wt wait "$2" "$3" "$4" "${5:-10000}")"; }
hot() { wdx_probe keys "ctrl+alt+$1" >/dev/null; }

# --- Notepad, the launches and the mouse, driven from one program inside Wine ----------------
"$WDX_WINE" "$wtool" desktop "$target" 'C:\wdxwincmd\clicks.log' | tr -d '\r' >"$dir/desktop.out"
wdx_results "$dir/desktop.out"

# --- Waits ----------------------------------------------------------------------------------
focus_edit() {
  wdx_probe front "$edit" >/dev/null
  xdotool windowfocus --sync "$edit_xwin" 2>/dev/null
}
focus_edit
hot k
sleep 1
wdx_expect_eq "the key wait holds the macro" "" "$(wt text "$edit")"
focus_edit
xdotool key F5
expect "and ends when the key is pressed" text "$edit" k 5000

focus_edit
hot v
sleep 1
wdx_expect_eq "the window wait holds the macro" k "$(wt text "$edit")"
wdx_wine_start "$wtool" window WDX Opened Later
later_pid=$WDX_LAST_PID
expect "and ends when the window comes" text "$edit" kv
later=$(wdx_probe find --title "WDX Opened Later")
[ -n "$later" ] && wdx_probe close "$later" >/dev/null
wdx_wait_exit "$later_pid" 10

focus_edit
hot l
sleep 1
focus_edit
t0=$(date +%s.%N)
xdotool key Pause
box=$(wdx_probe wait --class WdxForm --title "Macro Abort" --visible --timeout 5000)
if wdx_check "the abort key stops a long wait" test -n "$box"; then
  # Program starts under Wine take their time: what counts is that the box does not wait for
  # the end of the 30-second wait.
  took=$(echo "$(date +%s.%N) - $t0" | bc)
  wdx_check "at once, not at the end of the 30-second wait (${took} s)" test "$(echo "$took < 10" | bc)" = 1
  drive click "$box" "&Ok" >/dev/null
  wdx_probe gone "$box" --timeout 5000 >/dev/null
fi
sleep 0.5
wdx_expect_eq "and the rest of the macro does not play" kv "$(wt text "$edit")"

wdx_check "UM_CONTROL 30 ends the player" wdx_probe post "$player" WM_USER+11 30
wdx_check "Wendplay ends within 10 s" wdx_wait_exit "$pid" 10
wdx_probe close "$edit" >/dev/null
wdx_probe close "$target" >/dev/null
wdx_expect_eq "no Windows program left running" "" "$(wdx_settled_leftovers)"
printf '  (the test took %d s in a ready Wine environment)\n' $(($(date +%s) - began))
wdx_e2e_end
