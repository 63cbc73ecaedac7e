#include "mail/smtp_session.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::size_t kMaxLine = 253;          // characters of a line before its CR LF
constexpr std::size_t kReportedReplyPart = 100;  // of an overlong reply, in the error text

struct SocketErrorRow {
  int First, Last;
  SocketErrorReport Report;
};

constexpr SocketErrorRow kSocketErrors[] = {
    {10093, 10093, {SendMailError::WinsockNotInitialized, "Winsock not initialized"}},
    {10050, 10050, {SendMailError::NetworkDown, "Network down"}},
    {10013, 10013, {SendMailError::InvalidAddress, "Invalid address specified"}},
    {10052, 10052, {SendMailError::GeneralWinsockError, "General Winsock Error"}},
    {10055, 10055, {SendMailError::GeneralWinsockError, "General Winsock Error"}},
    {10053, 10053, {SendMailError::ConnectionAborted, "Connection aborted due to timeout or other failure"}},
    {10054, 10054, {SendMailError::ConnectionReset, "Connection reset by remote side"}},
    {10060, 10060, {SendMailError::TimedOut, "timeout"}},
    {10024, 10024, {SendMailError::OutOfSockets, "Out of sockets"}},
    {10051, 10051, {SendMailError::NetworkUnreachable, "Network unreachable"}},
    {10049, 10049, {SendMailError::AddressNotAvailable, "Address not available"}},
    {10061, 10061, {SendMailError::ConnectionRefused, "Connection Refused"}},
    {11001, 11004, {SendMailError::AddressResolution, "Address resolution error"}},
    {10065, 10065, {SendMailError::HostUnreachable, "Host Unreachable"}},
};

// Errors that only a mistake in using the socket can cause.
constexpr int kInternalErrors[] = {10004, 10014, 10022, 10036, 10038, 10040,
                                   10045, 10047, 10048, 10056, 10057, 10058};

bool IsNegativeReply(const std::string& line) {
  return !line.empty() && (line[0] == '-' || line[0] == '4' || line[0] == '5');
}

// "250-..." is followed by more lines of the same reply; a line shorter than four characters
// is a complete reply.
bool ContinuesReply(const std::string& line) { return line.size() >= 4 && line[3] == '-'; }

std::string_view UpToFirstZero(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

}  // namespace

SocketErrorReport SocketErrorFor(int winsockError) {
  for (const SocketErrorRow& row : kSocketErrors)
    if (winsockError >= row.First && winsockError <= row.Last) return row.Report;
  if (std::find(std::begin(kInternalErrors), std::end(kInternalErrors), winsockError) !=
      std::end(kInternalErrors))
    return {SendMailError::InternalError, "Unexpected internal error in component"};
  return {SendMailError::UnknownError, "Unknown Error"};
}

void SendMail::SetSMTP_Server(const std::string& server) {
  if (server.empty()) return;
  if (server[0] >= '0' && server[0] <= '9') {
    addressText_ = server;
    hostName_.clear();
  } else {
    hostName_ = server;
    addressText_.clear();
  }
}

void SendMail::SetAction(TMailAction action) {
  switch (action) {
    case TMailAction::Send_Mail:
      StartSend();
      break;
    case TMailAction::Cancel_SendMail:
      // A send that has already ended keeps the reason it ended with.
      if (!Running()) break;
      errorCode_ = SendMailError::Cancelled;
      Abort();
      break;
    case TMailAction::None:
      break;
  }
}

