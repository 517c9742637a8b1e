#!/usr/bin/env bash
# The network lock's soak test under Wine: two copies of netlock_driver.exe, two real Windows
# processes, share one macro library in one folder of the prefix for a bounded time (the
# seconds in WDX_NETLOCK_SECONDS, 15 by default). Each takes the lock (Windows' byte-range
# lock around the stamp's check and change), changes the shared record and its own, and gives
# the lock back with its change count. Afterwards no change is lost or torn and the stamp's
# counter is 1 + the changes made; the figures are printed.
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin netlock

drv=$(wdx_exe netlock_driver)
wdx_require "netlock_driver.exe is built" test -n "$drv"
secs=${WDX_NETLOCK_SECONDS:-15}

dir=$WINEPREFIX/drive_c/wdxnetlock
rm -rf "$dir"
mkdir -p "$dir"
win='C:\wdxnetlock'
wdx_require "the shared library is prepared" "$WDX_WINE" "$drv" prepare "$win" 2

wdx_wine_start "$drv" work "$win" 1 "$secs"
one=$WDX_LAST_PID
wdx_wine_start "$drv" work "$win" 2 "$secs"
two=$WDX_LAST_PID
for pid in "$one" "$two"; do
  if wdx_check "copy $pid ends within its time" wdx_wait_exit "$pid" $((secs + 60)); then
    wdx_expect_eq "copy $pid's exit code" 0 "$WDX_EXIT_CODE"
  fi
done
grep -a '^worker' "${WDX_WINE_DIR:-/tmp}/programs.log" | tail -n 2 | sed 's/^/    /'

out=$(mktemp)
"$WDX_WINE" "$drv" check "$win" 2 >"$out" 2>&1
wdx_expect_eq "the check's exit code" 0 "$?"
wdx_results "$out"
wdx_check "the check printed its verdicts" grep -q '^ok ' "$out"
rm -f "$out"
rm -rf "$dir"
wdx_e2e_end
