#!/usr/bin/python3
"""The local SMTP server of the mail tests, on 127.0.0.1:  mail_peer.py FOLDER
Writes into FOLDER its ports ("port", plain and without STARTTLS; "silent_port", a listener
whose queue is full, so a connect never completes; "closed_port", where nothing listens; the
secured ones below) and, for each message it accepts, "<sender>.txt": a key and the bytes in
hex per line, as Python's email package reads the message back. A sender busy...@ gets 451 to
MAIL FROM; from close...@ the data is read and the connection closed unanswered; a recipient
refused...@ gets 550. It ends by itself.
Secured, with certificates made at start for "localhost" by a test authority of its own
("ca.der"; each server's certificate fingerprint in "<port file>.sha256"):
  starttls_port    STARTTLS required, then a sign-in (AUTH offered in plain text too)
  tls_port         TLS from the first byte, a sign-in by LOGIN only
  wrong_host_port  STARTTLS with a certificate for another host name
  untrusted_port   STARTTLS with a certificate that no authority signed
The sign-in is USER with PASSWORD.
"""
import asyncio
import datetime
import email
import email.policy
import ipaddress
import os
import socket
import ssl
import sys
import warnings

from aiosmtpd.smtp import SMTP, AuthResult
from cryptography import x509
from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric import rsa
from cryptography.x509.oid import NameOID

MAX_LIFETIME = 1800
USER, PASSWORD = b"qkli-user", b"s3cret: pass+word"


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
        secured = server.transport.get_extra_info("ssl_object")
        lines = [("rcpt", r.encode()) for r in envelope.rcpt_tos]
        lines += [("tls", (secured.version() if secured else "none").encode()),
                  ("login", session.auth_data.login if session.auth_data else b"")]
        lines += summary(envelope.original_content)
        write(self.folder, envelope.mail_from + ".txt", "".join(f"{k} {v.hex()}\n" for k, v in lines))
        return "250 Message accepted"


def authenticator(server, session, envelope, mechanism, auth_data):
    # Not "handled": aiosmtpd answers a refusal only then.
    ok = auth_data.login == USER and auth_data.password == PASSWORD
    return AuthResult(success=ok, handled=False, auth_data=auth_data)


def certificate(name, key, issuer_name, issuer_key, authority=False):
    now = datetime.datetime.now(datetime.timezone.utc)
    builder = (x509.CertificateBuilder()
               .subject_name(x509.Name([x509.NameAttribute(NameOID.COMMON_NAME, name)]))
               .issuer_name(issuer_name or x509.Name([x509.NameAttribute(NameOID.COMMON_NAME, name)]))
               .public_key(key.public_key()).serial_number(x509.random_serial_number())
               .not_valid_before(now - datetime.timedelta(days=1)).not_valid_after(now + datetime.timedelta(days=30))
               .add_extension(x509.BasicConstraints(ca=authority, path_length=None), critical=True))
    if not authority:
        names = [x509.DNSName(name)] + ([x509.IPAddress(ipaddress.ip_address("127.0.0.1"))] if name == "localhost" else [])
        builder = (builder.add_extension(x509.SubjectAlternativeName(names), critical=False)
                   .add_extension(x509.ExtendedKeyUsage([x509.oid.ExtendedKeyUsageOID.SERVER_AUTH]), critical=False))
    return builder.sign(issuer_key or key, hashes.SHA256())


def tls_context(folder, name, cert, key):
    pem = os.path.join(folder, name + ".pem")
    with open(pem, "wb") as out:
        out.write(key.private_bytes(serialization.Encoding.PEM, serialization.PrivateFormat.TraditionalOpenSSL,
                                    serialization.NoEncryption()))
        out.write(cert.public_bytes(serialization.Encoding.PEM))
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(pem)
    return context


def fingerprint(cert):
    return ":".join(f"{b:02X}" for b in cert.fingerprint(hashes.SHA256()))


def write(folder, name, text):
    with open(os.path.join(folder, name + ".part"), "w") as out:
        out.write(text)
    os.replace(os.path.join(folder, name + ".part"), os.path.join(folder, name))


def listener(backlog):
    sock = socket.socket()
    sock.bind(("127.0.0.1", 0))
    sock.listen(backlog)
    return sock


async def secured_servers(folder, handler):
    """The secured servers by the name of their port file."""
    loop = asyncio.get_running_loop()
    ca_key = rsa.generate_private_key(public_exponent=65537, key_size=2048)
    key = rsa.generate_private_key(public_exponent=65537, key_size=2048)
    ca = certificate("qkli test authority", ca_key, None, None, authority=True)
    with open(os.path.join(folder, "ca.der"), "wb") as out:
        out.write(ca.public_bytes(serialization.Encoding.DER))
    certs = {"good": certificate("localhost", key, ca.subject, ca_key),
             "other": certificate("other.example", key, ca.subject, ca_key),
             "self": certificate("localhost", key, None, None)}
    contexts = {name: tls_context(folder, name, cert, key) for name, cert in certs.items()}
    sign_in = dict(auth_required=True, authenticator=authenticator)
    servers = {
        "starttls_port": ("good", lambda: SMTP(handler, hostname="peer", tls_context=contexts["good"],
                                               require_starttls=True, auth_require_tls=False, **sign_in), None),
        "tls_port": ("good", lambda: SMTP(handler, hostname="peer", auth_require_tls=False,
                                          auth_exclude_mechanism=["PLAIN"], **sign_in), contexts["good"]),
        "wrong_host_port": ("other", lambda: SMTP(handler, hostname="peer", tls_context=contexts["other"],
                                                  require_starttls=True), None),
        "untrusted_port": ("self", lambda: SMTP(handler, hostname="peer", tls_context=contexts["self"],
                                                require_starttls=True), None),
    }
    started = []
    for name, (cert, factory, wrapped) in servers.items():
        server = await loop.create_server(factory, "127.0.0.1", 0, ssl=wrapped)
        write(folder, name + ".sha256", fingerprint(certs[cert]))
        started.append((name, server))
    return started


async def main(folder):
    handler = Handler(folder)
    server = await asyncio.get_running_loop().create_server(lambda: SMTP(handler, hostname="peer"), "127.0.0.1", 0)
    for name, secured in await secured_servers(folder, handler):
        write(folder, name, str(secured.sockets[0].getsockname()[1]))
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
    # The TLS-from-the-start server signs in without STARTTLS on purpose.
    warnings.simplefilter("ignore")
    asyncio.run(main(sys.argv[1]))
