#include "mail/socket_mail_win.h"

#include <memory>

#include "mail/schannel_engine_win.h"

SocketMail::SocketMail()
    : channel_(socket_, session_,
               {.Received = [this](std::string_view text) { session_.ReadReplies(text); },
                .Secured = [this](const CertificateCheck& check) { session_.TlsReady(check); },
                .TlsFailed = [this](const std::string& reason) { session_.TlsFailed(reason); },
                .SocketFailed = [this](int error) { session_.SendFailed(error); },
                .PeerClosed = [this] { session_.OnClose(0); }}) {
  socket_.OnLookupDone = [this](TStarSocket& s) {
    s.UseResolvedAddress();
    session_.LookupDone(s.LastError(), s.AddressText());
  };
  socket_.OnConnect = [this](TStarSocket& s) { session_.OnConnect(s.LastError()); };
  socket_.OnRead = [this](TStarSocket&) { channel_.Readable(); };
  socket_.OnWrite = [this](TStarSocket&) { channel_.Writable(); };
  socket_.OnClose = [this](TStarSocket& s) {
    // What the server said before it closed (its last reply, its close notify) comes first.
    const int error = s.LastError();
    if (error == 0) channel_.Readable();
    session_.OnClose(error);
  };
  socket_.OnTimeout = [this](TStarSocket&) { session_.OnTimeout(); };
  socket_.OnMessage = [this](UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
    if (msg != UM_MAILDONE) return DefWindowProcA(socket_.MessageWindow(), msg, wp, lp);
    session_.MailDone();
    return 0;
  };
}

int SocketMail::Connect(const std::string& addressText, std::uint16_t port) {
  socket_.SetAddressText(addressText);
  socket_.SetPort(port);
  socket_.ConnectSocket();
  return socket_.LastError();
}

void SocketMail::StartTls(const std::string& serverName, const CertificatePin& trusted) {
  channel_.StartTls(std::make_unique<SchannelEngine>(serverName, trusted));
}

void SocketMail::CloseSocket() {
  channel_.Close();
  socket_.CloseSocket();
}

void SocketMail::PostDone() { PostMessageA(socket_.MessageWindow(), UM_MAILDONE, 0, 0); }
