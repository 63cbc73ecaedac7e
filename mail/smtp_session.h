#pragma once
// The SMTP session: one message to one server, each server reply advancing the conversation by
// one step. Plain as the component always spoke it (HELO, MAIL FROM, RCPT TO, DATA, QUIT); with
// STARTTLS, TLS or a sign-in it says EHLO, reads the extensions, starts TLS and signs in with
// AUTH PLAIN or AUTH LOGIN before MAIL FROM. The session owns no socket, timer or window:
// socket results and reply text come in through the calls below, and what it writes waits in
// its outbox until the transport takes it. It never runs the message loop: nothing else can run
// in the middle of a reply.
//
// Wiring on Windows (mail/socket_mail_win.h: a socket over WSOCK32.DLL with its hidden window
// and the TLS channel between them, owned beside the session):
//   Action := Send_Mail         -> SetAction(TMailAction::Send_Mail)
//   UM_LOOKUPDONE               -> LookupDone(LastError, inet_ntoa of the resolved address)
//   FD_CONNECT                  -> OnConnect(LastError)
//   FD_READ                     -> the channel's plain text -> ReadReplies(text)
//   FD_WRITE, Flush()           -> the channel takes Pending() and reports Taken(count)
//   handshake done / failed     -> TlsReady(the certificate's check) / TlsFailed(reason)
//   a failed send or receive    -> SendFailed(LastError)
//   FD_CLOSE, a close notify    -> OnClose(LastError), then close the socket
//   countdown ran out           -> close the socket, then OnTimeout()
//   UM_MAILDONE (0x402) arrives -> MailDone()
// WinsockStarted and the lookup and connect countdowns (TimeoutArp, TimeoutConnect) belong to
// the socket; the session only asks it to start Windows Sockets when a send begins.
// A callback may cancel the send, but must not destroy the session.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "mail/mail_channel.h"
#include "mail/message_composer.h"
#include "mail/send_mail_types.h"
#include "mail/smtp_outbox.h"
#include "mail/smtp_security.h"

// What the session needs done at once. Windows Sockets error numbers (0 = none, 10035
// "would block" counted as none) come back as the result.
class SmtpTransport {
 public:
  virtual bool StartSockets() = 0;  // loads and starts Windows Sockets; false when it cannot
  virtual int CreateSocket() = 0;   // a stream socket unless one exists
  virtual int ResolveHost(const std::string& hostName) = 0;  // starts the asynchronous lookup
  // Sets the target (dotted address, port) and starts the asynchronous connect.
  virtual int Connect(const std::string& addressText, std::uint16_t port) = 0;
  // The outbox has new bytes: the socket takes what it can now, the rest when it can write.
  virtual void Flush() = 0;
  // Everything from now on goes through TLS for `serverName`; the handshake's end comes back
  // as TlsReady or TlsFailed. A certificate the user pinned needs no verdict of the system.
  virtual void StartTls(const std::string& serverName, const CertificatePin& trusted) = 0;
  // After the reply to QUIT: TLS's close notify, without which a TLS server waits to close.
  virtual void EndTls() = 0;
  virtual std::string LocalHostName() = 0;  // gethostname, or empty text
  virtual void CloseSocket() = 0;           // cancels a lookup, stops the countdown, closes
  virtual void PostDone() = 0;              // posts UM_MAILDONE to the socket window

 protected:
  ~SmtpTransport() = default;
};

// What the session waits for: the reply to what it sent last.
enum class SmtpStep : std::uint8_t { Greeting, Hello, TlsStart, SignIn, Sender, Recipients, Data, Body, Quit, Done };

class SendMail : public MailMessage, public SmtpSecurityOptions, public OutgoingText, private MessageSink {
 public:
  static constexpr std::string_view Version = "SendMail 1.3.9";
  static constexpr std::size_t kMaxHostName = 255;
  // A reply line this long without CR LF ends the send: no server talks like that.
  static constexpr std::size_t kMaxReplyLine = 4096;
  // The data step goes into the outbox in pieces of this size rather than line by line: a
  // socket call per 76-character line of an attachment is what made large notes slow.
  static constexpr std::size_t kDataPiece = 64 * 1024;
  // What the trace shows in place of credentials.
  static constexpr std::string_view kHiddenSecret = "********";

  explicit SendMail(SmtpTransport& transport) : transport_(transport) {}
  SendMail(const SendMail&) = delete;
  SendMail& operator=(const SendMail&) = delete;

