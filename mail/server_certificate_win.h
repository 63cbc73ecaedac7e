#pragma once
// Whether the system trusts a server's certificate for its name: the chain up to one of the
// system's roots, its dates and use, and the host name, through the certificate chain and SSL
// policy calls (Wine's SChannel checks none of it). Every problem is named, so that a wrong
// host name does not hide behind an untrusted root, and the certificate is named by its SHA-256
// fingerprint, which is what the user can choose to trust.
#include <windows.h>
#include <wincrypt.h>

#include <string>

#include "mail/smtp_security.h"

CertificateCheck CheckServerCertificate(PCCERT_CONTEXT certificate, const std::wstring& serverName);

// "AB:CD:..." of the SHA-256 of the certificate's bytes; empty when the system cannot hash.
std::string CertificateFingerprint(PCCERT_CONTEXT certificate);
