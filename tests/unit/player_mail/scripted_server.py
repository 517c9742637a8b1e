"""A mail server that follows a script, for the client's failure dialogues. Loopback only.

Usage: scripted_server.py SCRIPT_FILE [--connections N] [--limit SECONDS]

Listens on 127.0.0.1 at a free port and prints "PORT <n>" first. Each of N connections (one
after the other) runs the whole script; then the server exits. Whatever the script says, the
server gives up after --limit seconds (default 60). Script lines:
  send TEXT        TEXT and CR LF
  raw TEXT         TEXT with Python escapes (\\r, \\n, \\x41) and nothing added
  long CODE N      CODE, a blank, N letters "x", CR LF
  read             reads one line from the client
  data             reads lines up to the line "." (the message data)
  sleep SECONDS    says nothing for that long
  drain            reads until the client closes
  close            closes the connection
Output after the PORT line, one item a line: "C: <line>" for each line read, "DATA <bytes>"
for the size of each message data, "CLOSED" when the client closed first, "END".
"""
import codecs
import socket
import sys
import time


def main():
    script = open(sys.argv[1], encoding="latin-1").read().splitlines()
    connections = 1
    limit = 60.0
    args = sys.argv[2:]
    while args:
        if args[0] == "--connections":
            connections = int(args[1])
        elif args[0] == "--limit":
            limit = float(args[1])
        args = args[2:]
    deadline = time.monotonic() + limit

    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", 0))
    listener.listen(4)
    print("PORT", listener.getsockname()[1], flush=True)
    for _ in range(connections):
        listener.settimeout(max(0.1, deadline - time.monotonic()))
        try:
            conn, _ = listener.accept()
        except socket.timeout:
            break
        run(conn, script, deadline)
    print("END", flush=True)


def run(conn, script, deadline):
    buffered = b""

    def read_line():
        nonlocal buffered
        while b"\n" not in buffered:
            conn.settimeout(max(0.1, deadline - time.monotonic()))
            try:
                chunk = conn.recv(65536)
            except (socket.timeout, ConnectionError):
                chunk = b""
            if not chunk:
                return None
            buffered += chunk
        line, buffered = buffered.split(b"\n", 1)
        return line.rstrip(b"\r")

    def say(data):
        try:
            conn.sendall(data)
        except (ConnectionError, OSError):
            pass

    closed = False
    for entry in script:
        word, _, rest = entry.partition(" ")
        if closed and word in ("read", "data", "drain"):
            break
        if word == "send":
            say(rest.encode("latin-1") + b"\r\n")
        elif word == "raw":
            say(codecs.decode(rest, "unicode_escape").encode("latin-1"))
        elif word == "long":
            code, count = rest.split()
            say(code.encode() + b" " + b"x" * int(count) + b"\r\n")
        elif word == "read":
            line = read_line()
            if line is None:
                print("CLOSED", flush=True)
                closed = True
            else:
                print("C:", line.decode("latin-1"), flush=True)
        elif word == "data":
            size = 0
            while True:
                line = read_line()
                if line is None:
                    print("CLOSED", flush=True)
                    closed = True
                    break
                if line == b".":
                    break
                size += len(line) + 2
            print("DATA", size, flush=True)
        elif word == "sleep":
            time.sleep(min(float(rest), max(0.0, deadline - time.monotonic())))
        elif word == "drain":
            while (line := read_line()) is not None:
                print("C:", line.decode("latin-1"), flush=True)
            print("CLOSED", flush=True)
            closed = True
        elif word == "close":
            break
    conn.close()


main()
