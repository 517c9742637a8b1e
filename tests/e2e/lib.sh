# Harness of the end-to-end tests: Windows programs under Wine on a virtual X display.
#
# A test is a folder tests/e2e/<name>/ with a run.sh (and a CMakeLists.txt when it builds a
# Windows program of its own). A run.sh looks like this:
#
#   . "$(dirname "$0")/../lib.sh"
#   wdx_e2e_begin mytest                      # Wine environment up, teardown on exit
#   wdx_wine_start "$(wdx_exe Wendplay)"      # background; pid in WDX_LAST_PID
#   h=$(wdx_probe wait --class TMainWin)      # wdxprobe.exe, see `wdx_probe help`
#   wdx_check "window found" test -n "$h"
#   wdx_e2e_end                               # prints "PASS e2e/mytest ..." or "FAIL ..."
#
# Environment: scripts/test.sh starts one Wine environment (prefix, Xvfb) for all tests and
# exports it with WDX_WINE_SHARED=1; a run.sh then reuses it. Run alone, a run.sh creates its
# own under /tmp and removes it at the end. Either way every program a test starts with
# wdx_wine_start is ended when the test ends, and a test that leaves one running fails.
#
# Checks count failures and go on (a run.sh should not use set -e); wdx_require ends the test
# at once when a later check could only repeat the fault.
#
# Windows programs are looked up in $WDX_WIN32_BUILD/bin (default build/win32/bin, the win32
# preset), or in $WDX_WIN64_BUILD/bin on a host that cannot run 32-bit programs (or with
# WDX_FORCE_WINE64=1): wdx_exe and $WDX_WINE follow that choice, so a run.sh names no
# architecture. `wdx_exe NAME --64` always means the 64-bit build.

