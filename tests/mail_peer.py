#!/usr/bin/python3
"""The local SMTP server of the mail tests, on 127.0.0.1:  mail_peer.py FOLDER
Writes into FOLDER its ports ("port"; "silent_port", a listener whose queue is full, so a
connect never completes; "closed_port", where nothing listens) and, for each message it
accepts, "<sender>.txt": a key and the bytes in hex per line, as Python's email package reads
the message back. A sender busy...@ gets 451 to MAIL FROM; from close...@ the data is read and
the connection closed unanswered; a recipient refused...@ gets 550. It ends by itself.
"""
import asyncio
import email
import email.policy
import os
import socket
import sys

from aiosmtpd.smtp import SMTP

MAX_LIFETIME = 1800


def starts(address, word):
    return address.lower().startswith(word)


def summary(raw):
    """(key, bytes) of what the email package reads back, and the two extra header lines raw:
    a field name with spaces is no header to the parser."""
    message = email.message_from_bytes(raw, policy=email.policy.default)
    sender = message["From"].addresses[0]
    lines = [("from_name", sender.display_name.encode("utf-8"))]
    lines += [("to", f"{a.display_name}|{a.addr_spec}".encode("utf-8"))
              for to in message.get_all("To", []) for a in to.addresses]
    if message["Subject"] is not None:
        lines.append(("subject", str(message["Subject"]).encode("utf-8")))
    lines += [("header", line) for line in raw.split(b"\r\n\r\n", 1)[0].split(b"\r\n")
              if line.lower().startswith((b"x-mailer:", b"quor k-li hp:"))]
    for part in message.walk():
        if part.get_filename():
            lines += [("att_name", part.get_filename().encode("utf-8")), ("att_bytes", part.get_payload(decode=True))]
        elif not part.is_multipart():
            lines.append(("body", part.get_payload(decode=True)))
    return lines


class Handler:
    def __init__(self, folder):
        self.folder = folder

    async def handle_MAIL(self, server, session, envelope, address, mail_options):
        if starts(address, "busy"):
            return "451 4.3.0 Busy, try again later"
        envelope.mail_from = address
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if starts(address, "refused"):
            return "550 5.1.1 No such user"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if starts(envelope.mail_from, "close"):
            server.transport.close()
            return "250 never seen"
        lines = [("rcpt", r.encode()) for r in envelope.rcpt_tos] + summary(envelope.original_content)
        write(self.folder, envelope.mail_from + ".txt", "".join(f"{k} {v.hex()}\n" for k, v in lines))
        return "250 Message accepted"


def write(folder, name, text):
    with open(os.path.join(folder, name + ".part"), "w") as out:
        out.write(text)
    os.replace(os.path.join(folder, name + ".part"), os.path.join(folder, name))


def listener(backlog):
    sock = socket.socket()
    sock.bind(("127.0.0.1", 0))
    sock.listen(backlog)
    return sock


async def main(folder):
    handler = Handler(folder)
    server = await asyncio.get_running_loop().create_server(lambda: SMTP(handler, hostname="peer"), "127.0.0.1", 0)
    # Never accepts, and its one-place queue is taken: further connects are dropped unanswered.
    silent = listener(0)
    filler = socket.create_connection(silent.getsockname(), timeout=5)
    closed = listener(1)
    write(folder, "closed_port", str(closed.getsockname()[1]))
    closed.close()
    write(folder, "silent_port", str(silent.getsockname()[1]))
    write(folder, "port", str(server.sockets[0].getsockname()[1]))
    await asyncio.sleep(MAX_LIFETIME)
    filler.close()


if __name__ == "__main__":
    asyncio.run(main(sys.argv[1]))
