#!/usr/bin/env bash
# Macros that start without a hot key, end to end under Wine with the real Wendplay.exe and
# WDXHOOK.dll: a window whose title holds a macro's trigger text comes to the front and the macro
# types into it; real clicks of the left and the middle button in a macro's screen area run the
# macro of that button; a popup-menu macro's hot key shows its menu, an entry is chosen by its key
# and plays into the window the user was in; a floating menu stands where the settings file puts
# it, and its entries play by key and by a real double click. Screenshots of the popup and of the
# floating menu go to the build folder. Last, the time from a foreground change to the
# window-title macro's first character is measured (reported, not checked; WDX_ACT_BENCH_RUNS
# foreground changes, default 3).
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin activation

exe=$(wdx_exe Wendplay)
wdx_require "Wendplay.exe is built" test -n "$exe"
wdx_require "WDXHOOK.dll lies beside it" test -f "$(dirname "$exe")/WDXHOOK.dll"
tool=$(wdx_exe wdxacttool)
wdx_require "wdxacttool.exe is built" test -n "$tool"
ptool=$(wdx_exe wdxplayertool)
wdx_require "wdxplayertool.exe is built (its Edit windows)" test -n "$ptool"
act() { "$WDX_WINE" "$tool" "$@" | tr -d '\r'; }
shots=${WDX_BUILD_ROOT:-$WDX_ROOT/build}
mkdir -p "$shots"

dir=$WINEPREFIX/drive_c/wdxact
rm -rf "$dir"
mkdir -p "$dir"
# The click area: x 200..400, y 300..360 (top, left, bottom, right; record buttons 1 left,
# 2 middle). Ctrl+Alt+M is hot key 156.
cat >"$dir/spec.txt" <<'EOF'
One|30000|1|0||One!
Two|30000|1|0||Two!
Title|25000|2|0|WDX TITLE TRIGGER|Title!
Left click|15000|1|0||Left!|area=300,200,360,400,1,0
Middle click|15000|1|0||Middle!|area=300,200,360,400,2,0
Pick|156|4|0|||items=1,2 opts=N30
Tools|17500|9|0|||items=1,2 opts=N30
Icons|17500|9|0|||items=1,2,6 opts=N22
Bench|25000|2|0|WDX BENCH TRIGGER|b
EOF
printf '[Misc]\r\nCurrent File=C:\\wdxact\\ACT.WDX\r\nStart Editor=No\r\n[Floating Menu]\r\nLeft 1=700\r\nTop 1=80\r\nMin 1=0\r\nLeft 2=1050\r\nTop 2=80\r\nMin 2=0\r\n' \
  >"$WINEPREFIX/drive_c/windows/WENDX.INI"
wdx_require "test library written" act mklib 'C:\wdxact\ACT.WDX' 'C:\wdxact\spec.txt'

# wait_text HWND EXPECTED: the window's Edit holds EXPECTED within 10 s; prints what it holds.
wait_text() { wdx_wait_output "$2" wdx_probe text "$1" --child Edit; }
# shot NAME HWND: a picture of the window and a margin around it.
shot() {
  local r x0 y0 x1 y1
  r=$(act rect "$2") || return 1
  read -r x0 y0 x1 y1 <<<"$r"
  x0=$((x0 > 20 ? x0 - 20 : 0))
  y0=$((y0 > 20 ? y0 - 20 : 0))
  import -window root -crop "$((x1 + 20 - x0))x$((y1 + 20 - y0))+$x0+$y0" +repage "$shots/$1.png" 2>/dev/null
}

# edit_window TITLE: a window of another program with an Edit, in front; its handle in
# WDX_EDIT_HWND, its process in WDX_EDIT_PID.
edit_window() {
  wdx_wine_start "$ptool" edit-target "$1"
  WDX_EDIT_PID=$WDX_LAST_PID
  WDX_EDIT_HWND=$(wdx_probe wait --title "$1" --timeout 20000)
  test -n "$WDX_EDIT_HWND"
}

wdx_require "the work window opens" edit_window "WDX Work"
work=$WDX_EDIT_HWND
work_pid=$WDX_EDIT_PID
wdx_require "it covers the click area" act move "$work" 100 200 600 300

wdx_wine_start "$exe"
pid=$WDX_LAST_PID
player=$(wdx_probe wait --class TMainWin --title "Wendrix Player" --timeout 30000)
wdx_require "Wendplay's hidden main window appears" test -n "$player"
# The floating menus open last of the start-up, after the hooks.
tools=$(wdx_probe wait --title "Tools" --visible --timeout 20000)
wdx_require "the floating menu Tools opens at start" test -n "$tools"
sleep 0.5

# --- A floating menu where the settings put it.
read -r fx fy _ <<<"$(act rect "$tools")"
wdx_expect_eq "the floating menu stands where the settings put it" "700 80" "$fx $fy"
shot activation-floating "$tools"
icons=$(wdx_probe wait --title "Icons" --visible --timeout 5000)
wdx_check "the floating menu Icons opens too" test -n "$icons"
read -r fx fy _ <<<"$(act rect "$icons")"
wdx_expect_eq "at its own place" "1050 80" "$fx $fy"
shot activation-floating-icons "$icons"