WDX_ROOT=${WDX_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
WDX_WIN32_BUILD=${WDX_WIN32_BUILD:-$WDX_ROOT/build/win32}
WDX_WIN64_BUILD=${WDX_WIN64_BUILD:-$WDX_ROOT/build/win64}
# shellcheck source=scripts/lib/wine-arch.sh
. "$WDX_ROOT/scripts/lib/wine-arch.sh"
# WDX_WINE starts the tests' programs: `wine` with the win32 build where 32-bit programs run,
# else the 64-bit loader with the win64 build (see wine-arch.sh). Tests never call `wine`.
wdx_wine_loader_setup
WDX_WINE64=$WDX_WINE64_LOADER

WDX_STARTED_PIDS=()
WDX_LAST_PID=
WDX_EXIT_CODE=

wdx_log() { printf '[%s] %s\n' "$(date +%H:%M:%S)" "$*" >&2; }

# ---------------------------------------------------------------------------------------------
# Programs

# wdx_exe NAME [--64]: path of NAME.exe from the win32 (or win64) build; fails with a hint.
wdx_exe() {
  local name=$1 dir=$WDX_WIN32_BUILD preset=win32
  if [ "${2:-}" = --64 ] || [ "$WDX_WINE_ARCH" = 64 ]; then
    dir=$WDX_WIN64_BUILD
    preset=win64
  fi
  local path=$dir/bin/$name.exe
  if [ ! -f "$path" ]; then
    path=$(find "$dir" -name "$name.exe" -type f 2>/dev/null | head -n 1)
  fi
  if [ -z "$path" ] || [ ! -f "$path" ]; then
    wdx_log "$name.exe not found under $dir: build the $preset preset first (bash scripts/test.sh does," \
      "or: cmake --preset $preset -B $dir && cmake --build $dir)"
    return 1
  fi
  printf '%s\n' "$path"
}

# ---------------------------------------------------------------------------------------------
# Wine environment: a prefix of our own, Xvfb on a free display, WINEDEBUG=-all.

wdx__wine_vars() {
  export WINEDEBUG=-all
  # No Mono or Gecko installer prompts: nothing here uses .NET or the HTML engine, and a
  # prompt would block an unattended wineboot.
  export WINEDLLOVERRIDES="mscoree,mshtml="
}

wdx_xvfb_start() {
  local dfile=$WDX_WINE_DIR/display
  : >"$dfile"
  # -displayfd: Xvfb picks a free display itself and tells us which.
  Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$dfile" >"$WDX_WINE_DIR/xvfb.log" 2>&1 &
  WDX_XVFB_PID=$!
  local i
  for ((i = 0; i < 200; i++)); do
    [ -s "$dfile" ] && break
    if ! kill -0 "$WDX_XVFB_PID" 2>/dev/null; then
      wdx_log "Xvfb did not start:"; cat "$WDX_WINE_DIR/xvfb.log" >&2
      return 1
    fi
    sleep 0.05
  done
  local n
  read -r n <"$dfile" || true
  if [ -z "$n" ]; then
    wdx_log "Xvfb gave no display number within 10 s"
    return 1
  fi
  export DISPLAY=:$n
}

# Starts the environment without waiting for wineboot (wdx_wine_env_ready waits), so callers
# can do other work meanwhile. WDX_WINE_DIR may name the folder to use (it is emptied).
wdx_wine_env_start() {
  wdx__wine_vars
  if [ -n "${WDX_WINE_ENV_UP:-}" ]; then return 0; fi
  if [ "${WDX_WINE_SHARED:-}" = 1 ] && [ -n "${WINEPREFIX:-}" ] && [ -n "${DISPLAY:-}" ]; then
    WDX_WINE_OWNER=0
    WDX_WINE_ENV_UP=1
    return 0
  fi
  WDX_WINE_OWNER=1
  WDX_WINE_ENV_UP=1
  if [ -n "${WDX_WINE_DIR:-}" ]; then
    rm -rf "$WDX_WINE_DIR"
    mkdir -p "$WDX_WINE_DIR"
    WDX_WINE_DIR_TEMP=0
  else
    WDX_WINE_DIR=$(mktemp -d /tmp/wdx-wine.XXXXXX)
    WDX_WINE_DIR_TEMP=1
  fi
  # One prefix per road: a prefix made by one loader is never handed to the other.
  export WINEPREFIX=$WDX_WINE_DIR/prefix-win$WDX_WINE_ARCH
  wdx_xvfb_start || return 1
  # A fresh prefix must be fully set up before the first program, or its X driver may not be
  # ready: wineboot -i, then wait until the server has nothing left to do. wineboot runs through
  # the road's loader (the wineboot command would take Debian's wrapper and its 32-bit loader).
  ("$WDX_WINE" wineboot -i && wineserver -w) >"$WDX_WINE_DIR/wineboot.log" 2>&1 &
  WDX_WINEBOOT_PID=$!
}

# wdx_winepath PATH: the Windows form of a Unix path, through the road's loader.
wdx_winepath() {
  "$WDX_WINE" winepath -w "$1" 2>/dev/null | tr -d '\r'
}

wdx_wine_env_ready() {
  [ "${WDX_WINE_OWNER:-0}" = 1 ] || return 0
  [ -n "${WDX_WINEBOOT_PID:-}" ] || return 0
  local i
  for ((i = 0; i < 1800; i++)); do
    kill -0 "$WDX_WINEBOOT_PID" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$WDX_WINEBOOT_PID" 2>/dev/null; then
    wdx_log "wineboot still running after 180 s"
    return 1
  fi
  local rc=0
  wait "$WDX_WINEBOOT_PID" || rc=$?
  WDX_WINEBOOT_PID=
  if [ "$rc" -ne 0 ]; then
    wdx_log "wineboot -i failed (exit $rc):"; cat "$WDX_WINE_DIR/wineboot.log" >&2
    return 1
  fi
  # wineboot can end well with a prefix that cannot show a window (no X driver): say so now,
  # with its log, rather than let every test fail on it one by one.
  if grep -qiE 'no driver could be loaded|Exec format error|could not load kernel32' "$WDX_WINE_DIR/wineboot.log" ||
    [ ! -f "$WINEPREFIX/system.reg" ]; then
    wdx_log "the Wine prefix $WINEPREFIX did not come up (${WDX_WINE_ARCH}-bit road); wineboot's log:"
    sed 's/^/    /' "$WDX_WINE_DIR/wineboot.log" >&2
    return 1
  fi
  wdx_prefix_check "$WINEPREFIX"
}

wdx_wine_env_up() {
  wdx_wine_env_start && wdx_wine_env_ready
}

# Ends every program this shell started, then (when the environment is ours) the Wine server
# and Xvfb. Safe to call more than once.
wdx_wine_env_down() {
  wdx_stop_started
  [ -n "${WDX_WINE_ENV_UP:-}" ] || return 0
  WDX_WINE_ENV_UP=
  [ "${WDX_WINE_OWNER:-0}" = 1 ] || return 0
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    timeout 30 wineserver -k >/dev/null 2>&1
  fi
  # An interrupted start: wineboot ends with the server.
  if [ -n "${WDX_WINEBOOT_PID:-}" ]; then
    wait "$WDX_WINEBOOT_PID" 2>/dev/null
    WDX_WINEBOOT_PID=
  fi
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    timeout 30 wineserver -w >/dev/null 2>&1
  fi
  if [ -n "${WDX_XVFB_PID:-}" ]; then
    kill "$WDX_XVFB_PID" 2>/dev/null
    wait "$WDX_XVFB_PID" 2>/dev/null
    WDX_XVFB_PID=
  fi
  if [ "${WDX_WINE_DIR_TEMP:-0}" = 1 ]; then
    rm -rf "$WDX_WINE_DIR"
  fi
}

# Restarts the Wine server of the shared environment: ends whatever a test left behind (its
# own programs and Wine's services) so the next test starts from a quiet desktop.
wdx_wine_reset() {
  timeout 30 wineserver -k >/dev/null 2>&1
  timeout 30 wineserver -w >/dev/null 2>&1
}

# Every Wine process (programs, services, the server) and Xvfb started with WINEPREFIX set to
# the given prefix (default: ours), one pid a line. Other processes that merely inherited the
# variable (shells, build tools) are not listed.
wdx_prefix_pids() {
  local prefix=${1:-$WINEPREFIX} p
  for p in /proc/[0-9]*; do
    case "$(readlink "$p/exe" 2>/dev/null)" in */wine* | */Xvfb) ;; *) continue ;; esac
    { tr '\0' '\n' <"$p/environ" | grep -qxF "WINEPREFIX=$prefix"; } 2>/dev/null && printf '%s\n' "${p#/proc/}"
  done
}

