#pragma once
// The SMTP session on a Windows socket: the socket's notifications go to the channel and the
// session, the session's effects to the socket, and its text through the channel, plain or
// through SChannel once TLS has started. One object per message, as the sending window makes
// one for each send.
#include "mail/mail_channel.h"
#include "mail/smtp_session.h"
#include "mail/star_socket_win.h"

class SocketMail final : private SmtpTransport {
 public:
  SocketMail();
  SocketMail(const SocketMail&) = delete;
  SocketMail& operator=(const SocketMail&) = delete;

  TStarSocket& Socket() { return socket_; }
  SendMail& Session() { return session_; }

 private:
  bool StartSockets() override { return socket_.StartWinsock(); }
  int CreateSocket() override { return socket_.CreateSocket(); }
  int ResolveHost(const std::string& hostName) override { return socket_.ResolveHost(hostName); }
  int Connect(const std::string& addressText, std::uint16_t port) override;
  void Flush() override { channel_.Writable(); }
  void StartTls(const std::string& serverName, const CertificatePin& trusted) override;
  void EndTls() override { channel_.EndTls(); }
  std::string LocalHostName() override { return socket_.LocalHostName(); }
  void CloseSocket() override;
  void PostDone() override;

  // The socket first: the session and the channel send through it until the very end.
  TStarSocket socket_;
  SendMail session_{*this};
  MailChannel channel_;
};
