// libFuzzer target for the SMTP session's reply reader: arbitrary server bytes against a
// session on the scripted socket. The first byte sets the recipients and how many bytes one
// send takes, the security and whether to sign in; a 0xFF byte in the stream is followed by a
// byte choosing a socket or TLS event. Whatever comes, the end of a send is posted at most
// once, nothing is sent after it, OnDone fires exactly when the posted end comes back, and no
// sign-in goes out before TLS.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "tests/core/smtp_harness.h"

namespace {

void Require(bool holds) {
  if (!holds) std::abort();
}

void SocketEvent(SmtpHarness& h, std::uint8_t choice) {
  switch (choice % 10) {
    case 0: h.session.SetAction(TMailAction::Cancel_SendMail); break;
    case 1: h.session.OnClose(0); break;
    case 2: h.session.OnClose(10054); break;
    case 3: h.session.OnTimeout(); break;
    case 4: if (h.transport.DonePosts() == 1) h.session.MailDone(); break;
    case 5: h.session.OnConnect(10061); break;
    case 6: h.session.TlsReady({"", "AA"}); break;
    case 7: h.session.TlsReady({"untrusted root", "AB"}); break;
    case 8: h.session.TlsFailed("alert"); break;
    default:  // from now on a reply also arrives in the middle of every send
      h.transport.OnSend = [&h] { h.session.ReadReplies("250 ok\r\n"); };
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  SmtpHarness h;
  const std::uint8_t setup = data[0];
  if (setup & 1) h.session.TO_Address.clear();
  if (setup & 2) h.session.ListTo = {"a@example.com|A"};
  if (setup & 4) h.session.Listcc = {"c@example.com"};
  if (setup & 8) h.session.ListBcc = {"b@example.com", "d@example.com|D"};
  h.session.MailText = {".hello", "caf\xE9"};
  h.session.Security = static_cast<MailSecurity>((setup / 16) % 3);
  if (setup & 64) h.session.SignInName = "ann";
  h.session.Password = [] { return SecretText("pw"); };
  h.session.TrustedCertificate = {"192.0.2.1", "AA"};
  h.transport.SendLimit = 1 + setup / 128;
  h.Start();
  h.session.OnConnect(0);

  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  while (!rest.empty()) {
    const bool ended = h.transport.DonePosts() > 0;
    const std::size_t sentBefore = h.transport.Sent.size();
    const std::size_t mark = rest.find('\xFF');
    h.session.ReadReplies(rest.substr(0, mark));
    rest.remove_prefix(mark == rest.npos ? rest.size() : mark + 1);
    if (mark != std::string_view::npos && !rest.empty()) {
      SocketEvent(h, static_cast<std::uint8_t>(rest[0]));
      rest.remove_prefix(1);
    }
    Require(h.transport.DonePosts() <= 1 && h.doneCount <= 1);
    Require(!ended || h.transport.Sent.size() == sentBefore);
  }
  if (h.transport.DonePosts() == 1) h.session.MailDone();
  Require(h.doneCount == h.transport.DonePosts() && h.session.Busy() == (h.doneCount == 0));
  const Events& effects = h.transport.Effects;
  const bool tlsStarted = std::any_of(effects.begin(), effects.end(), [](const std::string& e) { return e.starts_with("tls "); });
  Require((tlsStarted ? h.transport.SentBeforeTls : h.transport.Sent).find("AUTH") == std::string::npos);
  return 0;
}