# Windows programs running in our prefix other than Wine's own services, one "pid command" a
# line. Windows programs run in Wine's loader (wine-preloader, wine64-preloader), which tells
# them from Xvfb, shells and the Wine server.
wdx_wine_leftovers() {
  local pid cmd
  for pid in $(wdx_prefix_pids); do
    case "$(readlink "/proc/$pid/exe" 2>/dev/null)" in */wine-preloader | */wine64-preloader | */wine | */wine64) ;; *) continue ;; esac
    cmd=$({ tr '\0' ' ' <"/proc/$pid/cmdline"; } 2>/dev/null)
    cmd=${cmd%"${cmd##*[! ]}"}
    case "${cmd,,}" in
      *'\system32\services.exe'* | *'\system32\winedevice.exe'* | *'\system32\explorer.exe'* | \
        *'\system32\plugplay.exe'* | *'\system32\svchost.exe'* | *'\system32\rpcss.exe'* | \
        *'\system32\conhost.exe'* | *'\system32\winemenubuilder.exe'* | *'\system32\tabtip.exe'* | \
        *'\system32\wineboot.exe'*) continue ;;
    esac
    printf '%s %s\n' "$pid" "$cmd"
  done
}

# ---------------------------------------------------------------------------------------------
# Starting and ending programs

# wdx_wine_start [--64] EXE [ARG...]: starts a Windows program in the background (not in a
# command substitution: the pid is kept in WDX_LAST_PID and WDX_STARTED_PIDS of this shell).
wdx_wine_start() {
  local loader=$WDX_WINE
  [ "${1:-}" = --64 ] && { loader=$WDX_WINE64; shift; }
  "$loader" "$@" </dev/null >>"${WDX_WINE_DIR:-/tmp}/programs.log" 2>&1 &
  WDX_LAST_PID=$!
  WDX_STARTED_PIDS+=("$WDX_LAST_PID")
}

# wdx_wait_exit PID SECONDS: waits for a program started here to end; its exit code goes to
# WDX_EXIT_CODE. Fails when it is still running after SECONDS.
wdx_wait_exit() {
  local pid=$1 secs=${2:-10} i
  for ((i = 0; i < secs * 10; i++)); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && return 1
  WDX_EXIT_CODE=0
  wait "$pid" 2>/dev/null || WDX_EXIT_CODE=$?
  return 0
}

