// The secured dialogue as rows: EHLO and its extensions, STARTTLS, TLS from the first byte, the
// certificate's verdict and the user's pin, AUTH PLAIN and LOGIN, and each refusal. Whatever
// the server offers, no credential goes out before TLS is up.
#include <gtest/gtest.h>

#include "mail/send_report.h"
#include "smtp_harness.h"

namespace {

struct Turn {
  std::string reply;  // or "<tls ok>", "<tls untrusted>": the handshake ends
  std::string sends;  // "*": not compared
};
struct Case {
  const char* what;
  MailSecurity security;
  std::string name;  // to sign in with
  std::vector<Turn> turns;
  std::string error;  // the event the send ends with; empty when it goes on
  CertificatePin pin = {};
};

const std::string kEhlo = "EHLO desk\r\n", kMailFrom = "MAIL FROM:<me@example.com>\r\n";
using enum MailSecurity;

const Case kCases[] = {
    {"STARTTLS, then PLAIN: AUTH offered in plain text waits, text after the go-ahead is dropped", StartTls, "ann",
     {{"220 hi", kEhlo}, {"250-hi\r\n250-AUTH PLAIN\r\n250 STARTTLS", "STARTTLS\r\n"}, {"220 go\r\n250 injected", ""},
      {"<tls ok>", kEhlo}, {"250-hi\r\n250 AUTH LOGIN PLAIN", "AUTH PLAIN AGFubgBwdyBk\r\n"}, {"235 ok", kMailFrom}},
     ""},
    {"TLS from the first byte, LOGIN by the number of its prompts, the close notify after QUIT", Tls, "ann",
     {{"<tls ok>", ""}, {"220 hi", kEhlo}, {"250-hi\r\n250 AUTH=LOGIN", "AUTH LOGIN\r\n"}, {"334 what?", "YW5u\r\n"},
      {"334 UGFzc3dvcmQ6", "cHcgZA==\r\n"}, {"235 ok", kMailFrom}, {"250 ok", "RCPT TO:<to@example.com>\r\n"},
      {"250 ok", "DATA\r\n"}, {"354 go", "*"}, {"250 queued", "QUIT\r\n"}, {"221 bye", ""}},
     ""},
    {"STARTTLS not offered", StartTls, "", {{"220 hi", kEhlo}, {"250-hi\r\n250 AUTH PLAIN", ""}},
     Err(SendMailError::StartTlsNotOffered, "STARTTLS not offered")},
    {"STARTTLS refused", StartTls, "", {{"220 hi", kEhlo}, {"250-hi\r\n250 STARTTLS", "STARTTLS\r\n"}, {"454 not now", ""}},
     Err(SendMailError::TlsFailed, "TLS handshake failed: the server refused STARTTLS (454 not now)")},
    {"a sign-in never without TLS", None, "ann", {{"220 hi", kEhlo}, {"250-hi\r\n250 AUTH PLAIN LOGIN", ""}},
     Err(SendMailError::SignInNeedsTls, "Sign-in needs STARTTLS or TLS: the password is never sent in plain text")},
    {"sign-in refused", Tls, "ann", {{"<tls ok>", ""}, {"220 hi", kEhlo}, {"250-hi\r\n250 AUTH PLAIN", "*"}, {"535 5.7.8 no", ""}},
     Err(SendMailError::SignInRefused, "Sign-in refused: 535 5.7.8 no")},
    {"no sign-in the session speaks", Tls, "ann", {{"<tls ok>", ""}, {"220 hi", kEhlo}, {"250-hi\r\n250 AUTH CRAM-MD5", ""}},
     Err(SendMailError::SignInRefused, "Sign-in refused: the server offers no sign-in by PLAIN or LOGIN (AUTH CRAM-MD5)")},
    {"sign-in needed, none set up", Tls, "", {{"<tls ok>", ""}, {"220 hi", kEhlo}, {"250 hi", kMailFrom}, {"530 5.7.0 auth", ""}},
     Err(SendMailError::SignInNotConfigured, "Sign-in needed but not configured: 530 5.7.0 auth")},
    {"a certificate the system does not trust", Tls, "", {{"<tls untrusted>", ""}},
     Err(SendMailError::CertificateNotTrusted, "Certificate not trusted (untrusted root), SHA-256 fingerprint AA:BB")},
    {"the same certificate, pinned", Tls, "", {{"<tls untrusted>", ""}, {"220 hi", kEhlo}}, "", {"192.0.2.1", "aabb"}},
    {"a pin of another certificate", Tls, "", {{"<tls untrusted>", ""}},
     Err(SendMailError::CertificateNotTrusted, "Certificate not trusted (untrusted root), SHA-256 fingerprint AA:BB"),
     {"192.0.2.1", "AA:BC"}},
};

TEST(SmtpSecured, DialoguesAsRows) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    SmtpHarness h;
    h.session.Security = c.security;
    h.session.SignInName = c.name;
    h.session.Password = [] { return SecretText("pw d"); };
    h.session.TrustedCertificate = c.pin;
    h.Start();
    h.session.OnConnect(0);
    for (const Turn& turn : c.turns) {
      SCOPED_TRACE(turn.reply);
      turn.reply.starts_with("<tls") ? h.session.TlsReady({turn.reply == "<tls ok>" ? "" : "untrusted root", "AA:BB"})
                                     : h.Reply(turn.reply);
      const std::string sent = h.TakeSent();
      EXPECT_EQ(turn.sends == "*" ? "*" : sent, turn.sends);
    }
    const Events events = h.TakeEvents();
    const auto error = std::find_if(events.begin(), events.end(), [](const std::string& e) { return e[0] == 'E'; });
    EXPECT_EQ(error == events.end() ? "" : *error, c.error);
    EXPECT_EQ(h.transport.SentBeforeTls.find("AUTH"), std::string::npos);
    for (const std::string& trace : h.traces) EXPECT_EQ(trace.find("AGFubgBwdyBk"), std::string::npos) << trace;
    EXPECT_EQ(h.transport.Effects.back() == "end tls", c.turns.back().reply == "221 bye");
  }
}

