#!/usr/bin/env bash
# End-to-end test of the editor's command dialogs on the real Win32 form view: a test opener
# (wdxdialogopener) opens "Keys Up Or Down", "Toggle Keys" and "Set Schedule" as the editor's
# openers do; this script fills them by typed keys only and checks what the opener received.
# Pictures of each dialog (and of every schedule panel) go to the build folder.
. "$(dirname "$0")/../lib.sh"

wdx_e2e_begin dialogs

opener=$(wdx_exe wdxdialogopener) || wdx_e2e_end
driver=$(wdx_exe wdxformdriver) || wdx_e2e_end
drive() { "$WDX_WINE" "$driver" "$@" | tr -d '\r'; }

work=$(mktemp -d "${WDX_WINE_DIR:-/tmp}/dialogs.XXXXXX")
cd "$work" || wdx_e2e_end

keys() { wdx_probe keys "$@" >/dev/null; sleep 0.3; }

wdx_wine_start "$opener" result.txt
pid=$WDX_LAST_PID

# choose CAPTION PICTURE KEY: the dialog opens, KEY (Alt + the letter underlined in a radio
# button's caption) chooses its command and Enter presses Ok.
choose() {
  local h
  h=$(wdx_probe wait --title "$1" --visible --timeout 30000)
  wdx_require "\"$1\" opens" test -n "$h"
  wdx_probe front "$h" >/dev/null
  sleep 0.3
  wdx_shot "$1" "$2"
  keys "$3"
  keys enter
  wdx_check "Enter confirms \"$1\" and closes it" wdx_probe gone "$h" --timeout 10000
}
choose "Keys Up Or Down" dialogs-keys.png alt+i    # "W&in Key Up"
choose "Toggle Keys" dialogs-toggle.png alt+u      # "N&um Lock Off"

# --- Set Schedule over a daily macro: a picture of every kind's panel, then "every N
# minutes" with a refused 721 and an accepted 45.
h=$(wdx_probe wait --title "Set Schedule" --visible --timeout 10000)
wdx_require "the schedule dialog opens" test -n "$h"
wdx_probe front "$h" >/dev/null
sleep 0.3
for panel in o:once h:hourly d:daily w:weekly m:monthly t:idle e:other; do
  keys "alt+${panel%%:*}"
  wdx_shot "Set Schedule" "dialogs-schedule-${panel#*:}.png"
done
wdx_expect_eq "Oth&er leaves the focus on its button" "Button" "$(drive focus "$h")"
keys tab
wdx_expect_eq "Tab goes on to the minutes of the shown panel" "Edit" "$(drive focus "$h")"
keys home shift+end
wdx_probe type "721" >/dev/null
keys alt+u
e=$(wdx_probe wait --title "Error" --visible --timeout 10000)
wdx_require "Update with 721 minutes shows the Error box" test -n "$e"
box_text() { local i; for i in 0 1 2; do drive childtext "$1" Static "$i" 2>/dev/null; done; }
wdx_check "with the range's message" grep -qxF "Invalid minutes specified.  Must be between 1 and 720." \
  <<<"$(box_text "$e")"
wdx_probe front "$e" >/dev/null
keys enter
wdx_check "the Error box goes" wdx_probe gone "$e" --timeout 10000
still_open() { wdx_probe find --title "Set Schedule" --visible >/dev/null; }
wdx_check "the schedule dialog stays open" still_open
wdx_expect_eq "the focus is back on the minutes" "Edit" "$(drive focus "$h")"
keys home shift+end
wdx_probe type "45" >/dev/null
keys alt+u
wdx_check "Update closes it" wdx_probe gone "$h" --timeout 10000

wdx_check "the opener ends" wdx_wait_exit "$pid" 20
wdx_expect_eq "the opener ended cleanly" 0 "${WDX_EXIT_CODE:-}"

value() { sed -n "s/^$1=//p" result.txt | tr -d '\r'; }
wdx_expect_eq "the key dialog gave its tag to the opener" "<WINU>" "$(value key)"
wdx_expect_eq "with its key action" 8 "$(value keyAction)"
wdx_expect_eq "the lock-key dialog gave its tag" "<TOG:4>" "$(value toggle)"
wdx_expect_eq "with its kind" 4 "$(value toggleKind)"
wdx_expect_eq "the schedule closed by Update" Update "$(value scheduleClosed)"
wdx_expect_eq "the record is now every N minutes" 6 "$(value kind)"
wdx_expect_eq "every 45 minutes" 45 "$(value interval)"
wdx_expect_eq "the day boxes were kept" 1111111 "$(value days)"

cd / && rm -rf "$work"
wdx_e2e_end