# Ends every program started here that still runs; their pids go to WDX_STOPPED_PIDS and the
# result is 1 when there were any.
wdx_stop_started() {
  local pid
  WDX_STOPPED_PIDS=()
  for pid in "${WDX_STARTED_PIDS[@]}"; do
    if kill -0 "$pid" 2>/dev/null; then
      WDX_STOPPED_PIDS+=("$pid")
    else
      wait "$pid" 2>/dev/null
    fi
  done
  WDX_STARTED_PIDS=()
  ((${#WDX_STOPPED_PIDS[@]})) || return 0
  kill "${WDX_STOPPED_PIDS[@]}" 2>/dev/null
  sleep 0.5
  kill -9 "${WDX_STOPPED_PIDS[@]}" 2>/dev/null
  for pid in "${WDX_STOPPED_PIDS[@]}"; do wait "$pid" 2>/dev/null; done
  return 1
}

# wdx_settled_leftovers [SECONDS]: what wdx_wine_leftovers lists once programs that are already
# closing have had up to SECONDS (default 5) to end; a closed window's process may take a moment.
wdx_settled_leftovers() {
  local secs=${1:-5} i lines
  for ((i = 0; i < secs * 10; i++)); do
    lines=$(wdx_wine_leftovers)
    [ -z "$lines" ] && return 0
    sleep 0.1
  done
  printf '%s\n' "$lines"
}

# Ends the processes that wdx_wine_leftovers lists (programs that a test's programs started in
# turn); prints them and returns 1 when there were any.
wdx_stop_leftovers() {
  local lines pids
  lines=$(wdx_settled_leftovers)
  [ -n "$lines" ] || return 0
  printf '%s\n' "$lines"
  pids=$(printf '%s\n' "$lines" | cut -d' ' -f1)
  # shellcheck disable=SC2086
  kill $pids 2>/dev/null
  sleep 0.5
  # shellcheck disable=SC2086
  kill -9 $pids 2>/dev/null
  return 1
}

# ---------------------------------------------------------------------------------------------
# The probe (tests/e2e/probe/wdxprobe.exe) and Notepad

# wdx_probe COMMAND [ARG...]: runs wdxprobe.exe; `wdx_probe help` lists the commands.
wdx_probe() {
  if [ -z "${WDX_PROBE:-}" ]; then
    WDX_PROBE=$(wdx_exe wdxprobe) || return 1
  fi
  "$WDX_WINE" "$WDX_PROBE" "$@"
  local rc=$?
  # The probe itself answers 0, 1 or 2; any other code is Wine's or a crash's, and says so.
  case $rc in 0 | 1 | 2) ;; *) wdx_log "wdxprobe $1 ended with code $rc" ;; esac
  return $rc
}

# Starts Wine's Notepad and waits for its window: WDX_NOTEPAD_PID, WDX_NOTEPAD_HWND.
# One Notepad at a time: the window is found by its class.
wdx_notepad_start() {
  if wdx_probe find --class Notepad >/dev/null 2>&1; then
    wdx_log "a Notepad window is open already"
    return 1
  fi
  wdx_wine_start notepad
  WDX_NOTEPAD_PID=$WDX_LAST_PID
  WDX_NOTEPAD_HWND=$(wdx_probe wait --class Notepad --timeout 30000) || return 1
  # Typed keys go to the foreground window.
  wdx_probe front "$WDX_NOTEPAD_HWND"
}

# Prints Notepad's text exactly (line ends as they are: CR LF after each typed Enter).
wdx_notepad_text() {
  wdx_probe text "${1:-$WDX_NOTEPAD_HWND}" --child Edit
}

# Closes Notepad without the save question and waits for its process to end.
wdx_notepad_close() {
  local h=${1:-$WDX_NOTEPAD_HWND}
  wdx_probe send "$h" EM_SETMODIFY 0 --child Edit >/dev/null || return 1
  wdx_probe close "$h" || return 1
  wdx_wait_exit "$WDX_NOTEPAD_PID" 15
}

# ---------------------------------------------------------------------------------------------
# The test's own window (wdxkeywatch.exe, tests/e2e/stuckkeys) and the player

# wdx_keywatch_start LOGFILE: opens "Key Watch", which appends one line per key it receives to
# LOGFILE (a Windows path): WDX_KEYWATCH_PID, WDX_KEYWATCH_HWND, and WDX_KEYWATCH_XWIN, the same
# window for the X server. Fails when the program or either window is missing.
wdx_keywatch_start() {
  local watch
  watch=$(wdx_exe wdxkeywatch) || return 1
  wdx_wine_start "$watch" window "$1"
  WDX_KEYWATCH_PID=$WDX_LAST_PID
  WDX_KEYWATCH_HWND=$(wdx_probe wait --title "Key Watch" --class WdxKeyWatch --timeout 30000) || return 1
  WDX_KEYWATCH_XWIN=$(xdotool search --name '^Key Watch$' | head -n 1)
  [ -n "$WDX_KEYWATCH_XWIN" ]
}

# Brings Key Watch to the front and gives it the keyboard. Without a window manager the X server
# gives the keyboard to no window: keys sent through it (xdotool) need the window focused there
# too.
wdx_keywatch_focus() {
  wdx_probe front "$WDX_KEYWATCH_HWND" >/dev/null
  xdotool windowfocus --sync "$WDX_KEYWATCH_XWIN" 2>/dev/null
}

# wdx_player_start EXE: starts Wendplay and waits for its hidden main window: WDX_PLAYER_PID,
# WDX_PLAYER_HWND.
wdx_player_start() {
  wdx_wine_start "$1"
  WDX_PLAYER_PID=$WDX_LAST_PID
  WDX_PLAYER_HWND=$(wdx_probe wait --class TMainWin --title "Wendrix Player" --timeout 30000)
  [ -n "$WDX_PLAYER_HWND" ]
}

# wdx_player_hooks_in TOOL: waits (15 s at most) until the player has made all seven of its
# named objects, read by wdxplayertool.exe (TOOL) "objects"; the last is made just after the
# hooks go in, so hot keys work from then on. Fails when they are not all there.
wdx_player_hooks_in() {
  local i objects
  for ((i = 0; i < 60; i++)); do
    objects=$("$WDX_WINE" "$1" objects | tr -d '\r')
    [ "$(printf '%s\n' "$objects" | grep -c ' 1$')" = 7 ] && { sleep 0.5; return 0; }
    sleep 0.25
  done
  return 1
}

# The player's named objects (its shared blocks and mutexes), in the order the helpers below
# list them.
WDX_PLAYER_OBJECTS="WDXEX321Z WDBA1KGR WDTT1KGR WDKR1KGR WD88aveR WDKZaveR WDQJaveR"

# wdx_player_objects: "NAME=1" or "NAME=0" for every named object of the player, in that order
# (wdxplayertool asks the kernel). Prints "tool failed" when the tool fails or leaves a name
# out, so a broken tool can never look like "none left".
wdx_player_objects() {
  local tool out name state states=
  tool=$(wdx_exe wdxplayertool) || { echo "tool failed"; return 1; }
  out=$("$WDX_WINE" "$tool" objects) || { echo "tool failed"; return 1; }
  out=${out//$'\r'/}
  for name in $WDX_PLAYER_OBJECTS; do
    state=$(printf '%s\n' "$out" | awk -v n="$name" '$1 == n { print $2 }')
    case "$state" in 0 | 1) states+="$name=$state " ;; *) echo "tool failed"; return 1 ;; esac
  done
  printf '%s\n' "${states% }"
}

