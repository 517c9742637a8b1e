#!/usr/bin/env bash
# Recording and the remap-keys file with the real Wendplay.exe and WDXHOOK.dll. The player runs
# from a program folder of its own (where its work file TempCap.Txt and long-macro files go),
# and that folder holds a work file left by a recording that never ended. The recording system
# hot key (Ctrl+Alt+Shift+X) starts a recording: the leftover is kept in WD0.TXT and said; the
# test types into its own window through the X server, as a user would; the same key ends the
# recording; "Capture Complete" is answered by pressing Ctrl+Alt+K into its hot-key field, and
# Ctrl+Alt+K then plays exactly the keys typed. Then a remap-keys file that the test writes (q
# types z) is loaded on the editor's notice and turns the typed q into z; a damaged one is said,
# left as it is, and nothing is remapped.
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin record

built=$(wdx_exe Wendplay)
wdx_require "Wendplay.exe is built" test -n "$built"
wdx_require "WDXHOOK.dll lies beside it" test -f "$(dirname "$built")/WDXHOOK.dll"
tool=$(wdx_exe wdxplayertool)
wdx_require "wdxplayertool.exe is built" test -n "$tool"
driver=$(wdx_exe wdxformdriver)
wdx_require "wdxformdriver.exe is built" test -n "$driver"
wdx_require "xdotool is installed" command -v xdotool
drive() { "$WDX_WINE" "$driver" "$@" | tr -d '\r'; }

dir=$WINEPREFIX/drive_c/wdxrec
rm -rf "$dir"
mkdir -p "$dir"
cp "$built" "$(dirname "$built")/WDXHOOK.dll" "$dir/"
printf 'crash leftover' >"$dir/TempCap.Txt"
printf '[Misc]\r\nCurrent File=C:\\wdxrec\\REC.WDX\r\nStart Editor=No\r\n[Capture]\r\nPrompt=No\r\nTime=No\r\nMouse=No\r\n' \
  >"$WINEPREFIX/drive_c/windows/WENDX.INI"
wdx_require "test library written" "$WDX_WINE" "$tool" mklib 'C:\wdxrec\REC.WDX' First 0 1 0 "" 'first'

wdx_require "the test's window opens" wdx_keywatch_start 'C:\wdxrec\keys.log'
win=$WDX_KEYWATCH_HWND
wdx_require "Wendplay's hidden main window appears" wdx_player_start "$dir/Wendplay.exe"
pid=$WDX_PLAYER_PID
player=$WDX_PLAYER_HWND
sleep 2

log=$dir/keys.log
# The characters the window received after line $1.
chars_after() { tail -n +"$(($1 + 1))" "$log" | tr -d '\r' | awk '$1 == "char" { printf "%c", $2 }'; }
# Waits up to 10 s for the characters after line $1 to be $2; prints what came.
wait_chars() {
  local i got
  for ((i = 0; i < 100; i++)); do
    got=$(chars_after "$1")
    [ "$got" = "$2" ] && break
    sleep 0.1
  done
  printf '%s' "$got"
}
# answer_box TITLE: the text of the player's message window of that title, then Ok closes it.
answer_box() {
  local box
  box=$(wdx_probe wait --class WdxForm --title "$1" --visible --timeout 10000) || return 1
  "$WDX_WINE" "$driver" childtext "$box" Static 0 | tr -d '\r'
  "$WDX_WINE" "$driver" click "$box" "&Ok" >/dev/null
  wdx_probe gone "$box" --timeout 5000 >/dev/null
}

# 1. The recording.
wdx_keywatch_focus
xdotool key ctrl+alt+shift+x
said=$(answer_box Capture)
wdx_expect_eq "the leftover work file is kept and said" \
  'The keystrokes of an earlier recording that did not end were kept in C:\wdxrec\WD0.TXT.' "$said"
wdx_expect_eq "WD0.TXT holds the leftover" "crash leftover" "$(cat "$dir/WD0.TXT" 2>/dev/null)"
for ((i = 0; i < 50; i++)); do
  [ -f "$dir/TempCap.Txt" ] && [ ! -s "$dir/TempCap.Txt" ] && break
  sleep 0.1