# --- Window title.
wdx_require "the trigger window opens" edit_window "WDX Title Trigger"
trigger=$WDX_EDIT_HWND
trigger_pid=$WDX_EDIT_PID
wdx_expect_eq "coming to the front, the trigger window gets its macro" 'Title!' "$(wait_text "$trigger" 'Title!')"
wdx_probe front "$work" >/dev/null
sleep 0.5
wdx_probe front "$trigger" >/dev/null
wdx_expect_eq "again in front, it gets it again" 'Title!Title!' "$(wait_text "$trigger" 'Title!Title!')"
wdx_expect_eq "the work window got nothing" '' "$(wdx_probe text "$work" --child Edit)"
wdx_probe close "$trigger" >/dev/null
wdx_check "the trigger window closes" wdx_wait_exit "$trigger_pid" 10

# --- Mouse clicks in the area, each button its own macro.
wdx_probe front "$work" >/dev/null
sleep 0.3
act click 300 330 left
wdx_expect_eq "a left click in the area runs the left-button macro" 'Left!' "$(wait_text "$work" 'Left!')"
act click 300 330 middle
wdx_expect_eq "a middle click there runs the middle-button macro" 'Left!Middle!' "$(wait_text "$work" 'Left!Middle!')"
act click 300 400 left
sleep 1
wdx_expect_eq "a click outside the area runs nothing" 'Left!Middle!' "$(wdx_probe text "$work" --child Edit)"

# --- The popup menu on its hot key; "1" chooses its second entry.
wdx_probe front "$work" >/dev/null
sleep 0.3
wdx_probe keys ctrl+alt+m
popup=$(wdx_probe wait --title "Choose A Macro" --visible --timeout 10000)
wdx_check "Ctrl+Alt+M shows the popup menu" test -n "$popup"
if [ -n "$popup" ]; then
  sleep 0.3
  shot activation-popup "$popup"
  wdx_expect_eq "the popup is in front" "$popup" "$(wdx_probe foreground)"
  wdx_probe keys 1
  wdx_check "the popup closes on its key" wdx_probe gone "$popup" --timeout 5000
fi
wdx_expect_eq "the chosen macro types into the work window" 'Left!Middle!Two!' \
  "$(wait_text "$work" 'Left!Middle!Two!')"

# --- The floating menu's entries: by key, and by a real double click on its row.
wdx_probe front "$tools" >/dev/null
sleep 0.3
wdx_probe keys 0
wdx_expect_eq "key 0 in the floating menu plays its first entry into the work window" 'Left!Middle!Two!One!' \
  "$(wait_text "$work" 'Left!Middle!Two!One!')"
wdx_check "the floating menu stays open" test -n "$(wdx_probe find --title "Tools" --visible)"
read -r cx cy <<<"$(act client "$tools")"
# Second row of the list (rows of 17 below the 20-pixel column heads).
act dblclick $((cx + 150)) $((cy + 20 + 17 + 8))
wdx_expect_eq "a double click on its second row plays the second entry" 'Left!Middle!Two!One!Two!' \
  "$(wait_text "$work" 'Left!Middle!Two!One!Two!')"

# --- Benchmark: foreground change to the window-title macro's first character.
wdx_require "a window of no macro opens" edit_window "WDX Bench Other"
other=$WDX_EDIT_HWND
other_pid=$WDX_EDIT_PID
wdx_require "the benchmark's trigger window opens" edit_window "WDX Bench Trigger"
bench_trigger=$WDX_EDIT_HWND
bench_pid=$WDX_EDIT_PID
bench=$(act bench-title "$bench_trigger" "$other" "${WDX_ACT_BENCH_RUNS:-3}")
printf '%s\n' "$bench" | sed 's/^/    /'
wdx_check "every foreground change ran the window-title macro" \
  grep -q "^foreground_to_first_char_ms .*runs=${WDX_ACT_BENCH_RUNS:-3}\$" <<<"$bench"
wdx_probe close "$bench_trigger" >/dev/null
wdx_probe close "$other" >/dev/null
wdx_check "the benchmark's windows close" wdx_wait_exit "$bench_pid" 10
wdx_check "both of them" wdx_wait_exit "$other_pid" 10

wdx_check "UM_CONTROL 30 ends the player" wdx_probe post "$player" WM_USER+11 30
wdx_check "Wendplay ends within 10 s" wdx_wait_exit "$pid" 10
wdx_expect_eq "exit code" 0 "$WDX_EXIT_CODE"
wdx_check "the floating menu is gone with it" wdx_probe gone "$tools" --timeout 3000
left=$(awk -F= '/^Left 1=/ { print $2 }' "$WINEPREFIX/drive_c/windows/WENDX.INI" | tr -d '\r')
wdx_expect_eq "its place is written back" 700 "$left"
wdx_probe close "$work" >/dev/null
wdx_check "the work window closes" wdx_wait_exit "$work_pid" 10
wdx_e2e_end