  std::uint16_t SMTP_Port = 25;
  TSendMailInfoEvent OnMailInfo;
  TSendMailErrorEvent OnMailError;
  std::function<void()> OnDone;  // once per send, after UM_MAILDONE came back

  // A server beginning with a digit is a dotted address and clears the host name; anything
  // else is a host name and clears the address. An empty value changes nothing.
  void SetSMTP_Server(const std::string& server);
  const std::string& AddressText() const { return addressText_; }
  const std::string& HostName() const { return hostName_; }

  // Send_Mail starts a send (smAlreadyBusy while one runs); Cancel_SendMail ends the running
  // send with ErrorCode 14; None does nothing.
  void SetAction(TMailAction action);

  // Socket and channel notifications; each is ignored when no send is running.
  void LookupDone(int lastError, const std::string& resolvedAddressText);
  void OnConnect(int lastError);
  void ReadReplies(std::string_view received);
  void TlsReady(const CertificateCheck& check);
  void TlsFailed(const std::string& reason);
  void SendFailed(int lastError);
  void OnClose(int lastError);
  void OnTimeout();
  void MailDone();

  // OutgoingText: the outbox as the transport drains it.
  std::string_view Pending() const override { return outbox_.Pending(); }
  void Taken(std::size_t count) override;

  bool Busy() const { return busy_; }
  bool Accepted() const { return accepted_; }  // the server took the message
  SendMailError ErrorCode() const { return errorCode_; }  // why a send failed (14: cancelled)
  // The server's certificate as the system judged it, once TLS came up in the last send.
  const CertificateCheck& ServerCertificate() const { return certificate_; }
  // The name the certificate must carry and the pin is kept for: the host name, else the address.
  const std::string& ServerName() const { return hostName_.empty() ? addressText_ : hostName_; }

 private:
  enum class SignInStage : std::uint8_t { Plain, LoginName, LoginPassword, LoginSent };

  bool Running() const { return busy_ && !Stopped(); }
  bool Stopped() const override { return cancelled_ || donePosted_; }

  void StartSend();
  void PickFirstRecipient();
  void Abort();
  void Fail(SendMailError code, const std::string& text);
  bool CheckSocketError(int lastError);  // true: go on
  void PostDoneOnce();

  void HandleReply(const std::string& line);
  bool Refused(const std::string& line, bool continues);  // true: the send goes on
  void Hello();
  void AfterHello();
  void StartSignIn();
  void ContinueSignIn(const std::string& line);
  void SendNextRecipient();
  void AdvanceGroup();
  const std::vector<std::string>& GroupList() const;
  int GroupSkip() const;
  bool WriteData();

  bool SendLine(std::string_view line) override;
  bool SendBuffer(std::string_view bytes) override;
  void Info(SendMailInfo info, const std::string& addinfo) override;
  bool SendText(std::string_view bytes, std::string_view trace);
  bool SendSecret(const SecretText& line, std::string_view trace);  // no cut at 253 characters
  bool QueueData(std::string_view bytes);  // within the data step
  bool FlushData();
  void AppendTransparent(std::string& out, std::string_view bytes);

  SmtpTransport& transport_;
  std::string addressText_;
  std::string hostName_;
  SendMailError errorCode_ = SendMailError::None;
  SmtpStep step_ = SmtpStep::Greeting;
  SmtpOutbox outbox_;
  std::string replyBuffer_;
  bool busy_ = false;
  bool cancelled_ = false;
  bool accepted_ = false;
  bool inReply_ = false;
  bool donePosted_ = false;   // UM_MAILDONE goes out once per send, whoever ends it
  bool inData_ = false;       // between the server's invitation and the final "."
  bool atLineStart_ = true;   // of the data stream, for its transparency
  bool replyContinues_ = false;  // the last line had "-" after its code
  bool tlsStarting_ = false;  // the handshake runs; replies wait for it
  bool tlsUp_ = false;
  std::string dataPiece_;     // data-step bytes not yet in the outbox
  SmtpExtensions extensions_;
  SignInStage signIn_ = SignInStage::Plain;
  CertificateCheck certificate_;
  int recipientGroup_ = 0;   // 1 ListTo, 2 Listcc, 3 ListBcc, 4 DATA next
  int recipientIndex_ = -1;
  int recipientLast_ = -1;
  int toSkip_ = 0, ccSkip_ = 0, bccSkip_ = 0;
  std::string currentRecipient_;
};

// The error a Windows Sockets error number ends a send with, and the text reported for it.
struct SocketErrorReport {
  SendMailError Code;
  std::string_view Text;
};
SocketErrorReport SocketErrorFor(int winsockError);