void SendMail::StartSend() {
  if (busy_) {
    Info(smAlreadyBusy, "");
    return;
  }
  busy_ = true;
  cancelled_ = accepted_ = inReply_ = donePosted_ = inData_ = false;
  replyContinues_ = tlsStarting_ = tlsUp_ = false;
  errorCode_ = SendMailError::None;
  step_ = SmtpStep::Greeting;
  replyBuffer_.clear();
  outbox_.Clear();
  certificate_ = {};
  toSkip_ = ccSkip_ = bccSkip_ = 0;

  PickFirstRecipient();
  if (TO_Address.empty()) return Fail(SendMailError::MailDestination, "Mail Destination Error");
  if (!transport_.StartSockets()) return Fail(SendMailError::WinsockNotInitialized, "Winsock not initiliazed");
  if (!CheckSocketError(transport_.CreateSocket())) return;

  if (!addressText_.empty()) {
    CheckSocketError(transport_.Connect(addressText_, SMTP_Port));
    return;
  }
  // Longer names are no host names (a DNS name has at most 253 characters); an empty one
  // means no server was given.
  if (hostName_.empty() || hostName_.size() > kMaxHostName)
    return Fail(SendMailError::AddressResolution, "Address resolution error");
  Info(smResolvingAddress, hostName_);
  if (Stopped()) return;
  CheckSocketError(transport_.ResolveHost(hostName_));
}

void SendMail::PickFirstRecipient() {
  if (!TO_Address.empty()) {
    ListTo.insert(ListTo.begin(), TO_Address + "|" + TO_Name);
    toSkip_ = 1;
    return;
  }
  const auto takeFirst = [this](const std::vector<std::string>& list, int& skip) {
    if (!TO_Address.empty() || list.empty()) return;
    const Recipient first = SplitRecipient(list.front());
    TO_Address = first.Address;
    TO_Name = first.Name;
    skip = 1;
  };
  takeFirst(ListTo, toSkip_);
  takeFirst(Listcc, ccSkip_);
  takeFirst(ListBcc, bccSkip_);
}

void SendMail::Abort() {
  if (cancelled_) return;
  TO_Address.clear();
  TO_Name.clear();
  ListTo.clear();
  Listcc.clear();
  ListBcc.clear();
  cancelled_ = true;
  outbox_.Clear();
  transport_.CloseSocket();
  PostDoneOnce();
}

void SendMail::Fail(SendMailError code, const std::string& text) {
  errorCode_ = code;
  if (OnMailError) OnMailError(code, text);
  Abort();
}

bool SendMail::CheckSocketError(int lastError) {
  if (Stopped()) return false;
  if (lastError == 0) {
    errorCode_ = SendMailError::None;
    return true;
  }
  const SocketErrorReport report = SocketErrorFor(lastError);
  Fail(report.Code, std::string(report.Text));
  return false;
}

void SendMail::PostDoneOnce() {
  if (donePosted_ || !busy_) return;
  donePosted_ = true;
  transport_.PostDone();
}

void SendMail::MailDone() {
  if (!busy_) return;
  busy_ = false;
  if (OnDone) OnDone();
}

void SendMail::LookupDone(int lastError, const std::string& resolvedAddressText) {
  if (!Running() || !CheckSocketError(lastError)) return;
  addressText_ = resolvedAddressText;
  Info(smAddressResolved, addressText_);
  if (Stopped()) return;
  CheckSocketError(transport_.Connect(addressText_, SMTP_Port));
}

void SendMail::OnConnect(int lastError) {
  if (!Running() || !CheckSocketError(lastError)) return;  // a refused connect ends here (12)
  step_ = SmtpStep::Greeting;
  replyBuffer_.clear();
  accepted_ = false;
  Info(smServerConnected, addressText_);
  if (Stopped() || Security != MailSecurity::Tls) return;
  // TLS from the first byte: the greeting comes once the handshake is done.
  tlsStarting_ = true;
  transport_.StartTls(ServerName(), TrustedCertificate);
}

void SendMail::TlsReady(const CertificateCheck& check) {
  if (!Running() || !tlsStarting_) return;
  tlsStarting_ = false;
  certificate_ = check;
  if (!check.Problems.empty() && !TrustedCertificate.Matches(ServerName(), check.Fingerprint))
    return Fail(SendMailError::CertificateNotTrusted,
                "Certificate not trusted (" + check.Problems + "), SHA-256 fingerprint " + check.Fingerprint);
  tlsUp_ = true;
  // What the server offered in plain text counts no more (the EHLO is asked again).
  extensions_ = {};
  if (step_ == SmtpStep::TlsStart) Hello();
}

void SendMail::TlsFailed(const std::string& reason) {
  if (Running()) Fail(SendMailError::TlsFailed, "TLS handshake failed: " + reason);
}

