#!/usr/bin/env bash
# Every test: installs what the machine lacks, builds the presets native, native-asan, win32 and
# win64, runs the native tests (plain and under AddressSanitizer + UBSan) and every fuzz target
# for a few seconds (scripts/fuzz.sh smoke, which builds the fuzz preset), then the Windows
# tests under Wine: the cross-compiled GoogleTest programs (ctest of win32 and win64) and every
# end-to-end test tests/e2e/*/run.sh, all in one Wine environment (own prefix, Xvfb).
# Ends with each runner's summary line; exits non-zero when anything failed.
#
# WDX_BUILD_ROOT (default: build) is where the build trees, the logs and the Wine prefix go.
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
# shellcheck source=scripts/lib/common.sh
. scripts/lib/common.sh
# shellcheck source=tests/e2e/lib.sh
. tests/e2e/lib.sh

BUILD_ROOT=${WDX_BUILD_ROOT:-$ROOT/build}
case "$BUILD_ROOT" in /*) ;; *) BUILD_ROOT=$ROOT/$BUILD_ROOT ;; esac
LOGS=$BUILD_ROOT/logs
JOBS=$(nproc 2>/dev/null || echo 2)
STARTED=$(date +%s)

SUMMARY=()
FAILED=0
LANE_PIDS=()
# Each step's time goes into its summary line, so the budget of the whole run can be watched.
STEP_T0=$(date +%s)
step() {  # step MESSAGE: says what starts and starts its clock
  wdx_say "$1"
  STEP_T0=$(date +%s)
}
record() {  # record NAME RESULT-LINE OK(0/1)
  SUMMARY+=("$(printf '%-24s %s [%d s]' "$1" "$2" "$(($(date +%s) - STEP_T0))")")
  [ "$3" = 0 ] || FAILED=1
}

finish() {
  local rc=$?
  trap - EXIT INT TERM
  local prefix=${WINEPREFIX:-} left pid
  # Lanes still waiting for the go end with their environments.
  [ -d "${LOGS:-}" ] && touch "$LOGS/e2e.stop"
  for pid in "${LANE_PIDS[@]}"; do wait "$pid" 2>/dev/null; done
  wdx_wine_env_down
  # Nothing of the run may outlive it: not a Windows program, the Wine server or Xvfb.
  if [ -n "$prefix" ]; then
    left=$(wdx_prefix_pids "$prefix")
    left=${left//$'\n'/ }
    if [ -n "$left" ]; then
      record "teardown" "FAIL: still running after the teardown: pid $left" 1
    fi
  fi
  echo
  echo "==================== summary ===================="
  local line
  for line in "${SUMMARY[@]}"; do echo "$line"; done
  if [ "${WDX_WINE_ARCH:-}" = 64 ]; then
    if [ "${WDX_FORCE_WINE64:-0}" = 1 ]; then
      echo "WDX_FORCE_WINE64=1: Windows tests ran on the 64-bit build"
    else
      echo "$WDX_NO32_NOTE"
    fi
  fi
  echo "total time: $(($(date +%s) - STARTED)) s"
  if ((FAILED || rc)); then
    echo "RESULT: FAILED"
    exit 1
  fi
  echo "RESULT: all passed"
  exit 0
}
trap finish EXIT
trap 'exit 130' INT TERM

step "machine set-up"
wdx_install_deps || { record "machine set-up" "FAIL (see above)" 1; exit 1; }
record "machine set-up" "ok" 0
# Decided once, after the install (the 32-bit loader may have just come in); exported to every
# test below.
unset WDX_WINE_ARCH
wdx_wine_loader_setup
wdx_say "Windows tests: $WDX_WINE_ARCH_WHY; they run on the win$WDX_WINE_ARCH build"
mkdir -p "$LOGS"
rm -f "$LOGS"/*.log

# The Wine prefix is set up in the background while the builds run (wineboot takes a while).
WDX_WINE_DIR=$BUILD_ROOT/wine
unset WINEPREFIX WDX_WINE_SHARED
WINE_OK=1
if ! wdx_wine_env_start; then
  WINE_OK=0
fi

# The end-to-end tests run in lanes side by side, each lane in a Wine environment of its own
# (prefix, server, Xvfb display), taking the next test from one queue, longest known first;
# the first lane is the environment above. Each test's result line is kept in its lane's file
# and the lines come into the summary in the tests' order.
LANES=${WDX_E2E_LANES:-3}
((LANES >= 1)) || LANES=1
QUEUE=$LOGS/e2e.queue
rm -f "$QUEUE" "$QUEUE.lock" "$LOGS"/e2e-*.result
E2E_SCRIPTS=()
for script in tests/e2e/*/run.sh; do
  [ -f "$script" ] && E2E_SCRIPTS+=("$script")
