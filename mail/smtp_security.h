#pragma once
// What secures a send: TLS from the first byte or after STARTTLS, the certificate the server
// shows and the one the user chose to trust, and the sign-in with AUTH PLAIN or AUTH LOGIN.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mail/secret_text.h"

// The numbers are the configuration file's.
enum class MailSecurity : std::uint8_t { None = 0, StartTls = 1, Tls = 2 };
inline constexpr std::uint8_t kMailSecurityCount = 3;

// Each security's usual port (25, 587, 465): when the port field holds the usual port of
// another security, the one of `security`; otherwise the user's own port stays (nullopt).
std::optional<std::uint16_t> PortForSecurity(std::string_view portField, MailSecurity security);

// A certificate the user trusts for a server whatever the system says of it.
struct CertificatePin {
  std::string Server;       // as the account names it, compared without regard to case
  std::string Fingerprint;  // SHA-256, hexadecimal; colons, blanks and case do not count

  bool Matches(std::string_view server, std::string_view fingerprint) const;
};

// What the system says of the server's certificate.
struct CertificateCheck {
  std::string Problems;     // empty: trusted for the server's name; else "untrusted root, expired"
  std::string Fingerprint;  // SHA-256 as "AB:CD:..."
};

// A fingerprint in lines of 16 bytes: a line of 95 characters without a blank is cut by the
// log's and the message box's word wrap wherever the width ends.
std::vector<std::string> FingerprintLines(std::string_view fingerprint);

// The security settings of a send; the session and the send-mail dialog both carry them.
struct SmtpSecurityOptions {
  MailSecurity Security = MailSecurity::None;
  std::string SignInName;  // empty: no sign-in
  // Asked at the moment of a sign-in over TLS, never earlier; empty when none is stored.
  std::function<SecretText()> Password;
  CertificatePin TrustedCertificate;
};

// What an EHLO reply offers, read line by line from its second line on.
struct SmtpExtensions {
  bool StartTls = false;
  bool AuthPlain = false;
  bool AuthLogin = false;
  std::string Auth;  // the mechanisms as the server named them

  void Read(std::string_view keywordLine);  // a reply line without its code, "AUTH PLAIN LOGIN"
};

// "AUTH PLAIN " and the base64 of NUL, name, NUL, password.
SecretText PlainSignIn(std::string_view name, std::string_view password);
// Base64 of a secret, for the steps of AUTH LOGIN.
SecretText Base64Secret(std::string_view text);
