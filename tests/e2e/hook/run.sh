#!/usr/bin/env bash
# The real hook library under Wine: wdxhooktest.exe loads WDXHOOK.dll, maps one hot key, and
# synthesises it with keybd_event and SendInput; the library's low-level hook must post
# UM_HOTKEY with the right index to the test's window, the marker key must end a keystroke
# sync, and a foreground change must arrive as UM_FOREGROUND.
#
# Run alone it makes its own Wine prefix under /tmp (wineboot -i), an Xvfb on a free display and
# WINEDEBUG=-all, and removes everything it started when it ends; the exit code is non-zero on
# any failure.
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin hook

exe=$(wdx_exe wdxhooktest)
wdx_require "wdxhooktest.exe is built" test -n "$exe"
wdx_require "WDXHOOK.dll lies beside it" test -f "$(dirname "$exe")/WDXHOOK.dll"

out=$WDX_WINE_DIR/wdxhooktest.out
rc=0
timeout 120 "$WDX_WINE" "$exe" >"$out" 2>/dev/null &
WDX_STARTED_PIDS+=($!)
wait $! || rc=$?
wdx_results "$out"
wdx_expect_eq "wdxhooktest exit code" 0 "$rc"
wdx_expect_eq "no Windows program left running" "" "$(wdx_settled_leftovers)"
wdx_e2e_end
