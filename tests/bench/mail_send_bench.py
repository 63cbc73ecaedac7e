#!/usr/bin/python3
"""Sends a message with a 5 MB attachment through qkli's sending window (mail_send_bench.exe
under Wine) to a local aiosmtpd server, then the very bytes the server received with Python's
smtplib to the same server, and prints both times and their ratio: in plain text, and through
STARTTLS with a certificate made at start. Figures only.
    mail_send_bench.py WINE_RUN BENCH_EXE [--quick]     (--quick: a small attachment, one run)
"""
import asyncio
import os
import random
import smtplib
import ssl
import subprocess
import sys
import tempfile
import threading
import time

from aiosmtpd.smtp import SMTP
from cryptography.hazmat.primitives.asymmetric import rsa

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from mail_peer import certificate, fingerprint, tls_context  # noqa: E402  the test server's certificates


class Sink:
    received = None

    async def handle_DATA(self, server, session, envelope):
        self.received = envelope.original_content
        return "250 OK"


def measure(wine_run, bench_exe, port, attachment, runs, sink, pin=None):
    """Best times of qkli and of smtplib, in milliseconds; None when qkli's send failed."""
    ours, theirs = [], []
    client_context = ssl.create_default_context()
    client_context.check_hostname, client_context.verify_mode = False, ssl.CERT_NONE
    for _ in range(runs):
        sink.received = None
        result = subprocess.run([wine_run, bench_exe, str(port), attachment] + ([pin] if pin else []),
                                capture_output=True, text=True, timeout=600)
        fields = result.stdout.split()
        if result.returncode != 0 or "sent_ms" not in fields or sink.received is None:
            print("mail_send_bench: the send failed:", result.stdout, result.stderr)
            return None
        ours.append(float(fields[fields.index("sent_ms") + 1]))
        start = time.perf_counter()
        with smtplib.SMTP("127.0.0.1", port) as client:
            if pin:
                client.starttls(context=client_context)
            client.sendmail("bench@example.org", ["sink@example.org"], sink.received)
        theirs.append((time.perf_counter() - start) * 1000)
    return min(ours), min(theirs)


def main(wine_run, bench_exe, quick):
    size, runs = (200_000, 1) if quick else (5 * 1024 * 1024, 5)
    sink, loop = Sink(), asyncio.new_event_loop()
    with tempfile.TemporaryDirectory() as folder:
        key = rsa.generate_private_key(public_exponent=65537, key_size=2048)
        cert = certificate("localhost", key, None, None)
        context = tls_context(folder, "bench", cert, key)
        plain = loop.run_until_complete(loop.create_server(lambda: SMTP(sink), "127.0.0.1", 0))
        secured = loop.run_until_complete(
            loop.create_server(lambda: SMTP(sink, tls_context=context, require_starttls=True), "127.0.0.1", 0))
        threading.Thread(target=loop.run_forever, daemon=True).start()
        attachment = os.path.join(folder, "note.bin")
        with open(attachment, "wb") as out:
            out.write(random.Random(1).randbytes(size))
        windows_path = "Z:" + attachment.replace("/", "\\")
        figures = [("plain", measure(wine_run, bench_exe, plain.sockets[0].getsockname()[1], windows_path, runs, sink)),
                   ("STARTTLS", measure(wine_run, bench_exe, secured.sockets[0].getsockname()[1], windows_path, runs,
                                        sink, fingerprint(cert)))]
    loop.call_soon_threadsafe(loop.stop)
    if any(times is None for _, times in figures):
        return 1
    print(f"message of {len(sink.received)} bytes with an attachment of {size} bytes, best of {runs}")
    for name, (ours, theirs) in figures:
        print(f"  {name:8} qkli sending window (Wine): {ours:9.1f} ms   Python smtplib: {theirs:9.1f} ms"
              f"   ratio {ours / theirs:5.2f} (target at most 1.5)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2], "--quick" in sys.argv[3:]))