# wdx_player_objects_all 0|1: what wdx_player_objects prints when none (0) or all (1) exist.
wdx_player_objects_all() {
  local n out=
  for n in $WDX_PLAYER_OBJECTS; do out+="$n=$1 "; done
  printf '%s\n' "${out% }"
}

# wdx_wait_output EXPECTED COMMAND [ARG...]: runs COMMAND every 0.1 s until it prints EXPECTED,
# for 10 s at most (WDX_WAIT_TRIES tenths of a second, when set); prints what it printed last.
wdx_wait_output() {
  local want=$1 i out
  shift
  for ((i = 0; i < ${WDX_WAIT_TRIES:-100}; i++)); do
    out=$("$@")
    [ "$out" = "$want" ] && break
    sleep 0.1
  done
  printf '%s' "$out"
}

# ---------------------------------------------------------------------------------------------
# Pictures for a person to look at, in the build folder ($WDX_SHOTS)

WDX_SHOTS=${WDX_BUILD_ROOT:-$WDX_ROOT/build}

# wdx_shot_framed TITLE FILE: the top-level window TITLE with a little of the desktop around it
# (Wine draws the frame itself when the program's X11 "Decorated" setting is off).
wdx_shot_framed() {
  local geometry w h x y
  geometry=$(xwininfo -root -tree | awk -v t="\"$1\"" 'index($0, t) && / [0-9]+x[0-9]+\+/ {
      for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+$/) { print $i; exit } }')
  [ -n "$geometry" ] || return 1
  IFS='x+' read -r w h x y <<<"$geometry"
  mkdir -p "$WDX_SHOTS"
  import -window root -crop "$((w + 16))x$((h + 16))+$((x - 8))+$((y - 8))" +repage "$WDX_SHOTS/$2" 2>/dev/null
}

