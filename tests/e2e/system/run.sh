#!/usr/bin/env bash
# System and sound commands in the real Wendplay.exe under Wine. Macros run by the command line
# ("/A" + nickname, handed on to the running player):
# - KEYDEL: the keyboard delay in the editor's one-digit form and in the two-digit form, read
#   back by a program of the test's own;
# - CASCADE: cascade and tile run (Wine's desktop has them as stubs that move nothing);
# - WAVE: a wave file played to its end, one started, the beep, then a setting as the mark that
#   the macro went on (Wine's null audio driver plays nothing, and a sound that cannot play is
#   passed over silently);
# - AUDIO, CD, SCREEN: what Wine lacks (mixer controls, a CD drive) and a display mode that does
#   not exist: the message each shows is read from the player's message window;
# - SESSION: log off, restart, shut down and power off are recorded by the test switch of the
#   platform instead of being made, and the desktop stays;
# - VIDEO, VIDEOEND: the video clip player opened for the user (a picture of it goes to the
#   build folder, system-video-clip.png), and played to its end, when it closes by itself.
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin system

exe=$(wdx_exe Wendplay)
wdx_require "Wendplay.exe is built" test -n "$exe"
tool=$(wdx_exe wdxplayertool)
wdx_require "wdxplayertool.exe is built" test -n "$tool"
driver=$(wdx_exe wdxformdriver)
wdx_require "wdxformdriver.exe is built" test -n "$driver"
sys=$(wdx_exe wdxsystool)
wdx_require "wdxsystool.exe is built" test -n "$sys"
drive() { "$WDX_WINE" "$driver" "$@" | tr -d '\r'; }
systool() { "$WDX_WINE" "$sys" "$@" | tr -d '\r'; }

dir=$WINEPREFIX/drive_c/wdxsys
rm -rf "$dir"
mkdir -p "$dir"
# A wave file of one second of silence (8 kHz, 8 bits, mono).
python3 - "$dir/tone.wav" <<'PY'
import sys, wave
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(1)
    w.setsampwidth(1)
    w.setframerate(8000)
    w.writeframes(b"\x80" * 8000)
PY
# A video clip: uncompressed, 160 by 120, two seconds of moving colour bands.
python3 - "$dir/clip.avi" <<'PY'
import struct, sys
w, h, fps, n = 160, 120, 10, 20
def chunk(tag, data):
    return tag + struct.pack("<I", len(data)) + data + (b"\0" if len(data) % 2 else b"")
def lst(kind, data):
    return chunk(b"LIST", kind + data)
