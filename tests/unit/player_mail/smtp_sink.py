"""A real SMTP server (aiosmtpd) on the loopback address that keeps what it receives.

Usage: smtp_sink.py OUTPUT_FOLDER [--refuse ADDRESS]... [--limit SECONDS] [--discard]

Prints "PORT <n>" once it listens. For every message accepted it writes <folder>/<k>.eml (the
data as received) and <folder>/<k>.env (the envelope sender, then each recipient, one a line)
and prints "MESSAGE <k>". RCPT TO for a refused address gets "550 5.1.1 Recipient refused".
With --discard nothing is written (benchmarks). Stops when stopped, or after --limit seconds
(default 120).
"""
import asyncio
import os
import sys

from aiosmtpd.smtp import SMTP


class Sink:
    def __init__(self, folder, refused, discard):
        self.folder = folder
        self.discard = discard
        self.refused = refused
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address in self.refused:
            return "550 5.1.1 Recipient refused"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        name = os.path.join(self.folder, str(self.count))
        if self.discard:
            print("MESSAGE", self.count, flush=True)
            self.count += 1
            return "250 Message accepted"
        with open(name + ".eml", "wb") as f:
            f.write(envelope.original_content or envelope.content)
        with open(name + ".env", "w", encoding="latin-1") as f:
            f.write("\n".join([envelope.mail_from] + envelope.rcpt_tos) + "\n")
        print("MESSAGE", self.count, flush=True)
        self.count += 1
        return "250 Message accepted"


async def serve(folder, refused, limit, discard):
    sink = Sink(folder, refused, discard)
    loop = asyncio.get_running_loop()
    server = await loop.create_server(
        lambda: SMTP(sink, data_size_limit=256 * 1024 * 1024, hostname="sink.test"), "127.0.0.1", 0)
    print("PORT", server.sockets[0].getsockname()[1], flush=True)
    await asyncio.sleep(limit)
    server.close()


def main():
    folder = sys.argv[1]
    refused = set()
    limit = 120.0
    discard = False
    args = sys.argv[2:]
    while args:
        if args[0] == "--discard":
            discard = True
            args = args[1:]
            continue
        if args[0] == "--refuse":
            refused.add(args[1])
        elif args[0] == "--limit":
            limit = float(args[1])
        args = args[2:]
    asyncio.run(serve(folder, refused, limit, discard))
    print("END", flush=True)


main()