void SendMail::SendFailed(int lastError) {
  if (Running()) CheckSocketError(lastError);
}

void SendMail::OnClose(int lastError) {
  if (!Running() || !CheckSocketError(lastError)) return;
  Info(smServerDisconnected, "");
  if (Stopped()) return;
  if (!accepted_) {
    errorCode_ = SendMailError::PrematurelyDisconnected;
    if (OnMailError) OnMailError(errorCode_, "Prematurely Disconnected");
  }
  PostDoneOnce();
}

void SendMail::OnTimeout() {
  if (Running()) Fail(SendMailError::TimedOut, "Connection timed out");
}

void SendMail::ReadReplies(std::string_view received) {
  // While TLS starts, nothing the server sends is a reply: it is the handshake's.
  if (!Running() || tlsStarting_) return;
  replyBuffer_.append(received);
  // Bytes that arrive while a reply is handled wait here for the loop below.
  if (inReply_) return;

  std::size_t lineStart = 0;
  for (std::size_t end; (end = replyBuffer_.find("\r\n", lineStart)) != std::string::npos;) {
    const std::string line = replyBuffer_.substr(lineStart, end - lineStart);
    lineStart = end + 2;
    inReply_ = true;
    HandleReply(line);
    inReply_ = false;
    // Whatever came in plain text after the server's go-ahead for TLS was not protected by
    // it: it is dropped, never read as a reply.
    if (Stopped() || tlsStarting_) {
      replyBuffer_.clear();
      return;
    }
  }
  replyBuffer_.erase(0, lineStart);
  if (replyBuffer_.size() > kMaxReplyLine) {
    const std::string start = replyBuffer_.substr(0, kReportedReplyPart);
    replyBuffer_.clear();
    Fail(SendMailError::UnexpectedResponse, "Unexpected response: " + start);
  }
}

void SendMail::HandleReply(const std::string& line) {
  Info(smTraceIn, line);
  if (Stopped()) return;
  const bool continues = ContinuesReply(line);
  const bool firstLine = !replyContinues_;
  replyContinues_ = continues;
  if (IsNegativeReply(line)) {
    if (!Refused(line, continues)) return;
  } else if (step_ == SmtpStep::Hello && !firstLine && line.size() > 4) {
    extensions_.Read(std::string_view(line).substr(4));  // the first line names the server
  }
  if (continues) return;

  switch (step_) {
    case SmtpStep::Greeting:
      Hello();
      break;
    case SmtpStep::Hello:
      AfterHello();
      break;
    case SmtpStep::TlsStart:
      tlsStarting_ = true;
      transport_.StartTls(ServerName(), TrustedCertificate);
      break;
    case SmtpStep::SignIn:
      ContinueSignIn(line);
      break;
    case SmtpStep::Sender:
      if (!SendLine("RCPT TO:<" + TO_Address + ">")) return;
      currentRecipient_ = TO_Address;
      recipientIndex_ = -1;
      recipientGroup_ = 1;
      recipientLast_ = static_cast<int>(ListTo.size()) - 1 - toSkip_;
      AdvanceGroup();
      Info(smRecipient, TO_Address);
      if (Stopped()) return;
      step_ = SmtpStep::Recipients;
      break;
    case SmtpStep::Recipients:
      SendNextRecipient();
      break;
    case SmtpStep::Data:
      if (WriteData()) step_ = SmtpStep::Body;
      break;
    case SmtpStep::Body:
      accepted_ = true;
      Info(smMessageAccepted, "");
      if (SendLine("QUIT")) step_ = SmtpStep::Quit;
      break;
    case SmtpStep::Quit:
      step_ = SmtpStep::Done;
      if (tlsUp_) transport_.EndTls();
      break;
    case SmtpStep::Done:  // nothing after the reply to QUIT counts
      break;
  }
}