done
wdx_check "a fresh work file is open" test -f "$dir/TempCap.Txt" -a ! -s "$dir/TempCap.Txt"
sleep 0.5
text='Hi there, 42!'
wdx_keywatch_focus
lines=$(wc -l <"$log")
xdotool type --delay 40 "$text"
wdx_expect_eq "the typed keys reach the window while recording" "$text" "$(wait_chars "$lines" "$text")"
for ((i = 0; i < 50; i++)); do
  [ "$(cat "$dir/TempCap.Txt")" = "$text" ] && break
  sleep 0.1
done
wdx_expect_eq "the work file holds them as macro text" "$text" "$(cat "$dir/TempCap.Txt")"
xdotool key ctrl+alt+shift+x
dialog=$(wdx_probe wait --title "Capture Complete" --visible --timeout 10000)
wdx_require "the stop key ends it: Capture Complete shows" test -n "$dialog"
sleep 1
shots=${WDX_BUILD_ROOT:-$WDX_ROOT/build}
mkdir -p "$shots" && import -window root "$shots/record-capture-complete.png" 2>/dev/null
wdx_expect_eq "the hot-key field has the focus" Edit "$(drive focus "$dialog")"
xdotool key ctrl+alt+k
entry=
for ((i = 0; i < 50; i++)); do
  entry=$(drive childtext "$dialog" Edit 2)
  [ "$entry" = Ctrl+Alt+K ] && break
  sleep 0.1
done
wdx_expect_eq "Ctrl+Alt+K pressed into the field chooses it" Ctrl+Alt+K "$entry"
wdx_check "name it" drive settext "$dialog" Edit 0 Greeting
wdx_check "click Ok" drive click "$dialog" "&Ok"
wdx_check "the dialog goes" wdx_probe gone "$dialog" --timeout 10000
wdx_check "the work file is gone" bash -c '! test -e "$1"' _ "$dir/TempCap.Txt"
wdx_check "the library holds the recording" grep -aq "Greeting" "$dir/REC.WDX"

sleep 0.5
wdx_keywatch_focus
lines=$(wc -l <"$log")
xdotool key ctrl+alt+k
wdx_expect_eq "Ctrl+Alt+K plays the recorded keys back exactly" "$text" "$(wait_chars "$lines" "$text")"

# 2. The remap-keys file: q types z.
python3 - "$dir/REC.WDS" <<'PY'
import sys
t = bytearray(b"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 !\"#$%&'()*+,-./:;<=>?@[\\]^_`}~")
assert len(t) == 93
t[26 + ord('q') - ord('a')] = ord('z')
open(sys.argv[1], "wb").write(t)
PY
wdx_check "the editor's notice of a changed remapping" wdx_probe post "$player" WM_USER+11 1 0
sleep 1
wdx_keywatch_focus
lines=$(wc -l <"$log")
xdotool type --delay 40 "quiq"
wdx_expect_eq "the remapped key types the other character" "zuiz" "$(wait_chars "$lines" "zuiz")"

# 3. A damaged remap-keys file: said, left as it is, nothing remapped.
head -c 50 /dev/urandom >"$dir/REC.WDS"
cp "$dir/REC.WDS" "$dir/damaged.copy"
wdx_probe post "$player" WM_USER+11 1 0 >/dev/null
said=$(answer_box Error)
wdx_expect_eq "the damaged file is said" \
  'The remap-keys file C:\wdxrec\REC.WDS is damaged (50 bytes instead of 93).  Keys are not remapped; the file was left as it is.' \
  "$said"
wdx_check "the damaged file is left as it is" cmp -s "$dir/REC.WDS" "$dir/damaged.copy"
sleep 0.5
wdx_keywatch_focus
lines=$(wc -l <"$log")
xdotool type --delay 40 "quiq"
wdx_expect_eq "nothing is remapped" "quiq" "$(wait_chars "$lines" "quiq")"

wdx_check "UM_CONTROL 30 closes Wendplay" wdx_probe post "$player" WM_USER+11 30
wdx_check "Wendplay ends" wdx_wait_exit "$pid" 15
wdx_probe close "$win" >/dev/null
wdx_check "the test's window closes" wdx_wait_exit "$WDX_KEYWATCH_PID" 10
wdx_expect_eq "no Windows program left running" "" "$(wdx_settled_leftovers)"
wdx_e2e_end
