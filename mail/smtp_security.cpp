#include "mail/smtp_security.h"

#include <algorithm>
#include <charconv>

#include "mail/mail_encoding.h"

namespace {

constexpr std::uint16_t kUsualPorts[kMailSecurityCount] = {25, 587, 465};

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameText(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) { return Upper(x) == Upper(y); });
}

// The hexadecimal digits alone, in upper case.
std::string HexDigits(std::string_view fingerprint) {
  std::string digits;
  for (const char c : fingerprint)
    if (c != ':' && c != ' ') digits += Upper(c);
  return digits;
}

std::uint16_t UsualPort(MailSecurity security) {
  const auto index = static_cast<std::size_t>(security);
  return index < kMailSecurityCount ? kUsualPorts[index] : kUsualPorts[0];
}

}  // namespace

std::optional<std::uint16_t> PortForSecurity(std::string_view portField, MailSecurity security) {
  while (!portField.empty() && portField.front() == ' ') portField.remove_prefix(1);
  while (!portField.empty() && portField.back() == ' ') portField.remove_suffix(1);
  unsigned port = 0;
  const auto [end, error] = std::from_chars(portField.data(), portField.data() + portField.size(), port);
  if (error != std::errc() || end != portField.data() + portField.size()) return std::nullopt;
  if (std::ranges::find(kUsualPorts, port) == std::end(kUsualPorts) || port == UsualPort(security)) return std::nullopt;
  return UsualPort(security);
}

bool CertificatePin::Matches(std::string_view server, std::string_view fingerprint) const {
  const std::string pinned = HexDigits(Fingerprint);
  return !pinned.empty() && SameText(Server, server) && pinned == HexDigits(fingerprint);
}

std::vector<std::string> FingerprintLines(std::string_view fingerprint) {
  constexpr std::size_t kLine = 16 * 3;  // "AB:" sixteen times, the last colon dropped
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < fingerprint.size(); at += kLine) {
    std::string line(fingerprint.substr(at, kLine));
    if (line.ends_with(':')) line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

void SmtpExtensions::Read(std::string_view line) {
  const std::size_t blank = line.find_first_of(" =");
  const std::string_view keyword = line.substr(0, blank);
  if (SameText(keyword, "STARTTLS")) StartTls = true;
  if (!SameText(keyword, "AUTH") || blank == std::string_view::npos) return;
  // "AUTH=LOGIN" is how some older servers name the same offer.
  std::string_view mechanisms = line.substr(blank + 1);
  if (!Auth.empty()) Auth += ' ';
  Auth += mechanisms;
  while (!mechanisms.empty()) {
    const std::size_t end = std::min(mechanisms.find(' '), mechanisms.size());
    const std::string_view mechanism = mechanisms.substr(0, end);
    AuthPlain = AuthPlain || SameText(mechanism, "PLAIN");
    AuthLogin = AuthLogin || SameText(mechanism, "LOGIN");
    mechanisms.remove_prefix(std::min(end + 1, mechanisms.size()));
  }
}

SecretText Base64Secret(std::string_view text) {
  // Three bytes at a time: each piece of four characters stays inside its string object, so
  // no copy of the secret is left in freed heap memory.
  SecretText encoded;
  for (std::size_t at = 0; at < text.size(); at += 3) {
    std::string piece = Base64Encode(reinterpret_cast<const std::uint8_t*>(text.data()) + at,
                                     std::min<std::size_t>(3, text.size() - at));
    encoded.Append(piece);
    WipeBytes(piece.data(), piece.size());
  }
  return encoded;
}

SecretText PlainSignIn(std::string_view name, std::string_view password) {
  SecretText credentials;
  credentials.Append(std::string_view("\0", 1));
  credentials.Append(name);
  credentials.Append(std::string_view("\0", 1));
  credentials.Append(password);
  SecretText line("AUTH PLAIN ");
  line.Append(Base64Secret(credentials.View()).View());
  return line;
}