// A negative reply ends the send with the cause of its step; only a refused recipient lets it
// go on (with the next recipient or DATA).
bool SendMail::Refused(const std::string& line, bool continues) {
  switch (step_) {
    case SmtpStep::Recipients:
      // A refused recipient is reported once, on the last line of the refusal.
      if (!continues) Info(smBadAddress, currentRecipient_);
      return !Stopped();
    case SmtpStep::TlsStart:
      Fail(SendMailError::TlsFailed, "TLS handshake failed: the server refused STARTTLS (" + line + ")");
      return false;
    case SmtpStep::SignIn:
      Fail(SendMailError::SignInRefused, "Sign-in refused: " + line);
      return false;
    case SmtpStep::Sender:
      if (line.starts_with("530") && SignInName.empty()) {
        Fail(SendMailError::SignInNotConfigured, "Sign-in needed but not configured: " + line);
        return false;
      }
      [[fallthrough]];
    default:
      Fail(SendMailError::UnexpectedResponse, "Unexpected response: " + line);
      return false;
  }
}

// HELO as always; EHLO when the send needs an extension (STARTTLS, AUTH) or TLS is on.
void SendMail::Hello() {
  const bool extended = Security != MailSecurity::None || !SignInName.empty();
  if (SendLine((extended ? "EHLO " : "HELO ") + transport_.LocalHostName())) step_ = SmtpStep::Hello;
}

void SendMail::AfterHello() {
  if (Security == MailSecurity::StartTls && !tlsUp_) {
    // Never a fall-back to plain text: that is what an attacker in the middle would arrange.
    if (!extensions_.StartTls) return Fail(SendMailError::StartTlsNotOffered, "STARTTLS not offered");
    if (SendLine("STARTTLS")) step_ = SmtpStep::TlsStart;
    return;
  }
  if (!SignInName.empty()) return StartSignIn();
  if (SendLine("MAIL FROM:<" + FROM_Address + ">")) step_ = SmtpStep::Sender;
}

// Credentials go only over TLS, whatever the server offers.
void SendMail::StartSignIn() {
  if (!tlsUp_)
    return Fail(SendMailError::SignInNeedsTls, "Sign-in needs STARTTLS or TLS: the password is never sent in plain text");
  if (!extensions_.AuthPlain && !extensions_.AuthLogin)
    return Fail(SendMailError::SignInRefused, "Sign-in refused: the server offers no sign-in by PLAIN or LOGIN" +
                                                  (extensions_.Auth.empty() ? "" : " (AUTH " + extensions_.Auth + ")"));
  step_ = SmtpStep::SignIn;
  if (!extensions_.AuthPlain) {
    signIn_ = SignInStage::LoginName;
    SendLine("AUTH LOGIN");
    return;
  }
  const SecretText password = Password ? Password() : SecretText();
  if (password.Empty())
    return Fail(SendMailError::SignInNotConfigured, "Sign-in needed but not configured: no password is stored");
  signIn_ = SignInStage::Plain;
  SendSecret(PlainSignIn(SignInName, password.View()), "AUTH PLAIN " + std::string(kHiddenSecret));
}

// AUTH LOGIN asks twice with 334; what its prompts say differs from server to server, so only
// their number counts.
void SendMail::ContinueSignIn(const std::string& line) {
  if (line.starts_with("235")) {
    if (SendLine("MAIL FROM:<" + FROM_Address + ">")) step_ = SmtpStep::Sender;
    return;
  }
  if (line.starts_with("334") && signIn_ == SignInStage::LoginName) {
    signIn_ = SignInStage::LoginPassword;
    const SecretText name = Base64Secret(SignInName);
    SendSecret(name, name.View());
    return;
  }
  if (line.starts_with("334") && signIn_ == SignInStage::LoginPassword) {
    const SecretText password = Password ? Password() : SecretText();
    if (password.Empty())
      return Fail(SendMailError::SignInNotConfigured, "Sign-in needed but not configured: no password is stored");
    signIn_ = SignInStage::LoginSent;
    SendSecret(Base64Secret(password.View()), kHiddenSecret);
    return;
  }
  Fail(SendMailError::SignInRefused, "Sign-in refused: " + line);
}

