#!/usr/bin/env bash
# The player's figures under Wine (not a test; nothing here fails a build):
#  - typing rate: Wendplay plays a 2000-character macro (key delay 0) on Ctrl+Alt+T into an
#    Edit of our own and into Notepad; the text is read back and compared character by
#    character, and the rate counts from the first character to the last;
#  - the time from the hot key press to the first character arriving;
#  - start-up: from process start to the main window, to the CBT block (made just before the
#    hooks go in) and to the first hot key served;
#  - memory once idle (resident set of the Wine process, and the program's own working set).
# Needs the win32 build (WDX_WIN32_BUILD, default build/win32): Wendplay, WDXHOOK, wdxprobe,
# wdxplayertool.
. "$(dirname "$0")/../../tests/e2e/lib.sh"

trap 'wdx_wine_env_down' EXIT
trap 'exit 130' INT TERM
wdx_wine_env_up || { echo "Wine could not be started"; exit 1; }
exe=$(wdx_exe Wendplay) || exit 1
tool=$(wdx_exe wdxplayertool) || exit 1

dir=$WINEPREFIX/drive_c/wdxbench
rm -rf "$dir"
mkdir -p "$dir"
# 2000 characters: lines of 62 letters (both cases), digits, blanks and punctuation, each
# ended by CR LF (one Enter, two characters in the target).
python3 - "$dir/text.txt" <<'PY'
import random, sys
random.seed(7)
alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,;-"
text = ""
while len(text) < 2000:
    text += "".join(random.choice(alphabet) for _ in range(62)) + "\r\n"
open(sys.argv[1], "w", newline="").write(text[:2000])
PY
expected=$(cat "$dir/text.txt"; printf x)
expected=${expected%x}
printf '[Misc]\r\nCurrent File=C:\\wdxbench\\BENCH.WDX\r\nStart Editor=No\r\n' >"$WINEPREFIX/drive_c/windows/WENDX.INI"
# Ctrl+Alt+T (163): the long text; Ctrl+Alt+Q (160): one character, for the start-up figure.
"$WDX_WINE32" "$tool" mklib 'C:\wdxbench\BENCH.WDX' \
  Long 163 1 0 "" '@C:\wdxbench\text.txt' \
  Short 160 1 0 "" 'x' || exit 1

compare() {  # compare NAME TEXT
  local got=$2
  if [ "$got" = "$expected" ]; then
    echo "$1: all 2000 characters arrived, in order"
  else
    python3 - "$1" "$expected" "$got" <<'PY'
import sys
name, want, got = sys.argv[1], sys.argv[2], sys.argv[3]
i = next((k for k in range(min(len(want), len(got))) if want[k] != got[k]), min(len(want), len(got)))
print(f"{name}: {len(got)} of {len(want)} characters, first difference at {i}: "
      f"expected {want[i:i+10]!r}, got {got[i:i+10]!r}")
PY
  fi
}

# --- start-up (the tool starts the player itself and closes it again; its output goes to a
# file, since the player it starts inherits the tool's standard handles)
"$WDX_WINE32" "$tool" startup "$(winepath -w "$exe")" ctrl+alt+q >"$dir/startup.out" 2>&1
echo "start-up: $(tr -d '\r' <"$dir/startup.out")"
sleep 1

# --- typing and memory
wdx_wine_start "$exe"
pid=$WDX_LAST_PID
player=$(wdx_probe wait --class TMainWin --title "Wendrix Player" --timeout 30000) || exit 1
sleep 5
rss=$(awk '/^VmRSS/ { print $2 " " $3 }' "/proc/$pid/status" 2>/dev/null)
echo "memory once idle: resident set of the Wine process $rss"

# typing into the Edit of our own: Wendplay, then a bare keybd_event loop, each into a fresh one
for who in Wendplay bare; do
  wdx_wine_start "$tool" edit-target "WDX Bench Edit"
  target_pid=$WDX_LAST_PID
  edit=$(wdx_probe wait --title "WDX Bench Edit" --timeout 20000) || exit 1
  sleep 0.5
  if [ "$who" = Wendplay ]; then
    "$WDX_WINE32" "$tool" bench "$edit" ctrl+alt+t 2000 --child Edit >"$dir/edit.out" 2>&1
  else
    "$WDX_WINE32" "$tool" bare "$edit" 'C:\wdxbench\text.txt' --child Edit >"$dir/edit.out" 2>&1
  fi
  echo "Edit target, $who: $(tr -d '\r' <"$dir/edit.out")"
  compare "Edit target, $who" "$(wdx_probe text "$edit" --child Edit)"
  wdx_probe close "$edit"
  wdx_wait_exit "$target_pid" 10
done

wdx_notepad_start || exit 1
sleep 0.5
"$WDX_WINE32" "$tool" bench "$WDX_NOTEPAD_HWND" ctrl+alt+t 2000 --child Edit --timeout 180000 >"$dir/notepad.out" 2>&1
echo "Notepad: $(tr -d '\r' <"$dir/notepad.out")"
compare "Notepad" "$(wdx_notepad_text)"
wdx_notepad_close

wdx_probe post "$player" WM_USER+11 30
wdx_wait_exit "$pid" 15
