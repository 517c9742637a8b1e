"""Checks the message wdxmailtest.exe sent, as the SMTP server received it, with Python's own
email package. Usage: check_received.py MESSAGE.eml ENVELOPE.env
Prints "ok   <check>" or "FAIL <check>: <what was found>" lines."""
import email
import email.policy
import sys


def check(ok, what, found=None):
    print(("ok   " if ok else "FAIL ") + what + ("" if ok or found is None else ": found %r" % (found,)))


def main():
    raw = open(sys.argv[1], "rb").read()
    envelope = open(sys.argv[2], encoding="latin-1").read().split()
    check(envelope == ["user@example.com", "ann@example.com", "bob@example.com", "dee@example.com",
                       "hidden@example.com"], "the envelope: sender, To, CC and the blind copy in order", envelope)
    check(b"hidden" not in raw.lower(), "the blind copy is not in the message text")

    msg = email.message_from_bytes(raw, policy=email.policy.default)
    defects = [d for part in msg.walk() for d in part.defects]
    check(not defects, "the message parses without defects", defects)
    check(str(msg["Subject"]) == "Gr\u00fc\u00dfe \u20ac Bericht", "the 8-bit subject", str(msg["Subject"]))
    check(msg["X-Mailer"] == "Wendrix", "the player's X-Mailer line", msg["X-Mailer"])
    to = [(a.display_name, a.addr_spec) for a in msg["To"].addresses]
    check(to == [("Ann", "ann@example.com"), ("Bob, Jr.", "bob@example.com")], "the To addresses", to)
    cc = [(a.display_name, a.addr_spec) for a in msg["Cc"].addresses]
    check(cc == [("D\u00e9e", "dee@example.com")], "the CC address", cc)
    check(msg["Bcc"] is None, "no Bcc field")

    parts = [p for p in msg.walk() if not p.is_multipart()]
    check(len(parts) == 2, "a text part and an attachment", len(parts))
    if len(parts) == 2:
        text = parts[0].get_payload(decode=True).decode(parts[0].get_content_charset() or "ascii")
        check(text == "Hello Ann,\r\n.dot line\r\nGr\u00fc\u00dfe\r\n", "the text", text)
        data = parts[1].get_payload(decode=True)
        expected = bytes(((i * 31 + 7) & 0xFF) for i in range(200000))
        check(parts[1].get_filename() == "figures.bin", "the attachment's name", parts[1].get_filename())
        check(data == expected, "the attachment's bytes", len(data))


main()
