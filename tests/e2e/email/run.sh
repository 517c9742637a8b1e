#!/usr/bin/env bash
# The e-mail, dial-up and network-drive commands in the real Wendplay.exe under Wine. A real
# SMTP server (aiosmtpd, the mail tests' smtp_sink.py) listens on the loopback address; macros
# of a test library are run by name through a second Wendplay's command line ("/A"):
# - SENDTAG: recipients, copies, a blind copy, body, subject and a binary attachment from the
#   tag; Python's email package reads what the server received, and the e-mail log and its
#   index hold the entry;
# - PROMPTED: the "Send E-Mail" prompt answered for the recipients and the text;
# - REFUSED, BADFILE, and with the server stopped NOSERVER: each failure shows its message and
#   sends and logs nothing;
# - NETDRIVE, DIAL, HANGUP: the network-drive and dial-up commands report Wine's answers with
#   their messages.
# Pictures of the prompt and of the status window go to the build folder (email-prompt.png,
# email-status.png).
. "$(dirname "$0")/../lib.sh"
wdx_e2e_begin email

exe=$(wdx_exe Wendplay)
wdx_require "Wendplay.exe is built" test -n "$exe"
tool=$(wdx_exe wdxplayertool)
wdx_require "wdxplayertool.exe is built" test -n "$tool"
driver=$(wdx_exe wdxformdriver)
wdx_require "wdxformdriver.exe is built" test -n "$driver"
drive() { "$WDX_WINE" "$driver" "$@" | tr -d '\r'; }
python=/usr/bin/python3
wdx_require "python3 with aiosmtpd is installed" "$python" -c "import aiosmtpd"
here=$(cd "$(dirname "$0")" && pwd)
sink_script=$WDX_ROOT/tests/unit/player_mail/smtp_sink.py

# --- the server
work=$(mktemp -d "${WDX_WINE_DIR:-/tmp}/email.XXXXXX")
mkdir -p "$work/sink"
"$python" "$sink_script" "$work/sink" --refuse refused@example.com --limit 100 >"$work/sink.out" 2>&1 &
sink_pid=$!
port=
for ((i = 0; i < 100; i++)); do
  port=$(sed -n 's/^PORT \([0-9]*\)$/\1/p' "$work/sink.out")
  [ -n "$port" ] && break
  sleep 0.1
done
wdx_require "aiosmtpd listens on the loopback address" test -n "$port"
stop_sink() { kill "$sink_pid" 2>/dev/null; wait "$sink_pid" 2>/dev/null; }
messages() { grep -c '^MESSAGE ' "$work/sink.out"; }

# --- the library, the settings and the files, under C:\wdxemail of the prefix
dir=$WINEPREFIX/drive_c/wdxemail
rm -rf "$dir"
mkdir -p "$dir"
head -c 20000 /dev/urandom >"$dir/data.bin"
printf 'Ann Archer|ann@example.com\r\nBo Brown|bo@example.com\r\n' >"$dir/WENDMAIL.TXT"
# The tag of SENDTAG: two To recipients (a name with a comma and quotes, a name with a letter
# outside ASCII), a copy, a blind copy, a body of two lines, a subject, the attachment.
printf '<EMAIL:RNR1TOSmith, "Jo"|jo@example.com;Ren\351e|renee@example.com;\001CCCarl|carl@example.com;\001BL|hidden@example.com;\001S1Hello from the macro\r\nSecond line\001E2E subject\001A2C:\\wdxemail\\data.bin;\001>' \
  >"$dir/sendtag.txt"
