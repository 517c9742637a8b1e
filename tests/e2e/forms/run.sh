#!/usr/bin/env bash
# End-to-end test of the form toolkit's Win32 runner under Wine: wdxformsample shows a modal
# stay-on-top dialog and then a box without waiting; this script works the dialog from
# outside (setting a field, ticking a box, picking from a list, clicking buttons, pressing
# Enter) and checks what the program's forms reported.
. "$(dirname "$0")/../lib.sh"

wdx_e2e_begin forms

sample=$(wdx_exe wdxformsample) || wdx_e2e_end
driver=$(wdx_exe wdxformdriver) || wdx_e2e_end
drive() { "$WDX_WINE" "$driver" "$@"; }

# The program writes its report into its working folder; the folder lives in the Wine
# environment's own, which goes with the environment.
work=$(mktemp -d "${WDX_WINE_DIR:-/tmp}/forms.XXXXXX")
cd "$work" || wdx_e2e_end

wdx_wine_start "$sample" result.txt
pid=$WDX_LAST_PID

h=$(wdx_probe wait --title "Wendrix Forms Sample" --visible --timeout 30000)
wdx_require "the modal dialog shows" test -n "$h"

ex=$(drive exstyle "$h" | tr -d '\r')
# The bits below mean something only when the driver gave a number.
is_number() { [[ "$1" =~ ^(0x[0-9A-Fa-f]+|[0-9]+)$ ]]; }
if wdx_check "the extended style reads as a number ('$ex')" is_number "$ex"; then
  wdx_check "it stays on top (WS_EX_TOPMOST)" test $((ex & 0x8)) -ne 0
  wdx_check "it is a tool window (WS_EX_TOOLWINDOW)" test $((ex & 0x80)) -ne 0
fi
wdx_expect_eq "the first focus is on the number field" "Edit" "$(drive focus "$h")"

# The timer runs inside the modal loop: its label counts up.
ticking=0
for _ in $(seq 1 50); do
  t=$(drive childtext "$h" Static 1)
  if [ "$t" != "Ticks: 0" ] && [ -n "$t" ]; then ticking=1; break; fi
  sleep 0.1
done
wdx_check "the form's timer ticks while the dialog waits" test "$ticking" = 1
# A picture of the dialog for a person to look at (not checked here).
shots=${WDX_BUILD_ROOT:-$WDX_ROOT/build}
mkdir -p "$shots" && import -window root "$shots/forms-sample.png" 2>/dev/null

# A value that is no number: Ok shows the error box and keeps the dialog.
wdx_check "type into the field" drive settext "$h" Edit 0 "12a"
wdx_probe front "$h" >/dev/null
wdx_check "open the File menu and choose Tick Remember by keys" wdx_probe keys alt+f t
sleep 0.5
wdx_check "open the pop-up menu" drive click "$h" "&Menu"
pm=$(wdx_probe wait --class "#32768" --visible --timeout 10000)
wdx_check "the pop-up menu shows" test -n "$pm"
wdx_check "choose Beta by its key" wdx_probe keys b
wdx_check "the pop-up menu goes" wdx_probe gone "$pm" --timeout 10000
wdx_check "pick from the list" drive select "$h" ComboBox 0 Green
wdx_check "choose a radio button" drive click "$h" "&Large"
wdx_check "pick a row" drive pickrow "$h" ListBox 0 fig
wdx_check "spin up twice" drive spinup "$h"
drive spinup "$h"
wdx_check "spin down once" drive spindown "$h"
wdx_check "click Ok" drive click "$h" "&Ok"
e=$(wdx_probe wait --title "Error" --visible --timeout 10000)
wdx_require "Ok with a bad value shows the Error box" test -n "$e"
wdx_check "answer the Error box" drive click "$e" "OK"
wdx_check "the Error box goes" wdx_probe gone "$e" --timeout 10000
dialog_open() { wdx_probe find --title "Wendrix Forms Sample" --visible >/dev/null; }
wdx_check "the dialog is still open" dialog_open
focus=
for _ in $(seq 1 30); do
  focus=$(drive focus "$h")
  [ "$focus" = Edit ] && break
  sleep 0.1
done
wdx_expect_eq "the focus is back on the number field" "Edit" "$focus"

# A good value; Enter presses the default button.
wdx_check "type a number" drive settext "$h" Edit 0 "42"
wdx_probe front "$h" >/dev/null
wdx_check "press Enter" wdx_probe keys enter
wdx_check "the dialog closes" wdx_probe gone "$h" --timeout 10000

# The box shown without waiting closes itself by its timer and the program ends.
b=$(wdx_probe wait --title "Wendrix Forms Box" --timeout 10000)
wdx_check "the box shown without waiting appears" test -n "$b"

# The grid window: what its list shows is read through the list itself, as any reader would.
g=$(wdx_probe wait --title "Wendrix Forms Grid" --visible --timeout 15000)
wdx_require "the grid window shows" test -n "$g"
rows=$(drive rows "$g")
wdx_expect_eq "the grid shows its titles and rows" "# | Fruit | Letters
1 | apple | 5
2 | banana | 6
3 | cherry | 6
4 | damson | 6" "$rows"
import -window root "$shots/forms-grid.png" 2>/dev/null
wdx_probe front "$g" >/dev/null
wdx_check "move down one row and press Del" wdx_probe keys down delete
sleep 0.5
wdx_expect_eq "Del removed the chosen row through the menu's shortcut" "# | Fruit | Letters
1 | apple | 5
2 | cherry | 6
3 | damson | 6" "$(drive rows "$g")"
wdx_check "right click the Fruit title" drive titleclick "$g" 1
sleep 0.3
wdx_expect_eq "the title click turned the order round" "1 | damson | 6" "$(drive rows "$g" | sed -n 2p)"
wdx_check "click Done" drive click "$g" "&Done"
wdx_check "the grid window closes" wdx_probe gone "$g" --timeout 10000
wdx_check "the program ends" wdx_wait_exit "$pid" 20
wdx_expect_eq "the program ended cleanly" 0 "${WDX_EXIT_CODE:-}"

result=$(cat result.txt 2>/dev/null)
expect_line() { wdx_check "$1" grep -qx "$2" <<<"$result"; }
expect_line "ShowModal returned Ok" "result=1"
expect_line "the field's text reached the model" "value=42"
expect_line "the menu bar item ticked the box" "remember=1"
expect_line "the pick reached the model" "choice=Green"
expect_line "the pop-up menu's item ran" "picked=Beta"
expect_line "the radio button reached the model" "size=Large"
expect_line "the spin button's handlers stepped the number" "count=6"
expect_line "the row pick reached the model (sorted list)" "item=fig"
expect_line "one failed check" "errors=1"
expect_line "the failed check put the focus on the field" "focus_after_error=Value"
expect_line "the timer ticked" "ticks_positive=1"
expect_line "the dialog was activated" "activations_positive=1"
expect_line "the box showed" "box_shown=1"
expect_line "the box's timer closed it" "box_closed_by_timer=1"
expect_line "the memo kept its lines" "box_memo_lines=2"
expect_line "text is measured with the real font" "text_width_positive=1"
expect_line "the grid window closed with Ok" "grid_result=1"
expect_line "the shortcut removed banana" "grid_removed=banana,"
expect_line "one title click" "grid_title_clicks=1"

cd / && rm -rf "$work"

wdx_e2e_end
