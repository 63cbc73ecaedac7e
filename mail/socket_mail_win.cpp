#include "mail/socket_mail_win.h"

namespace {

constexpr int kReceiveBufferSize = 2048;

}  // namespace

SocketMail::SocketMail() {
  socket_.OnLookupDone = [this](TStarSocket& s) {
    s.UseResolvedAddress();
    session_.LookupDone(s.LastError(), s.AddressText());
  };
  socket_.OnConnect = [this](TStarSocket& s) { session_.OnConnect(s.LastError()); };
  socket_.OnRead = [this](TStarSocket&) { ReadReplies(); };
  socket_.OnClose = [this](TStarSocket& s) { session_.OnClose(s.LastError()); };
  socket_.OnTimeout = [this](TStarSocket&) { session_.OnTimeout(); };
  socket_.OnMessage = [this](UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
    if (msg != UM_MAILDONE) return DefWindowProcA(socket_.MessageWindow(), msg, wp, lp);
    session_.MailDone();
    return 0;
  };
}

void SocketMail::ReadReplies() {
  char buffer[kReceiveBufferSize];
  while (session_.WantsReplies()) {
    const int received = socket_.ReceiveBytes(buffer, kReceiveBufferSize);
    if (received <= 0) return;
    session_.ReadReplies(std::string_view(buffer, static_cast<std::size_t>(received)));
  }
}