printf '<EMAIL:RNR2S2A1>' >"$dir/prompted.txt"
printf '<EMAIL:RNR1TO|refused@example.com;\001S1b\001s\001A1>' >"$dir/refused.txt"
printf '<EMAIL:RNR1TO|ann@example.com;\001S1b\001s\001A2C:\\wdxemail\\missing.bin;\001>' >"$dir/badfile.txt"
printf '<EMAIL:RNR1TO|ann@example.com;\001S1b\001s\001A1>' >"$dir/noserver.txt"
printf '%s' '<NWCS:<NAME:><PASS:>Q:\\nosuchserver\share>' >"$dir/netdrive.txt"
printf '%s' '<DIAL:<NAME:joe><PASS:#3E>Nowhere>' >"$dir/dial.txt"
printf '%s' '<HANG>' >"$dir/hangup.txt"
printf '[Misc]\r\nCurrent File=C:\\wdxemail\\EMAIL.WDX\r\nStart Editor=No\r\nEMail Path=C:\\wdxemail\\WENDMAIL.TXT\r\nEMail Log Path=C:\\wdxemail\\MAILLOG.TXT\r\n[EMail]\r\nSMTP Host=127.0.0.1:%s\r\nEMail Name=Wendy Player\r\nEMail Address=wendy@example.com\r\nKeep Log=Yes\r\n' \
  "$port" >"$WINEPREFIX/drive_c/windows/WENDX.INI"
args=()
for name in sendtag prompted refused badfile noserver netdrive dial hangup; do
  args+=("${name^^}" 30000 1 0 "" "@C:\\wdxemail\\$name.txt")
done
wdx_require "test library written" "$WDX_WINE" "$tool" mklib 'C:\wdxemail\EMAIL.WDX' "${args[@]}"

appkey='HKCU\Software\Wine\AppDefaults\Wendplay.exe'
"$WDX_WINE" reg add "$appkey\X11 Driver" /v Decorated /d N /f >/dev/null 2>&1
wdx_require "Wendplay starts" wdx_player_start "$exe"
pid=$WDX_PLAYER_PID