// One reply in the recipient step: the next recipient of the current group, or DATA once
// every group is done.
void SendMail::SendNextRecipient() {
  if (recipientGroup_ <= 3) {
    if (recipientIndex_ < recipientLast_) {
      ++recipientIndex_;
      currentRecipient_ = SplitRecipient(GroupList().at(recipientIndex_ + GroupSkip())).Address;
      if (!SendLine("RCPT TO:<" + currentRecipient_ + ">")) return;
      Info(smRecipient, currentRecipient_);
      if (Stopped()) return;
    }
  } else {
    if (!SendLine("DATA")) return;
    step_ = SmtpStep::Data;
  }
  if (recipientIndex_ == recipientLast_) {
    recipientLast_ = -1;
    AdvanceGroup();
    recipientIndex_ = -1;
  }
}

void SendMail::AdvanceGroup() {
  while (recipientLast_ == -1) {
    ++recipientGroup_;
    if (recipientGroup_ >= 4) {
      recipientLast_ = 0;  // the next reply sends DATA
      return;
    }
    recipientLast_ = static_cast<int>(GroupList().size()) - 1 - GroupSkip();
  }
}

const std::vector<std::string>& SendMail::GroupList() const {
  return recipientGroup_ == 1 ? ListTo : recipientGroup_ == 2 ? Listcc : ListBcc;
}

int SendMail::GroupSkip() const {
  return recipientGroup_ == 1 ? toSkip_ : recipientGroup_ == 2 ? ccSkip_ : bccSkip_;
}

// The whole message goes into the outbox at once; its progress comes due as the transport
// takes the bytes.
bool SendMail::WriteData() {
  inData_ = true;
  atLineStart_ = true;
  dataPiece_.clear();
  WriteMessage(*this, *this);
  inData_ = false;
  return FlushData() && SendLine(".");
}

bool SendMail::SendLine(std::string_view text) {
  std::string line(text.substr(0, kMaxLine));
  // A line is one line: a CR or LF inside it would smuggle a command or header in.
  std::replace_if(line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  line += "\r\n";
  if (inData_) return QueueData(line);
  return SendText(line, line);
}

bool SendMail::SendSecret(const SecretText& line, std::string_view trace) {
  if (Stopped()) return false;
  Info(smTraceOut, std::string(trace) + "\r\n");
  if (Stopped()) return false;
  outbox_.Append(line.View());
  outbox_.Append("\r\n");
  transport_.Flush();
  return !Stopped();
}

bool SendMail::SendBuffer(std::string_view bytes) {
  if (!inData_) return SendText(bytes, UpToFirstZero(bytes));
  return QueueData(bytes);
}

bool SendMail::QueueData(std::string_view bytes) {
  if (Stopped()) return false;
  AppendTransparent(dataPiece_, bytes);
  return dataPiece_.size() < kDataPiece || FlushData();
}

bool SendMail::FlushData() {
  if (Stopped()) return false;
  if (dataPiece_.empty()) return true;
  const std::string piece = std::exchange(dataPiece_, {});
  return SendText(piece, UpToFirstZero(piece));
}

// Within the data every line that begins with "." gets one more, wherever the line starts:
// in a header, at a body chunk's edge or after a quoted-printable soft break. A bare LF
// counts as a line end too, as some servers take it for one.
void SendMail::AppendTransparent(std::string& out, std::string_view bytes) {
  out.reserve(out.size() + bytes.size() + 16);
  for (const char c : bytes) {
    if (atLineStart_ && c == '.') out += '.';
    out += c;
    atLineStart_ = c == '\n';
  }
}

bool SendMail::SendText(std::string_view bytes, std::string_view trace) {
  if (Stopped()) return false;
  Info(smTraceOut, std::string(trace));
  if (Stopped()) return false;
  outbox_.Append(bytes);
  transport_.Flush();
  return !Stopped();
}

void SendMail::Taken(std::size_t count) {
  for (const SmtpOutbox::Due& due : outbox_.Take(count)) {
    if (OnMailInfo) OnMailInfo(due.Info, due.Text);
    if (Stopped()) return;
  }
}

// The data step's progress belongs after the bytes composed before it, some of which may
// still wait in the piece.
void SendMail::Info(SendMailInfo info, const std::string& addinfo) {
  if (inData_ && info != smTraceOut) return outbox_.Mark(info, addinfo, dataPiece_.size());
  if (OnMailInfo) OnMailInfo(info, addinfo);
}
