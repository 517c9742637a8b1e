#!/usr/bin/env bash
# The player's mail code under Wine (wdxmailtest.exe on Winsock and the real message loop)
# against servers on the loopback address: a real SMTP server (aiosmtpd, smtp_sink.py) receives
# a message with text, an 8-bit subject, copies, a blind copy and a binary attachment, which
# Python's email package then reads; a scripted server (scripted_server.py) plays each failure
# dialogue; a timer cancels a wait; a refused connection fails at once; the decoder reads the
# encoder's message back; the dial-up component takes the system's answers. Ends with the benchmark figures (they are reported, never checked).
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin mail

exe=$(wdx_exe wdxmailtest)
wdx_require "wdxmailtest.exe is built" test -n "$exe"
servers=$WDX_ROOT/tests/unit/player_mail
python=/usr/bin/python3
wdx_require "python3 with aiosmtpd is installed" "$python" -c "import aiosmtpd"
work=$(mktemp -d "${WDX_WINE_DIR:-/tmp}/mail.XXXXXX")
mail() { timeout 120 "$WDX_WINE" "$exe" "$@" 2>/dev/null | tr -d '\r'; }
# checks NAME MODE ARGS...: runs a mode of wdxmailtest that checks by itself; its checks count,
# and it must end well having run at least one.
checks() {
  local name=$1 rc=0
  shift
  timeout 120 "$WDX_WINE" "$exe" "$@" >"$work/$name.raw" 2>/dev/null || rc=$?
  tr -d '\r' <"$work/$name.raw" >"$work/$name.out"
  wdx_results "$work/$name.out"
  wdx_expect_eq "$name: wdxmailtest ends with no failure" 0 "$rc"
  wdx_check "$name: its checks ran" grep -q '^ok   ' "$work/$name.out"
}

# start_server OUT ARGS...: a Python server in the background, its output in OUT; the pid in
# server_pid, the port in server_port (empty when it did not start).
server_pids=()
start_server() {
  local out=$1 i
  shift
  # Emptied here, not by the server's redirection: a child slow to start would otherwise leave
  # the last server's port in the file for the loop below to read.
  : >"$out"
  "$python" "$@" >>"$out" 2>&1 &
  server_pid=$!
  server_pids+=("$server_pid")
  server_port=
  for ((i = 0; i < 100; i++)); do
    server_port=$(sed -n 's/^PORT \([0-9]*\)$/\1/p' "$out")
    [ -n "$server_port" ] && return 0
    kill -0 "$server_pid" 2>/dev/null || break
    sleep 0.1
  done
  cat "$out" >&2
  return 1
}
stop_servers() {
  local pid
  for pid in "${server_pids[@]}"; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
  server_pids=()
}

# --- a real server receives the message as it was built
mkdir -p "$work/sink"
if wdx_check "aiosmtpd listens on the loopback address" start_server "$work/sink.out" "$servers/smtp_sink.py" "$work/sink" --limit 300; then
  sink_port=$server_port
  wdx_expect_eq "the message is sent" "SENT" "$(mail send "127.0.0.1:$sink_port")"
  if wdx_check "the server kept it" test -f "$work/sink/0.eml"; then
    "$python" "$(dirname "$0")/check_received.py" "$work/sink/0.eml" "$work/sink/0.env" >"$work/check.out" 2>&1
    wdx_results "$work/check.out"
    wdx_expect_eq "every check of the received message ran" 12 "$(grep -c '^ok   \|^FAIL ' "$work/check.out")"
  fi
fi

# --- failure dialogues: each scripted server gives its text, the client ends disconnected
# dialogue NAME EXPECTED SCRIPT-LINE...
dialogue() {
  local name=$1 expected=$2 out
  shift 2
  printf '%s\n' "$@" >"$work/script.txt"
  if ! start_server "$work/scripted.out" "$servers/scripted_server.py" "$work/script.txt" --limit 30; then
    wdx_fail "$name: the scripted server starts"
    return
  fi
  out=$(mail dialogue "127.0.0.1:$server_port")
  wdx_expect_eq "$name" "$expected" "$(printf '%s\n' "$out" | head -n 1)"
  wdx_check "$name: the client is disconnected afterwards" grep -qx "ok   the client is disconnected afterwards" <<<"$out"
  wait "$server_pid" 2>/dev/null
}
ok=(read "send 250 ok" read "send 250 ok" read "send 354 go" data "send 250 sent" read "send 221 bye")
dialogue "a bare HELO after a refused one" "SENT" "send 220 hi" read "send 500 no" read "send 250 ok" "${ok[@]}"
dialogue "a refused greeting" "ERROR 554 go away" "send 554 go away" drain
dialogue "a multi-line refusal gives its last line" "ERROR 550 last" "send 220 hi" read "send 250 hi" read \
  "send 550-first" "send 550 last" drain
dialogue "DATA answered with 250" "ERROR 250 not 354" "send 220 hi" read "send 250 hi" read "send 250 ok" read \
  "send 250 ok" read "send 250 not 354" drain
dialogue "a server that closes" "ERROR [10054] Connection reset by peer" close
dialogue "a silent server" "ERROR Operation timed out" "sleep 5"
dialogue "a greeting without its line end" "ERROR Operation timed out" "raw 220 no end" "sleep 5"
dialogue "a reply of 10 000 characters" "SENT" "long 220 10000" read "send 250 hi" "${ok[@]}"

# --- a timer's Cancel ends a wait (the message queue moves during it)
printf 'sleep 10\n' >"$work/silent.txt"
if start_server "$work/silent.out" "$servers/scripted_server.py" "$work/silent.txt" --limit 15; then
  checks cancel cancel "127.0.0.1:$server_port"
fi

# --- a refused connection, the decoder on Windows
closed_port=$("$python" -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
checks refused refused "$closed_port"
checks roundtrip roundtrip
# --- the dial-up component on the system's remote access (Wine has no dial-up to offer)
checks ras ras

# --- figures (not checks)
if start_server "$work/bench.out" "$servers/smtp_sink.py" "$work/sink" --discard --limit 300; then
  mail bench "127.0.0.1:$server_port" 200 20 | sed 's/^/    /'
fi

stop_servers
wdx_expect_eq "no Windows program left running" "" "$(wdx_settled_leftovers)"
wdx_e2e_end