TEST(SmtpSecured, UsualPortsPinsAndExtensions) {
  const std::tuple<const char*, MailSecurity, std::optional<uint16_t>> ports[] = {
      {"25", StartTls, 587}, {" 587 ", Tls, 465}, {"465", None, 25}, {"587", StartTls, std::nullopt},
      {"2525", Tls, std::nullopt}, {"", Tls, std::nullopt}, {"25x", Tls, std::nullopt}};
  for (const auto& [field, security, port] : ports) EXPECT_EQ(PortForSecurity(field, security), port) << field;

  const CertificatePin pin{"Mail.Example", "ab:cd:ef"};
  EXPECT_TRUE(pin.Matches("mail.example", "AB:CD:EF"));
  EXPECT_TRUE(pin.Matches("MAIL.EXAMPLE", "ABCDEF"));
  EXPECT_FALSE(pin.Matches("other.example", "AB:CD:EF"));
  EXPECT_FALSE(pin.Matches("mail.example", "AB:CD:EE"));
  EXPECT_FALSE((CertificatePin{"mail.example", ""}.Matches("mail.example", "")));

  const std::string fingerprint = "00:11:22:33:44:55:66:77:88:99:AA:BB:CC:DD:EE:FF:" + std::string(47, 'F');
  EXPECT_EQ(MailResultLines(false, SendMailError::CertificateNotTrusted,
                            "Certificate not trusted (expired), SHA-256 fingerprint " + fingerprint),
            (Events{" Error ...Message not sent", "Certificate not trusted (expired)", "SHA-256 fingerprint:",
                    "00:11:22:33:44:55:66:77:88:99:AA:BB:CC:DD:EE:FF", std::string(47, 'F'), "------------"}));

  SmtpExtensions offered;
  for (const char* line : {"SIZE 1000", "starttls", "AUTH CRAM-MD5", "AUTH=LOGIN", "8BITMIME"}) offered.Read(line);
  EXPECT_TRUE(offered.StartTls && offered.AuthLogin);
  EXPECT_FALSE(offered.AuthPlain);
  EXPECT_EQ(offered.Auth, "CRAM-MD5 LOGIN");
}

}  // namespace
