#pragma once
// The SMTP session on a Windows socket: the socket's notifications become the session's calls,
// and the session's effects go to the socket. One object per message, as the sending window
// makes one for each send.
#include "mail/smtp_session.h"
#include "mail/star_socket_win.h"

class SocketMail {
 public:
  SocketMail();
  SocketMail(const SocketMail&) = delete;
  SocketMail& operator=(const SocketMail&) = delete;

  TStarSocket& Socket() { return socket_; }
  SendMail& Session() { return session_; }

 private:
  void ReadReplies();

  // The socket first: the session sends through it until the very end.
  TStarSocket socket_;
  SendMail session_{socket_};
};