# wdx_shot TITLE FILE: the X window whose name matches the regular expression ^TITLE$.
wdx_shot() {
  local xwin
  xwin=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1)
  [ -n "$xwin" ] || return 1
  mkdir -p "$WDX_SHOTS"
  import -window "$xwin" "$WDX_SHOTS/$2" 2>/dev/null
}

# ---------------------------------------------------------------------------------------------
# Checks and the test's summary line

WDX_CHECKS=0
WDX_FAILED=0

wdx_pass() { WDX_CHECKS=$((WDX_CHECKS + 1)); printf '  ok    %s\n' "$*"; }
wdx_fail() { WDX_CHECKS=$((WDX_CHECKS + 1)); WDX_FAILED=$((WDX_FAILED + 1)); printf '  FAIL  %s\n' "$*"; }

# wdx_check DESCRIPTION COMMAND [ARG...]: passes when the command succeeds. Like every check,
# it returns 1 when it failed.
wdx_check() {
  local desc=$1
  shift
  if "$@"; then
    wdx_pass "$desc"
  else
    wdx_fail "$desc"
    return 1
  fi
}

# wdx_expect_eq DESCRIPTION EXPECTED ACTUAL
wdx_expect_eq() {
  if [ "$2" == "$3" ]; then
    wdx_pass "$1"
  else
    wdx_fail "$1: expected '$(printf '%q' "$2")', got '$(printf '%q' "$3")'"
    return 1
  fi
}

# wdx_results FILE: shows what a test program printed (indented) and counts its "ok   ..." and
# "FAIL ..." lines as checks.
wdx_results() {
  sed 's/^/    /' "$1"
  local line
  while IFS= read -r line; do
    case "$line" in
      "ok   "*) wdx_pass "${line#ok   }" ;;
      "FAIL "*) wdx_fail "${line#FAIL }" ;;
    esac
  done <"$1"
}

# wdx_require DESCRIPTION COMMAND [ARG...]: like wdx_check, but the test ends at once on
# failure (later checks would only repeat the same fault).
wdx_require() {
  wdx_check "$@" || wdx_e2e_end
}

wdx_e2e_begin() {
  WDX_E2E_NAME=$1
  WDX_E2E_DONE=
  trap 'wdx__e2e_exit' EXIT
  trap 'exit 130' INT TERM
  printf 'e2e/%s\n' "$WDX_E2E_NAME"
  if ! wdx_wine_env_up; then
    wdx_fail "Wine environment starts"
    wdx_e2e_end
  fi
}

wdx_e2e_end() {
  WDX_E2E_DONE=1
  exit 0
}

wdx__e2e_exit() {
  local rc=$? left
  trap - EXIT INT TERM
  if [ -z "${WDX_E2E_DONE:-}" ]; then
    wdx_fail "test script ended early (exit code $rc)"
  fi
  if ! wdx_stop_started; then
    wdx_fail "no program left running (had to end pid ${WDX_STOPPED_PIDS[*]})"
  fi
  if [ -n "${WDX_WINE_ENV_UP:-}" ] && ! left=$(wdx_stop_leftovers); then
    wdx_fail "no program left running (had to end: $(printf '%s' "$left" | tr '\n' ';'))"
  fi
  wdx_wine_env_down
  if ((WDX_FAILED == 0 && WDX_CHECKS > 0)); then
    printf 'PASS e2e/%s: %d checks\n' "$WDX_E2E_NAME" "$WDX_CHECKS"
    exit 0
  fi
  if ((WDX_CHECKS == 0)); then
    printf 'FAIL e2e/%s: no checks ran\n' "$WDX_E2E_NAME"
  else
    printf 'FAIL e2e/%s: %d of %d checks failed\n' "$WDX_E2E_NAME" "$WDX_FAILED" "$WDX_CHECKS"
  fi
  exit 1
}
