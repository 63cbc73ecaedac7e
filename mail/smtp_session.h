#pragma once
// The SMTP session: one message to one server with HELO, MAIL FROM, RCPT TO, DATA and QUIT,
// each server reply advancing the conversation by one step. The session owns no socket, timer
// or window: socket results and reply bytes come in through the calls below, and what must
// happen synchronously goes out through an SmtpTransport.
//
// Wiring on Windows (a socket over WSOCK32.DLL with its hidden window, owned beside the session):
//   Action := Send_Mail         -> SetAction(TMailAction::Send_Mail)
//   UM_LOOKUPDONE               -> LookupDone(LastError, inet_ntoa of the resolved address)
//   FD_CONNECT                  -> OnConnect(LastError)
//   FD_READ                     -> while (WantsReplies()) { receive up to 2048 bytes; stop on an
//                                  error or when none came; ReadReplies(the bytes); }
//   FD_CLOSE                    -> OnClose(LastError), then close the socket
//   countdown ran out           -> close the socket, then OnTimeout()
//   UM_MAILDONE (0x402) arrives -> MailDone()
// WinsockStarted and the lookup and connect countdowns (TimeoutArp, TimeoutConnect) belong to
// the socket; the session only asks it to start Windows Sockets when a send begins.
// Callbacks may run re-entrantly while the session pumps messages inside a send, so a
// callback may cancel the send, but must not destroy the session.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "mail/message_composer.h"
#include "mail/send_mail_types.h"

// What the session needs done at once. Windows Sockets error numbers (0 = none, 10035
// "would block" counted as none) come back as the result.
class SmtpTransport {
 public:
  struct SendResult {
    std::size_t Count = 0;  // bytes the socket took; 0 when it would block
    int LastError = 0;
  };

  virtual bool StartSockets() = 0;  // loads and starts Windows Sockets; false when it cannot
  virtual int CreateSocket() = 0;   // a stream socket unless one exists
  virtual int ResolveHost(const std::string& hostName) = 0;  // starts the asynchronous lookup
  // Sets the target (dotted address, port) and starts the asynchronous connect.
  virtual int Connect(const std::string& addressText, std::uint16_t port) = 0;
  virtual SendResult SendBytes(std::string_view bytes) = 0;  // one send call
  // Runs the window messages that are waiting, before every send attempt. `waitForMessage`
  // says the last attempt took nothing: then wait for a message (FD_WRITE, a timer, a click)
  // rather than spin.
  virtual void PumpMessages(bool waitForMessage) = 0;
  virtual std::string LocalHostName() = 0;  // gethostname, or empty text
  virtual void CloseSocket() = 0;           // cancels a lookup, stops the countdown, closes
  virtual void PostDone() = 0;              // posts UM_MAILDONE to the socket window

 protected:
  ~SmtpTransport() = default;
};

class SendMail : public MailMessage, private MessageSink {
 public:
  static constexpr std::string_view Version = "SendMail 1.3.9";
  static constexpr std::size_t kMaxHostName = 255;
  // A reply line this long without CR LF ends the send: no server talks like that.
  static constexpr std::size_t kMaxReplyLine = 4096;
  // The data step is handed to the socket in pieces of this size rather than line by line: a
  // socket call per 76-character line of an attachment is what made large notes slow. The
  // progress events still come line by line, ahead of the socket by at most one piece.
  static constexpr std::size_t kDataPiece = 64 * 1024;

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

  // Socket notifications; each is ignored when no send is running.
  void LookupDone(int lastError, const std::string& resolvedAddressText);
  void OnConnect(int lastError);
  bool WantsReplies() const;  // false while a reply is handled or the send has stopped
  void ReadReplies(std::string_view received);
  void OnClose(int lastError);
  void OnTimeout();
  void MailDone();

  bool Busy() const { return busy_; }
  bool Accepted() const { return accepted_; }  // the server took the message
  SendMailError ErrorCode() const { return errorCode_; }  // why a send failed (14: cancelled)

 private:
  bool Running() const { return busy_ && !Stopped(); }
  bool Stopped() const override { return cancelled_ || donePosted_; }

  void StartSend();
  void PickFirstRecipient();
  void Abort();
  void Fail(SendMailError code, const std::string& text);
  bool CheckSocketError(int lastError);  // true: go on
  void PostDoneOnce();

  void HandleReply(const std::string& line);
  void SendNextRecipient();
  void AdvanceGroup();
  const std::vector<std::string>& GroupList() const;
  int GroupSkip() const;

  bool SendLine(std::string_view line) override;
  bool SendBuffer(std::string_view bytes) override;
  void Info(SendMailInfo info, const std::string& addinfo) override;
  bool SendText(std::string_view bytes, std::string_view trace);
  bool QueueData(std::string_view bytes);  // within the data step
  bool FlushData();
  void AppendTransparent(std::string& out, std::string_view bytes);

  SmtpTransport& transport_;
  std::string addressText_;
  std::string hostName_;
  SendMailError errorCode_ = SendMailError::None;
  int sessionStep_ = 0;
  std::string replyBuffer_;
  bool busy_ = false;
  bool cancelled_ = false;
  bool accepted_ = false;
  bool inReply_ = false;
  bool donePosted_ = false;  // UM_MAILDONE goes out once per send, whoever ends it
  bool inData_ = false;      // between the server's invitation and the final "."
  bool atLineStart_ = true;  // of the data stream, for its transparency
  std::string dataPiece_;    // data-step bytes not yet handed to the socket
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
