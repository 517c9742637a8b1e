"""Reads one encoded message the way a mail server and a mail reader would, with Python's own
email package, and prints what it found for the test to compare.

The file holds the SMTP data as the encoder wrote it: the leading "." that the encoder added to
every line beginning with "." is removed first, as the receiving server does. With --stored the
file is a message as a server stored it, read as it is. Output, one item
a line, texts as hex of their code page 1252 bytes (or raw bytes for payloads):
  DEFECT <where> <defect>
  HEADER <name> <hex>
  ADDR <field> <hex display name> <hex address>
  PART <index> <content type> <hex file name or -> <hex payload>
  UU <hex file name> <hex data>          (uuencoded files inside a plain text body)
"""
import binascii
import email
import email.policy
import sys


def hx(text):
    if text is None:
        return "-"
    if isinstance(text, bytes):
        return text.hex() or "-"
    return text.encode("cp1252", errors="backslashreplace").hex() or "-"


def unstuff(raw):
    lines = raw.split(b"\r\n")
    for line in lines:
        if line == b".":
            print("DEFECT data a line holding only '.' ends the message early")
    return b"\r\n".join(l[1:] if l.startswith(b".") else l for l in lines)


def uu_files(payload):
    lines = payload.split(b"\r\n")
    i = 0
    while i < len(lines):
        line = lines[i]
        if line.lower().startswith(b"begin "):
            name = line.split(b" ", 2)[2] if line.count(b" ") >= 2 else b""
            data = b""
            i += 1
            start = i
            while i < len(lines) and lines[i] != b"end":
                data += binascii.a2b_uu(lines[i])
                i += 1
            # The data ends with a line of only the backquote, then "end".
            if i >= len(lines) or i == start or lines[i - 1] != b"`":
                print("DEFECT uu missing end lines")
            print("UU", name.hex() or "-", data.hex() or "-")
        i += 1


def main():
    with open(sys.argv[1], "rb") as f:
        raw = f.read()
    if "--stored" not in sys.argv[2:]:
        raw = unstuff(raw)
    msg = email.message_from_bytes(raw, policy=email.policy.default)
    for index, part in enumerate(msg.walk()):
        where = "part%d" % index
        if not part.is_multipart():
            payload = part.get_payload(decode=True) or b""
            print("PART", index, part.get_content_type(), hx(part.get_filename()), payload.hex() or "-")
            if index == 0 and "Mime-Version" not in msg:
                uu_files(payload)
        for d in part.defects:
            print("DEFECT", where, repr(d))
        for name, value in part.items():
            for d in getattr(value, "defects", ()):
                print("DEFECT", where, name, repr(d))
    for name, value in msg.items():
        print("HEADER", name, hx(str(value)))
        if name.lower() in ("from", "to", "cc"):
            for a in value.addresses:
                print("ADDR", name.lower(), hx(a.display_name), hx(a.addr_spec))


main()
