#!/usr/bin/env bash
# Wendplay's figures under Wine, each beside a floor measured in the same run (not a test;
# nothing here fails a build):
#  - hot key to first character: Wendplay against wdxrelay (a low-level keyboard hook on its own
#    thread posts to a window, which waits for Ctrl and Alt to be let go and sends one key),
#    both pressed in turn by wdxlatency, which times inside Wine from the key events to the first
#    character in its own Edit;
#  - start-up to the first hot key served (wdxplayertool startup);
#  - idle memory: resident set of Wendplay's Wine process against wdxidle (a window and a
#    message loop).
# Then the typing rate into an Edit and into Notepad (2000 characters, key delay 0), as before.
# Needs the Windows build the e2e tests use (win32, or win64 on a host without 32-bit support).
# ROUNDS (default 15) presses per subject.
. "$(dirname "$0")/../../tests/e2e/lib.sh"

ROUNDS=${ROUNDS:-15}
trap 'wdx_wine_env_down' EXIT
trap 'exit 130' INT TERM
wdx_wine_env_up || { echo "Wine could not be started"; exit 1; }
for p in Wendplay wdxplayertool wdxlatency wdxrelay wdxidle; do wdx_exe "$p" >/dev/null || exit 1; done
exe=$(wdx_exe Wendplay)
tool=$(wdx_exe wdxplayertool)

dir=$WINEPREFIX/drive_c/wdxbench
rm -rf "$dir"
mkdir -p "$dir"
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
# Ctrl+Alt+T (163): the long text; Ctrl+Alt+Q (160): one character.
"$WDX_WINE" "$tool" mklib 'C:\wdxbench\BENCH.WDX' \
  Long 163 1 0 "" '@C:\wdxbench\text.txt' \
  Short 160 1 0 "" 'x' || exit 1

rss_kb() { awk '/^VmRSS/ { print $2 }' "/proc/$1/status" 2>/dev/null; }
ratio() { python3 -c "import sys; a, b = float(sys.argv[1]), float(sys.argv[2]); print(f'{a / b:.2f}' if b > 0 else '-')" "$1" "$2"; }

# --- start-up (the tool starts the player and closes it again; output to a file, since the
# player inherits the tool's standard handles)
"$WDX_WINE" "$tool" startup "$(wdx_winepath "$exe")" ctrl+alt+q >"$dir/startup.out" 2>&1
startup=$(tr -d '\r' <"$dir/startup.out")
served=$(sed -n 's/.*hot_key_served_ms=\([0-9.]*\).*/\1/p' <<<"$startup")
sleep 1

# --- idle memory, then latency with both hot-key programs running
wdx_wine_start "$(wdx_exe wdxidle)"
idle_pid=$WDX_LAST_PID
wdx_probe wait --title "WDX Idle" --timeout 20000 >/dev/null || exit 1
wdx_wine_start "$exe"
pid=$WDX_LAST_PID
player=$(wdx_probe wait --class TMainWin --title "Wendrix Player" --timeout 30000) || exit 1
wdx_wine_start "$(wdx_exe wdxrelay)"
relay_pid=$WDX_LAST_PID
relay=$(wdx_probe wait --title "WDX Relay" --timeout 20000) || exit 1
sleep 5
player_kb=$(rss_kb "$pid")
idle_kb=$(rss_kb "$idle_pid")

"$WDX_WINE" "$(wdx_exe wdxlatency)" "$ROUNDS" Wendplay=ctrl+alt+q relay=ctrl+alt+r >"$dir/latency.out" 2>&1
latency=$(tr -d '\r' <"$dir/latency.out")
median_of() { sed -n "s/^$1 median_ms=\([0-9.-]*\).*/\1/p" <<<"$latency"; }
wp=$(median_of Wendplay)
rl=$(median_of relay)

echo "== Wendplay beside its floors"
echo "hot key to first character ($ROUNDS presses each):"
sed 's/^/  /' <<<"$latency"
echo "  median Wendplay / relay: $(ratio "$wp" "$rl") (goal: at most 1.50)"
echo "start-up: $startup"
echo "  first hot key served: ${served:-?} ms (goal: under 300 ms)"
echo "idle memory (resident set of the Wine process): Wendplay ${player_kb:-?} kB, wdxidle ${idle_kb:-?} kB," \
  "difference $(( ${player_kb:-0} - ${idle_kb:-0} )) kB (goal: at most 4096 kB), ratio $(ratio "${player_kb:-0}" "${idle_kb:-0}")"
wdx_probe close "$relay" >/dev/null
wdx_wait_exit "$relay_pid" 10
wdx_probe close "$(wdx_probe find --title "WDX Idle")" >/dev/null
wdx_wait_exit "$idle_pid" 10

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

echo "== typing rate"
for who in Wendplay bare; do
  wdx_wine_start "$tool" edit-target "WDX Bench Edit"
  target_pid=$WDX_LAST_PID
  edit=$(wdx_probe wait --title "WDX Bench Edit" --timeout 20000) || exit 1
  sleep 0.5
  if [ "$who" = Wendplay ]; then
    "$WDX_WINE" "$tool" bench "$edit" ctrl+alt+t 2000 --child Edit >"$dir/edit.out" 2>&1
  else
    "$WDX_WINE" "$tool" bare "$edit" 'C:\wdxbench\text.txt' --child Edit >"$dir/edit.out" 2>&1
  fi
  echo "Edit target, $who: $(tr -d '\r' <"$dir/edit.out")"
  compare "Edit target, $who" "$(wdx_probe text "$edit" --child Edit)"
  wdx_probe close "$edit"
  wdx_wait_exit "$target_pid" 10
done

wdx_notepad_start || exit 1
sleep 0.5
"$WDX_WINE" "$tool" bench "$WDX_NOTEPAD_HWND" ctrl+alt+t 2000 --child Edit --timeout 180000 >"$dir/notepad.out" 2>&1
echo "Notepad: $(tr -d '\r' <"$dir/notepad.out")"
compare "Notepad" "$(wdx_notepad_text)"
wdx_notepad_close

wdx_probe post "$player" WM_USER+11 30
wdx_wait_exit "$pid" 15
