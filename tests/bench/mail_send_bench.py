#!/usr/bin/python3
"""Sends a message with a 5 MB attachment through qkli's sending window (mail_send_bench.exe
under Wine) to a local aiosmtpd server, then the very bytes the server received with Python's
smtplib to the same server, and prints both times and their ratio. Figures only.
    mail_send_bench.py WINE_RUN BENCH_EXE [--quick]     (--quick: a small attachment, one run)
"""
import asyncio
import os
import random
import smtplib
import subprocess
import sys
import tempfile
import threading
import time

from aiosmtpd.smtp import SMTP


class Sink:
    received = None

    async def handle_DATA(self, server, session, envelope):
        self.received = envelope.original_content
        return "250 OK"


def main(wine_run, bench_exe, quick):
    size, runs = (200_000, 1) if quick else (5 * 1024 * 1024, 3)
    sink, loop = Sink(), asyncio.new_event_loop()
    server = loop.run_until_complete(loop.create_server(lambda: SMTP(sink), "127.0.0.1", 0))
    port = server.sockets[0].getsockname()[1]
    threading.Thread(target=loop.run_forever, daemon=True).start()
    ours, theirs = [], []
    with tempfile.TemporaryDirectory() as folder:
        attachment = os.path.join(folder, "note.bin")
        with open(attachment, "wb") as out:
            out.write(random.Random(1).randbytes(size))
        for _ in range(runs):
            sink.received = None
            result = subprocess.run([wine_run, bench_exe, str(port), "Z:" + attachment.replace("/", "\\")],
                                    capture_output=True, text=True, timeout=600)
            fields = result.stdout.split()
            if result.returncode != 0 or "sent_ms" not in fields or sink.received is None:
                print("mail_send_bench: the send failed:", result.stdout, result.stderr)
                return 1
            ours.append(float(fields[fields.index("sent_ms") + 1]))
            start = time.perf_counter()
            with smtplib.SMTP("127.0.0.1", port) as client:
                client.sendmail("bench@example.org", ["sink@example.org"], sink.received)
            theirs.append((time.perf_counter() - start) * 1000)
    loop.call_soon_threadsafe(loop.stop)
    print(f"message of {len(sink.received)} bytes with an attachment of {size} bytes, best of {runs}")
    print(f"  qkli sending window (Wine): {min(ours):9.1f} ms")
    print(f"  Python smtplib            : {min(theirs):9.1f} ms")
    print(f"  ratio                     : {min(ours) / min(theirs):9.2f} (target at most 1.5)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2], "--quick" in sys.argv[3:]))