# run NICK: a second player hands the macro's name to the first, which runs it (the second
# player goes on in the background, so the first one's windows are seen while they are up).
run_pids=()
run() {
  timeout 30 "$WDX_WINE" "$exe" "/A$1" >/dev/null 2>&1 &
  run_pids+=($!)
}
# box CAPTION: the player's message window with that caption (its handle, empty when none came).
box() { wdx_probe wait --class WdxForm --title "$1" --visible --timeout "${2:-15000}"; }
# answer HWND: the message window closed with its Ok.
answer() { drive click "$1" "&Ok" >/dev/null && wdx_probe gone "$1" --timeout 5000; }
# wait_messages N: the server has kept N messages (within 20 s).
wait_messages() {
  for ((i = 0; i < 200; i++)); do
    [ "$(messages)" -ge "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# --- SENDTAG, with a picture of the status window while it is up
run SENDTAG
status=$(wdx_probe wait --title "Wendrix E-Mail Send" --visible --timeout 15000)
if wdx_check "the status window shows while the message is sent" test -n "$status"; then
  wdx_check "a picture of the status window is saved" wdx_shot_framed "Wendrix E-Mail Send" email-status.png
fi
wdx_require "the server receives the message" wait_messages 1
"$python" "$here/check_email.py" "$work/sink/0" >"$work/sendtag.txt"
sed 's/^/    /' "$work/sendtag.txt"
field() { grep "^$1" "$work/$2.txt" | head -1; }
wdx_expect_eq "the envelope holds exactly the recipients, copies and blind copy" \
  "ENVELOPE wendy@example.com jo@example.com renee@example.com carl@example.com hidden@example.com" \
  "$(field ENVELOPE sendtag)"
wdx_expect_eq "Python reads it without defects" "DEFECTS 0" "$(field DEFECTS sendtag)"
wdx_expect_eq "the sender" "ADDR from Wendy Player|wendy@example.com" "$(field 'ADDR from' sendtag)"
wdx_expect_eq "the recipients with their names" \
  "$(printf 'ADDR to Smith, "Jo"|jo@example.com\nADDR to Ren\303\251e|renee@example.com')" \
  "$(grep '^ADDR to' "$work/sendtag.txt")"
wdx_expect_eq "the copy" "ADDR cc Carl|carl@example.com" "$(field 'ADDR cc' sendtag)"
wdx_expect_eq "no blind copy in the headers" "" "$(field 'HEADER Bcc' sendtag)"
wdx_expect_eq "the subject" "HEADER Subject: E2E subject" "$(field 'HEADER Subject' sendtag)"
wdx_expect_eq "the mailer" "HEADER X-Mailer: Wendrix" "$(field 'HEADER X-Mailer' sendtag)"
wdx_expect_eq "the body" "TEXT Hello from the macro" "$(field TEXT sendtag)"
wdx_expect_eq "the attachment, byte for byte" \
  "PART application/octet-stream data.bin $(md5sum <"$dir/data.bin" | cut -d' ' -f1) 20000" \
  "$(grep '^PART .* data.bin ' "$work/sendtag.txt")"
wdx_check "the status window closes" wdx_probe gone "${status:-0}" --timeout 10000
log_want=$(printf 'From: Wendy Player <wendy@example.com>\r\nTo: Smith, "Jo" <jo@example.com>\r\n    Ren\351e <renee@example.com>\r\ncc: Carl <carl@example.com>\r\nblind cc:  <hidden@example.com>\r\nAttachments: C:\\wdxemail\\data.bin\r\nSubject: E2E subject\r\nBody: Hello from the macro\r\nSecond line\r\n' | od -An -tx1 | tr -d ' \n')
for ((i = 0; i < 50; i++)); do [ -s "$dir/MAILLOG.WDJ" ] && break; sleep 0.1; done
wdx_expect_eq "the e-mail log holds the entry" "$log_want" "$(od -An -tx1 <"$dir/MAILLOG.TXT" | tr -d ' \n')"
wdx_expect_eq "the index holds one 193-byte record" 193 "$(stat -c %s "$dir/MAILLOG.WDJ" 2>/dev/null)"
wdx_expect_eq "the record's recipient, offset and length" \
  "Smith, \"Jo\"|jo@example.com|0|$(stat -c %s "$dir/MAILLOG.TXT")|1 1 1" \
  "$("$python" -c '
import struct, sys
r = open(sys.argv[1], "rb").read()
s = lambda o: r[o + 1:o + 1 + r[o]].decode("latin-1")
off, ln = struct.unpack("<ii", r[161:169])
print("%s|%s|%d|%d|%d %d %d" % (s(0), s(51), off, ln, r[169], r[170], r[171]))' "$dir/MAILLOG.WDJ")"

# --- PROMPTED: the recipients and the text typed into the prompt
run PROMPTED
prompt=$(wdx_probe wait --class WdxForm --title "Send E-Mail" --visible --timeout 15000)
if wdx_check "the Send E-Mail prompt asks for the recipients" test -n "$prompt"; then
  drive settext "$prompt" Edit 0 "Typed Person" >/dev/null
  drive settext "$prompt" Edit 1 "typed@example.com" >/dev/null
  sleep 0.3
  wdx_check "a picture of the prompt is saved" wdx_shot_framed "Send E-Mail" email-prompt.png
  wdx_check "Continue is clicked" drive click "$prompt" "&Continue"
  wdx_check "the prompt closes" wdx_probe gone "$prompt" --timeout 10000
fi
prompt=$(wdx_probe wait --class WdxForm --title "Send E-Mail" --visible --timeout 15000)
if wdx_check "the prompt asks for the text" test -n "$prompt"; then
  # Typed as a user types: the subject has the focus, the text is two tabs on (a memo hears
  # nothing of a text set from outside).
  wdx_probe type "Prompted subject" >/dev/null
  wdx_probe keys tab tab >/dev/null
  wdx_probe type "Typed in the prompt" >/dev/null
  sleep 0.3
  wdx_check "a picture of the text panel is saved" wdx_shot_framed "Send E-Mail" email-prompt-text.png
  wdx_check "Continue is clicked" drive click "$prompt" "&Continue"
fi
wdx_require "the server receives the prompted message" wait_messages 2
"$python" "$here/check_email.py" "$work/sink/1" >"$work/prompted.txt"
sed 's/^/    /' "$work/prompted.txt"
wdx_expect_eq "sent to the typed recipient" "ENVELOPE wendy@example.com typed@example.com" "$(field ENVELOPE prompted)"
wdx_expect_eq "with its name" "ADDR to Typed Person|typed@example.com" "$(field 'ADDR to' prompted)"
wdx_expect_eq "the typed subject" "HEADER Subject: Prompted subject" "$(field 'HEADER Subject' prompted)"
wdx_expect_eq "the typed text" "TEXT Typed in the prompt" "$(field TEXT prompted)"
wdx_expect_eq "no defects" "DEFECTS 0" "$(field DEFECTS prompted)"
for ((i = 0; i < 50; i++)); do [ "$(stat -c %s "$dir/MAILLOG.WDJ")" = 386 ] && break; sleep 0.1; done
wdx_expect_eq "a second index record" 386 "$(stat -c %s "$dir/MAILLOG.WDJ")"

# --- the failures: each shows its message, nothing more is sent or logged
logged=$(stat -c %s "$dir/MAILLOG.TXT")
run REFUSED
b=$(box Error)
if wdx_check "a refused recipient is reported" test -n "$b"; then
  text=$(drive childtext "$b" Static 0)
  wdx_check "with the server's answer: $text" grep -q '^The SMTP Server refused the message: 550' <<<"$text"
  answer "$b"
fi
run BADFILE
b=$(box Error)
if wdx_check "an attachment that is not there is reported" test -n "$b"; then
  wdx_expect_eq "its message" \
    "The file C:\\wdxemail\\missing.bin could not be attached. This E-Mail attempt will abort. (Macro Name: BADFILE)" \
    "$(drive childtext "$b" Static 0)"
  answer "$b"
fi
stop_sink
run NOSERVER
b=$(box Error 30000)
if wdx_check "no server is reported in the text window" test -n "$b"; then
  wdx_check "with the connection message" grep -q '^A connection could not be made to the SMTP Server' \
    <<<"$(drive childtext "$b" Edit 0)"
  answer "$b"
fi
wdx_expect_eq "the failures sent nothing" 2 "$(messages)"
wdx_expect_eq "and logged nothing" "$logged" "$(stat -c %s "$dir/MAILLOG.TXT")"

# --- network drives and dial-up: Wine's answers with the commands' messages
run NETDRIVE
b=$(box 'Map Q: to \\nosuchserver\share')
if wdx_check "mapping a drive shows its result" test -n "$b"; then
  text=$(drive childtext "$b" Static 0)
  wdx_check "as one of the mapping messages: $text" grep -Eq '^(Drive mapped succesfully\.|Map Failed\.  )' <<<"$text"
  answer "$b"
fi
run DIAL
b=$(wdx_probe wait --class WdxForm --title "Dial-Up Error" --visible --timeout 15000)
[ -n "$b" ] || b=$(box Warning 1000)
if wdx_check "dialling reports Wine's answer" test -n "$b"; then
  text=$(drive childtext "$b" Edit 0)
  [ -n "$text" ] || text=$(drive childtext "$b" Static 0)
  wdx_check "with the dial-up message: $text" \
    grep -Eq '^(Dial-Up Network Connection to Nowhere failed\.  Error code: [0-9]+: |Dial-Up Connections cannot be performed)' <<<"$text"
  answer "$b"
fi
run HANGUP
b=$(box "Dial-Up Error")
[ -n "$b" ] || b=$(box Warning 1000)
if wdx_check "hanging up reports that this player has no connection" test -n "$b"; then
  text=$(drive childtext "$b" Static 0)
  wdx_check "as: $text" grep -Eq '^(There are no Dial-Up Networking connections to hang up\.|Dial-Up Networking Hang Up failed\.|Dial-Up Connections cannot)' <<<"$text"
  answer "$b"
fi

wdx_check "UM_CONTROL 30 ends the player" wdx_probe post "$WDX_PLAYER_HWND" WM_USER+11 30
wdx_check "Wendplay ends within 10 s" wdx_wait_exit "$pid" 10
wdx_expect_eq "exit code" 0 "$WDX_EXIT_CODE"
"$WDX_WINE" reg delete "$appkey" /f >/dev/null 2>&1
stop_sink
wait "${run_pids[@]}"  # the second players
rm -rf "$work"
wdx_expect_eq "no Windows program left running" "" "$(wdx_settled_leftovers)"
wdx_e2e_end
