"""Reads what the SMTP sink kept of one message with Python's email package and prints what the
e-mail test compares, one item a line:
  ENVELOPE <sender> <recipient> ...
  DEFECTS <count>
  HEADER <name>: <value>            (From, To, CC, Subject, X-Mailer; "Bcc" too when present)
  ADDR <field> <display name>|<address>
  PART <content type> <file name or -> <md5 of the payload> <payload size>
  TEXT <first line of the text part>
"""
import email
import email.policy
import hashlib
import sys


def main():
    stem = sys.argv[1]
    with open(stem + ".env", encoding="latin-1") as f:
        print("ENVELOPE", " ".join(line.strip() for line in f if line.strip()))
    with open(stem + ".eml", "rb") as f:
        msg = email.message_from_bytes(f.read(), policy=email.policy.default)
    defects = list(msg.defects)
    for part in msg.walk():
        defects += part.defects
        for _, value in part.items():
            defects += getattr(value, "defects", ())
    print("DEFECTS", len(defects))
    for d in defects:
        print("DEFECT", repr(d))
    for name in ("From", "To", "CC", "Bcc", "Subject", "X-Mailer"):
        if name in msg:
            print("HEADER %s: %s" % (name, msg[name]))
    for name in ("from", "to", "cc"):
        if name in msg:
            for a in msg[name].addresses:
                print("ADDR %s %s|%s" % (name, a.display_name, a.addr_spec))
    for part in msg.walk():
        if part.is_multipart():
            continue
        payload = part.get_payload(decode=True) or b""
        print("PART", part.get_content_type(), part.get_filename() or "-", hashlib.md5(payload).hexdigest(), len(payload))
        if part.get_content_type() == "text/plain" and not part.get_filename():
            print("TEXT", payload.decode("latin-1").splitlines()[0] if payload else "")


main()