done
E2E_COUNT=${#E2E_SCRIPTS[@]}
# The long ones first, so no lane is left with a long test at the end.
for script in "${E2E_SCRIPTS[@]}"; do
  case "$script" in */stuckkeys/* | */timing/*) echo "$script" ;; esac
done >"$QUEUE"
for script in "${E2E_SCRIPTS[@]}"; do
  case "$script" in */stuckkeys/* | */timing/*) ;; *) echo "$script" ;; esac
done >>"$QUEUE"

# next_e2e: the next script of the queue, or nothing when it is empty.
next_e2e() {
  (
    flock 9
    local first
    first=$(head -n 1 "$QUEUE")
    [ -n "$first" ] && sed -i 1d "$QUEUE"
    printf '%s' "$first"
  ) 9>"$QUEUE.lock"
}

# run_lane N: runs tests from the queue until it is empty, each result to its own file.
run_lane() {
  local lane=$1 script name log rc line t0 left
  while script=$(next_e2e) && [ -n "$script" ]; do
    name=$(basename "$(dirname "$script")")
    log=$LOGS/e2e-$name.log
    wdx_say "e2e $name ($script, lane $lane)"
    t0=$(date +%s)
    timeout -k 10 900 bash "$script" >"$log" 2>&1
    rc=$?
    line=$(grep -E '^(PASS|FAIL)' "$log" | tail -n 1)
    if [ "$rc" -eq 124 ] || [ "$rc" -eq 137 ]; then
      line="FAIL: timed out after 900 s"
      rc=1
    elif [ "$rc" -ne 0 ] && [[ "$line" != FAIL* ]]; then
      line="FAIL: exit code $rc${line:+ ($line)}"
    elif [[ "$line" != PASS* ]]; then
      # A script that ends well without saying PASS checked nothing we can see.
      line="FAIL: exit code $rc but no PASS line${line:+ ($line)}"
      rc=1
    fi
    [ "$rc" -eq 0 ] || sed 's/^/    /' "$log" | tail -n 40
    printf '%s\t%s\t%s\t%s\n' "e2e $name" "$line" "$rc" "$(($(date +%s) - t0))" >"$LOGS/e2e-$name.result"
    # A test that leaves a Windows program running fails; the server is restarted so the
    # next test starts on a quiet desktop.
    if ! left=$(wdx_stop_leftovers); then
      printf '%s\t%s\t1\t0\n' "e2e $name leftovers" "FAIL: left running: $(printf '%s' "$left" | tr '\n' ';')" \
        >>"$LOGS/e2e-$name.result"
    fi
    wdx_wine_reset
  done
}

# The other lanes set up their environments while the builds run, then wait for the go (or
# for the run to end without one).
start_lanes() {
  local lane
  for ((lane = 2; lane <= LANES; lane++)); do
    (
      trap - EXIT
      unset WINEPREFIX DISPLAY WDX_WINE_SHARED WDX_WINE_ENV_UP WDX_XVFB_PID WDX_WINEBOOT_PID
      WDX_STARTED_PIDS=()
      WDX_WINE_DIR=$BUILD_ROOT/wine-lane$lane
      if wdx_wine_env_up; then
        export WDX_WINE_SHARED=1 WINEPREFIX DISPLAY WDX_WINE_DIR
        while [ ! -f "$LOGS/e2e.go" ] && [ ! -f "$LOGS/e2e.stop" ]; do sleep 1; done
        [ -f "$LOGS/e2e.go" ] && run_lane "$lane"
      else
        wdx_log "lane $lane: its Wine environment did not come up; the other lanes take its tests"
      fi
      wdx_wine_env_down
    ) &
    LANE_PIDS+=($!)
  done
}

rm -f "$LOGS/e2e.go" "$LOGS/e2e.stop"
((WINE_OK)) && start_lanes

declare -A BUILT
for preset in native native-asan win32 win64; do
  step "building $preset (log: $LOGS/build-$preset.log)"
  if wdx_build_preset "$preset" "$BUILD_ROOT/$preset" "$LOGS/build-$preset.log"; then
    BUILT[$preset]=1
    record "build $preset" "ok" 0
  else
    BUILT[$preset]=0
    record "build $preset" "FAIL (log: $LOGS/build-$preset.log)" 1
  fi
done

# run_ctest NAME PRESET [ctest args]: runs one ctest and records its own summary line.
run_ctest() {
  local name=$1 preset=$2
  shift 2
  local log=$LOGS/ctest-$preset.log
  if [ "${BUILT[$preset]}" != 1 ]; then
    record "$name" "FAIL (not built)" 1
    return
  fi
  step "$name"
  ctest --test-dir "$BUILD_ROOT/$preset" --output-on-failure --no-tests=error "$@" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]} line
  line=$(grep -E '^[0-9]+% tests passed' "$log" | tail -n 1)
  [ -n "$line" ] || line="ctest exit code $rc: $(grep -v '^\s*$' "$log" | tail -n 1)"
  record "$name" "$line" "$rc"
}

run_ctest "ctest native" native -j "$JOBS"
run_ctest "ctest native-asan" native-asan -j "$JOBS"

# Every fuzz target for a few seconds from its seeds and kept findings (installs clang, builds
# the fuzz preset); a finding fails the run.
step "fuzz smoke (log: $LOGS/fuzz-smoke.log)"
WDX_BUILD_ROOT=$BUILD_ROOT bash scripts/fuzz.sh smoke 2>&1 | tee "$LOGS/fuzz-smoke.log"
FUZZ_RC=${PIPESTATUS[0]}
FUZZ_OK=$(grep -c '^ok ' "$LOGS/fuzz-smoke.log")
FUZZ_FAILED=$(grep -c '^FAIL ' "$LOGS/fuzz-smoke.log")
if [ "$FUZZ_RC" -eq 0 ] && [ "$FUZZ_OK" -gt 0 ]; then
  record "fuzz smoke" "$FUZZ_OK targets without a finding" 0
elif [ "$FUZZ_FAILED" -gt 0 ]; then
  record "fuzz smoke" "FAIL: $FUZZ_FAILED targets with a finding (log: $LOGS/fuzz-smoke.log)" 1
else
  record "fuzz smoke" "FAIL: the targets were not built or not run, exit code $FUZZ_RC (log: $LOGS/fuzz-smoke.log)" 1
fi

# The Windows side: one environment for all, exported to ctest's wine and to every run.sh.
if ((WINE_OK)) && wdx_wine_env_ready; then
  export WDX_WINE_SHARED=1 WINEPREFIX DISPLAY WDX_WINE_DIR
  export WDX_WIN32_BUILD=$BUILD_ROOT/win32 WDX_WIN64_BUILD=$BUILD_ROOT/win64
  wdx_say "Wine ready: WINEPREFIX=$WINEPREFIX DISPLAY=$DISPLAY"

  # check_leftovers NAME: a runner that leaves a Windows program running fails; the server is
  # restarted so the next runner starts on a quiet desktop.
  check_leftovers() {
    local left
    if ! left=$(wdx_stop_leftovers); then
      record "$1 leftovers" "FAIL: left running: $(printf '%s' "$left" | tr '\n' ';')" 1
    fi
    wdx_wine_reset
  }

  if [ "$WDX_WINE_ARCH" = 32 ]; then
    run_ctest "ctest win32 (wine)" win32 -j "$JOBS"
    check_leftovers "ctest win32"
  else
    # Not run is not passed: the line says so and counts as neither.
    STEP_T0=$(date +%s)
    record "ctest win32 (wine)" "NOT RUN: $WDX_WINE_ARCH_WHY" 0
  fi
  run_ctest "ctest win64 (wine64)" win64 -j "$JOBS"
  check_leftovers "ctest win64"

  step "e2e tests in $LANES lanes"
  touch "$LOGS/e2e.go"
  run_lane 1
  for pid in "${LANE_PIDS[@]}"; do wait "$pid"; done
  for script in "${E2E_SCRIPTS[@]}"; do
    name=$(basename "$(dirname "$script")")
    if [ ! -f "$LOGS/e2e-$name.result" ]; then
      STEP_T0=$(date +%s)
      record "e2e $name" "FAIL: not run" 1
      continue
    fi
    while IFS=$'\t' read -r rname rline rrc rsecs; do
      STEP_T0=$(($(date +%s) - rsecs))
      record "$rname" "$rline" "$rrc"
    done <"$LOGS/e2e-$name.result"
  done
  if ((E2E_COUNT == 0)); then
    record "e2e" "FAIL: no end-to-end test found (tests/e2e/*/run.sh)" 1
  fi
else
  record "wine environment" "FAIL: could not start Wine/Xvfb (logs in $WDX_WINE_DIR); Windows tests not run" 1
fi
