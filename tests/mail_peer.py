#!/usr/bin/python3
"""A local SMTP server for the mail tests, on 127.0.0.1 and ports of its own choosing.

    mail_peer.py FOLDER

Writes into FOLDER: "port" (the SMTP server), "silent_port" (a listener whose queue is full, so
a connect there never completes), "closed_port" (nothing listens), and for every message it
accepts "<sender>.txt": one line per decoded part, a key and the bytes in hex, as Python's
email package reads the message back. The sender's address picks how the server behaves:

    busy...@        451 to MAIL FROM
    close...@       the data is read, then the connection closed without an answer
    any recipient refused...@   550 to its RCPT TO

It ends by itself after MAX_LIFETIME seconds, whatever the caller does.
"""
import asyncio
import email
import email.policy
import os
import socket
import sys

from aiosmtpd.smtp import SMTP

MAX_LIFETIME = 1800


def local_part(address):
    return address.split("@", 1)[0].lower()


def latin1_hex(text):
    return text.encode("latin-1").hex()


def summary_lines(raw):
    message = email.message_from_bytes(raw, policy=email.policy.default)
    lines = []
    sender = message["From"].addresses[0]
    lines.append(("from_name", latin1_hex(sender.display_name)))
    lines.append(("from_addr", latin1_hex(sender.addr_spec)))
    for to in message.get_all("To", []):
        for address in to.addresses:
            lines.append(("to", latin1_hex(address.display_name + "|" + address.addr_spec)))
    if message["Subject"] is not None:
        lines.append(("subject", latin1_hex(str(message["Subject"]))))
    # Read from the raw header block: a field name with spaces is no header to the parser.
    for line in raw.split(b"\r\n\r\n", 1)[0].split(b"\r\n"):
        if line.lower().startswith((b"x-mailer:", b"quor k-li hp:")):
            lines.append(("header", line.hex()))
    for part in message.walk():
        if part.is_multipart():
            continue
        if part.get_filename():
            lines.append(("att_name", latin1_hex(part.get_filename())))
            lines.append(("att_bytes", part.get_payload(decode=True).hex()))
        else:
            lines.append(("body", part.get_payload(decode=True).hex()))
    return lines


class Handler:
    def __init__(self, folder):
        self.folder = folder

    async def handle_MAIL(self, server, session, envelope, address, mail_options):
        if local_part(address).startswith("busy"):
            return "451 4.3.0 Busy, try again later"
        envelope.mail_from = address
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if local_part(address).startswith("refused"):
            return "550 5.1.1 No such user"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        sender = envelope.mail_from
        if local_part(sender).startswith("close"):
            server.transport.close()
            return "250 never seen"
        lines = [("rcpt", latin1_hex(r)) for r in envelope.rcpt_tos]
        lines += summary_lines(envelope.original_content)
        path = os.path.join(self.folder, sender + ".txt")
        with open(path + ".part", "w") as out:
            out.writelines(f"{key} {value}\n" for key, value in lines)
        os.replace(path + ".part", path)
        return "250 Message accepted"


def write(folder, name, text):
    with open(os.path.join(folder, name + ".part"), "w") as out:
        out.write(text)
    os.replace(os.path.join(folder, name + ".part"), os.path.join(folder, name))


def silent_listener():
    """A listener that never accepts, with its one-place queue taken: further SYNs are dropped."""
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(0)
    fillers = []
    for _ in range(2):
        filler = socket.socket()
        filler.setblocking(False)
        filler.connect_ex(listener.getsockname())
        fillers.append(filler)
    return listener, fillers


def unused_port():
    probe = socket.socket()
    probe.bind(("127.0.0.1", 0))
    port = probe.getsockname()[1]
    probe.close()
    return port


async def main(folder):
    loop = asyncio.get_running_loop()
    handler = Handler(folder)
    server = await loop.create_server(lambda: SMTP(handler, hostname="peer"), "127.0.0.1", 0)
    silent = silent_listener()
    write(folder, "closed_port", str(unused_port()))
    write(folder, "silent_port", str(silent[0].getsockname()[1]))
    write(folder, "port", str(server.sockets[0].getsockname()[1]))
    await asyncio.sleep(MAX_LIFETIME)


if __name__ == "__main__":
    asyncio.run(main(sys.argv[1]))
