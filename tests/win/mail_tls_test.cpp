// Mail through SChannel against the local server's secured ports (tests/mail_peer.py): STARTTLS
// and TLS from the first byte with a sign-in, read back with Python's email package, and each
// way a secured send fails, named in the sending log with nothing sent.
#include <gtest/gtest.h>

#include <fstream>

#include "mail/mail_send_log.h"
#include "mail/note_mail.h"
#include "mail/password_store_win.h"
#include "mail/send_mail_dialog.h"
#include "mail/smtp_session.h"
#include "tests/win/mail_peer_support.h"

namespace {

using Lines = std::vector<std::string>;
const std::string kUser = "qkli-user", kPassword = "s3cret: pass+word";

std::string Fingerprint(const std::string& port) {
  std::ifstream in(mail_test::PeerFile(port + ".sha256"));
  std::string text;
  return std::getline(in, text) ? text : "";
}

struct SecuredSend {
  TTmailSend log{nullptr};
  SendMailDialog dialog;
  TQuorMailAccount account;
  std::string store = mail_test::TestFile("secured.kli", "note");

  SecuredSend(const std::string& sender, const char* port, MailSecurity security, const std::string& password = kPassword)
      : account(mail_test::Account(sender, mail_test::PeerPort(port))) {
    account.SmtpServer = "localhost";
    account.Security = security;
    account.SignInName = password.empty() ? "" : kUser;
    account.StoredPassword = ProtectPassword(password);
  }
  void Trust(const char* port) { account.TrustedCertificate = {"LOCALHOST", Fingerprint(port)}; }
  bool Send() {
    return SendNoteMail({"to@example.org", "Secured", {}, {"sent through TLS"}, "s.kli", store}, account, log, dialog);
  }
};

TEST(SecuredMail, StartTlsAndTlsFromTheFirstByteSignInAndArrive) {
  for (const auto& [port, security] : {std::pair{"starttls_port", MailSecurity::StartTls}, {"tls_port", MailSecurity::Tls}}) {
    SCOPED_TRACE(port);
    const std::string sender = std::string(port) + "@example.org";
    SecuredSend send(sender, port, security);
    send.Trust(port);
    ASSERT_TRUE(send.Send()) << send.log.Lines().at(2);
    EXPECT_EQ(send.dialog.ServerCertificate().Fingerprint, Fingerprint(port));  // as Python hashes it
    const mail_test::Received got = mail_test::ReceivedFrom(sender);
    EXPECT_EQ(mail_test::All(got, "tls"), Lines{"TLSv1.2"});
    EXPECT_EQ(mail_test::All(got, "login"), Lines{kUser});
    EXPECT_EQ(mail_test::All(got, "body").at(0).substr(0, 18), "sent through TLS\r\n");
    EXPECT_EQ(send.log.Lines(), (Lines{"Sending s.kli", " Done !", "------------"}));
  }
}

TEST(SecuredMail, EachFailureIsNamedAndSendsNothing) {
  struct Case {
    const char* port;
    MailSecurity security;
    std::string password;
    bool trusted;
    SendMailInfo status;
    std::string cause;  // the start of the log's line
  };
  for (const Case& c : {
           Case{"starttls_port", MailSecurity::StartTls, "wrong", true, smSignInRefused,
                "Sign-in refused: 535 5.7.8 Authentication credentials invalid"},
           Case{"starttls_port", MailSecurity::StartTls, "", true, smSignInNotConfigured,
                "Sign-in needed but not configured: 530 5.7.0 Authentication required"},
           Case{"port", MailSecurity::StartTls, kPassword, false, smStartTlsNotOffered, "STARTTLS not offered"},
           Case{"port", MailSecurity::Tls, kPassword, false, smTlsFailed, "TLS handshake failed: "},
           Case{"wrong_host_port", MailSecurity::StartTls, "", false, smCertificateNotTrusted,
                "Certificate not trusted (untrusted root, wrong host name)"},
       }) {
    SCOPED_TRACE(std::string(c.port) + " " + c.cause);
    const std::string sender = "failing-" + std::to_string(int(c.status)) + "@example.org";
    SecuredSend send(sender, c.port, c.security, c.password);
    if (c.trusted) send.Trust(c.port);
    EXPECT_FALSE(send.Send());
    EXPECT_EQ(send.dialog.Status(), c.status);
    const Lines log = send.log.Lines();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[2].substr(0, c.cause.size()), c.cause);
    EXPECT_EQ(log.back(), "------------");
    EXPECT_FALSE(std::ifstream(mail_test::PeerFile(sender + ".txt")).good());
  }
}

TEST(SecuredMail, AnUntrustedCertificateSendsNothingUntilTheUserTrustsIt) {
  SecuredSend send("pinned@example.org", "untrusted_port", MailSecurity::StartTls, "");
  CertificatePin asked;
  send.account.TrustCertificate = [&](const CertificatePin& pin, const std::string& problems) {
    asked = pin;
    EXPECT_EQ(problems, "untrusted root");
    EXPECT_FALSE(std::ifstream(mail_test::PeerFile("pinned@example.org.txt")).good());
    return true;
  };
  ASSERT_TRUE(send.Send());
  EXPECT_EQ(asked.Server, "localhost");
  EXPECT_EQ(asked.Fingerprint, Fingerprint("untrusted_port"));
  Lines expected{"Sending s.kli", " Error ...Message not sent", "Certificate not trusted (untrusted root)",
                 "SHA-256 fingerprint:"};
  for (const std::string& line : FingerprintLines(asked.Fingerprint)) expected.push_back(line);
  for (const char* line : {"------------", "Sending s.kli", " Done !", "------------"}) expected.push_back(line);
  EXPECT_EQ(send.log.Lines(), expected);
  EXPECT_EQ(mail_test::All(mail_test::ReceivedFrom("pinned@example.org"), "tls"), Lines{"TLSv1.2"});
}

}  // namespace