size = w * h * 3
avih = struct.pack("<14I", 1000000 // fps, size * fps, 0, 0x10, n, 0, 1, size, w, h, 0, 0, 0, 0)
strh = struct.pack("<4s4sIHHIIIIIIIIhhhh", b"vids", b"DIB ", 0, 0, 0, 0, 1, fps, 0, n, size, 0xFFFFFFFF, 0, 0, 0, w, h)
strf = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, size, 0, 0, 0, 0)
hdrl = lst(b"hdrl", chunk(b"avih", avih) + lst(b"strl", chunk(b"strh", strh) + chunk(b"strf", strf)))
frames, index, offset = b"", b"", 4
colours = [b"\x20\x20\xc0", b"\x20\xc0\x20", b"\xc0\x20\x20", b"\xc0\xc0\xc0"]
for i in range(n):
    data = b"".join(colours[(x * 4 // w + i) % 4] for x in range(w)) * h
    frames += chunk(b"00db", data)
    index += struct.pack("<4sIII", b"00db", 0x10, offset, len(data))
    offset += 8 + len(data)
body = b"AVI " + hdrl + lst(b"movi", frames) + chunk(b"idx1", index)
open(sys.argv[1], "wb").write(b"RIFF" + struct.pack("<I", len(body)) + body)
PY
macro() { printf '%s' "$2" >"$dir/$1.txt"; }
macro keydel1 '<KEYDEL:2>'
macro keydel2 '<KEYDEL:03>'
macro cascade '<CASCDESK><TILHDESK><TILVDESK><KEYSPD:05>'
macro wave '<WAV1:C:\wdxsys\tone.wav><WAV2:C:\wdxsys\tone.wav><BEEP><KEYSPD:07>'
macro audio '<AUDUP><KEYSPD:11>'
macro cd '<CDPLAY><KEYSPD:13>'
macro screen '<SCREEN:999><KEYSPD:17>'
macro session '<LOGOFF><REBOOT><SHUTDOWN><POWEROFF><KEYSPD:19>'
macro video '<AVI:C:\wdxsys\clip.avi><KEYSPD:23>'
macro videoend '<AVIE:C:\wdxsys\clip.avi><KEYSPD:29>'
printf '[Misc]\r\nCurrent File=C:\\wdxsys\\SYSTEM.WDX\r\nStart Editor=No\r\n' >"$WINEPREFIX/drive_c/windows/WENDX.INI"
args=()
for name in keydel1 keydel2 cascade wave audio cd screen session video videoend; do
  args+=("${name^^}" 30000 1 0 "" "@C:\\wdxsys\\$name.txt")
done
wdx_require "test library written" "$WDX_WINE" "$tool" mklib 'C:\wdxsys\SYSTEM.WDX' "${args[@]}"

wdx_wine_start "$tool" edit-target "WDX System One"
one_pid=$WDX_LAST_PID
one=$(wdx_probe wait --title "WDX System One" --visible --timeout 20000)
wdx_require "the test's window opens" test -n "$one"

# Wine draws the player's frames itself (there is no window manager on this display), so the
# picture of the clip window shows its caption; the setting is the player's alone.
appkey='HKCU\Software\Wine\AppDefaults\Wendplay.exe'
"$WDX_WINE" reg add "$appkey\X11 Driver" /v Decorated /d N /f >/dev/null 2>&1
# The session's end goes to this file instead of the system (the platform's test switch).
session_log=$dir/session.log
export WDX_SESSION_END_LOG='C:\wdxsys\session.log'
wdx_require "Wendplay starts" wdx_player_start "$exe"
unset WDX_SESSION_END_LOG
pid=$WDX_PLAYER_PID
player=$WDX_PLAYER_HWND
sleep 1

run_pids=()
run() {
  timeout 30 "$WDX_WINE" "$exe" "/A$1" >/dev/null 2>&1 &
  run_pids+=($!)
}
# wait_for PARAMETER N: the parameter (keydelay, keyspeed) reaches N within 20 s; the keyboard
# speed is the mark that a macro ran to its end.
wait_for() { [ "$(WDX_WAIT_TRIES=200 wdx_wait_output "$2" systool "$1")" = "$2" ]; }
wait_speed() { wait_for keyspeed "$1"; }
box() { wdx_probe wait --class WdxForm --title "$1" --visible --timeout "${2:-15000}"; }
answer() { drive click "$1" "&Ok" >/dev/null && wdx_probe gone "$1" --timeout 5000; }

# --- The keyboard delay in both forms. The keyboard's settings go back at the end: later tests
# in this Wine environment hold keys down, and the repeat follows these settings.
delay_before=$(systool keydelay)
speed_before=$(systool keyspeed)
run KEYDEL1
wdx_check "<KEYDEL:2> (one digit) sets the keyboard delay to 2" wait_for keydelay 2
run KEYDEL2
wdx_check "<KEYDEL:03> sets it to 3" wait_for keydelay 3

# --- Cascade and tile: Wine's CascadeWindows and TileWindows are stubs that move nothing, so the
# test checks that the macro runs past them and the windows stay as they were.
before_one=$(systool rect "$one")
run CASCADE
wdx_check "the cascade and tile macro runs to its end" wait_speed 5
wdx_expect_eq "Wine's desktop leaves the windows where they were" "$before_one" "$(systool rect "$one")"

# --- A wave file played to its end, one started, the beep; the macro goes on.
start=$(date +%s%N)
run WAVE
wdx_check "the wave macro goes on past its sounds to its last command" wait_speed 7
wdx_log "wave macro: $(( ($(date +%s%N) - start) / 1000000 )) ms from the run to its last command"
wdx_expect_eq "no message came from the sounds" "" "$(wdx_probe find --class WdxForm --visible 2>/dev/null | tr -d '\r')"

# --- What Wine lacks, and a display mode that does not exist: their messages.
expect_box() {  # CAPTION TEXT SPEED WHAT
  local b
  b=$(box "$1")
  if wdx_check "$4 shows a \"$1\" message" test -n "$b"; then
    wdx_expect_eq "its text" "$2" "$(drive childtext "$b" Static 0)"
    answer "$b"
    wdx_check "the macro goes on after it" wait_speed "$3"
  fi
}
run AUDIO
expect_box "Macro Error" "Audio volume control is not supported by your Audio Device." 11 "<AUDUP> without mixer controls"
run CD
expect_box "CD Audio Error" "There is no CD drive on this computer." 13 "<CDPLAY> without a CD drive"
run SCREEN
expect_box "Macro Execution Error" "The specified Screen Display Settings does not exist on this computer." 17 \
  "<SCREEN:999>"

# --- The session's end: recorded, not made.
run SESSION
wdx_check "the session macro runs to its end" wait_speed 19
wdx_expect_eq "the four requests are recorded, the restarts with the shutdown right" \
  "LOGOFF
REBOOT PRIVILEGE
SHUTDOWN PRIVILEGE
POWEROFF PRIVILEGE" "$(tr -d '\r' <"$session_log" 2>/dev/null)"
wdx_check "the desktop stays: the player runs" kill -0 "$pid"
wdx_check "and the test's window is still there" test -n "$(wdx_probe find --title "WDX System One")"

# --- The video clip player: opened for the user (a picture of it), then played to its end.
run VIDEO
clip=$(wdx_probe wait --class WdxForm --title "Video Clip Player" --visible --timeout 15000)
if wdx_check "<AVI: shows the video clip player" test -n "$clip"; then
  sleep 0.5
  wdx_check "a picture of it is saved" wdx_shot_framed "Video Clip Player" system-video-clip.png
  wdx_expect_eq "its play button" "&Play" "$(drive childtext "$clip" Button 0)"
  wdx_probe close "$clip" >/dev/null
  wdx_check "the user closes it and the macro goes on" wait_speed 23
else
  b=$(box Error 2000)
  wdx_check "or says why the clip cannot be played: $(drive childtext "$b" Static 0)" test -n "$b"
  answer "$b"
fi
run VIDEOEND
clip=$(wdx_probe wait --class WdxForm --title "Video Clip Player" --visible --timeout 15000)
if wdx_check "<AVIE: shows the player" test -n "$clip"; then
  wdx_check "which closes by itself after the two-second clip" wdx_probe gone "$clip" --timeout 15000
  wdx_check "and the macro goes on" wait_speed 29
fi

for p in "${run_pids[@]}"; do wait "$p" 2>/dev/null; done
wdx_check "UM_CONTROL 30 ends the player" wdx_probe post "$player" WM_USER+11 30
wdx_check "Wendplay ends within 10 s" wdx_wait_exit "$pid" 10
wdx_expect_eq "exit code" 0 "$WDX_EXIT_CODE"
"$WDX_WINE" reg delete "$appkey" /f >/dev/null 2>&1
wdx_check "the keyboard's delay and speed are given back" systool setkeys "$delay_before" "$speed_before"
wdx_probe close "$one" >/dev/null
wdx_check "the test's window closes" wdx_wait_exit "$one_pid" 10
wdx_expect_eq "no Windows program left running" "" "$(wdx_settled_leftovers)"
wdx_e2e_end
