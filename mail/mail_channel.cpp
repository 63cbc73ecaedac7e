#include "mail/mail_channel.h"

#include <utility>

namespace {

std::string_view View(const WipedBytes& bytes) { return {bytes.data(), bytes.size()}; }

// A TLS record starts with its content type (from change cipher spec to application data)
// and a version whose first byte is 3. A server that answers otherwise speaks no TLS there (a
// plain port given as TLS) and would have the handshake wait for ever for a record that never
// ends. What it said, as far as it is text, names the mistake.
std::string PlainAnswer(std::string_view bytes) {
  const bool record = bytes[0] >= 20 && bytes[0] <= 23 && (bytes.size() < 2 || bytes[1] == 3);
  if (record) return {};
  std::string text;
  for (const char c : bytes.substr(0, 60)) {
    if (c == '\r' || c == '\n') break;
    text += c >= 32 && c < 127 ? c : '?';
  }
  return "the server answered without TLS (\"" + text + "\")";
}

}  // namespace

void MailChannel::StartTls(std::unique_ptr<TlsEngine> engine) {
  engine_ = std::move(engine);
  state_ = State::Handshaking;
  secured_ = heardServer_ = false;
  const std::uint64_t generation = generation_;
  TlsEngine::Result hello = engine_->Handshake({});
  if (hello.State != TlsEngine::Status::Continue) return Fail(hello.Reason);
  wire_.append(View(hello.Output));
  if (SendWire(generation)) ProcessIncoming(generation);
}

void MailChannel::Readable() {
  const std::uint64_t generation = generation_;
  char buffer[kReceiveBuffer];
  while (Current(generation)) {
    const SocketPort::Result got = socket_.Receive(buffer, sizeof buffer);
    if (got.LastError != 0) return events_.SocketFailed(got.LastError);
    if (got.Count == 0) return;
    const std::string_view bytes(buffer, got.Count);
    if (state_ == State::Plain) {
      events_.Received(bytes);
    } else if (state_ != State::Ended) {
      incoming_.append(bytes);
      ProcessIncoming(generation);
    }
  }
}

void MailChannel::ProcessIncoming(std::uint64_t generation) {
  while (Current(generation) && !incoming_.empty()) {
    const bool goOn = state_ == State::Handshaking ? HandshakeStep(generation) : DecryptStep(generation);
    if (!goOn) return;
  }
}

bool MailChannel::HandshakeStep(std::uint64_t generation) {
  if (!heardServer_) {
    heardServer_ = true;
    if (const std::string plain = PlainAnswer(incoming_); !plain.empty()) {
      Fail(plain);
      return false;
    }
  }
  TlsEngine::Result step = engine_->Handshake(incoming_);
  incoming_.erase(0, step.Consumed);
  wire_.append(View(step.Output));
  switch (step.State) {
    case TlsEngine::Status::Ok:
      state_ = State::Secure;
      SendWire(generation);  // what the socket cannot take now goes at FD_WRITE
      if (!Current(generation)) return false;
      if (!secured_) {
        secured_ = true;
        events_.Secured(engine_->ServerCertificate());
        if (!Current(generation)) return false;
        // The session may have written while its handshake was running: it goes out now.
        Writable();
      }
      return Current(generation);
    case TlsEngine::Status::Continue:
      return SendWire(generation) && step.Consumed > 0;
    case TlsEngine::Status::Incomplete:
      return false;
    default:
      // The alert the engine wrote, if any, is the server's only clue.
      SendWire(generation);
      Fail(step.Reason);
      return false;
  }
}

bool MailChannel::DecryptStep(std::uint64_t generation) {
  TlsEngine::Result opened = engine_->Decrypt(incoming_.data(), incoming_.size());
  switch (opened.State) {
    case TlsEngine::Status::Ok:
      incoming_.erase(0, opened.Consumed);
      if (!opened.Output.empty()) events_.Received(View(opened.Output));
      return Current(generation) && opened.Consumed > 0;
    case TlsEngine::Status::Incomplete:
      return false;
    case TlsEngine::Status::Renegotiate:
      // What follows the record is handshake data for the engine.
      incoming_.erase(0, opened.Consumed);
      state_ = State::Handshaking;
      return true;
    case TlsEngine::Status::Closed:
      incoming_.clear();
      events_.PeerClosed();
      return false;
    default:
      Fail(opened.Reason);
      return false;
  }
}

void MailChannel::Writable() {
  if (writing_) return;
  writing_ = true;
  const std::uint64_t generation = generation_;
  while (Current(generation) && SendWire(generation)) {
    const std::string_view pending = outgoing_.Pending();
    if (pending.empty() || state_ == State::Handshaking || state_ == State::Ended) break;
    if (state_ == State::Plain) {
      const SocketPort::Result sent = socket_.Send(pending.substr(0, kPlainPiece));
      if (sent.LastError != 0) {
        writing_ = false;
        return events_.SocketFailed(sent.LastError);
      }
      if (sent.Count == 0) break;  // FD_WRITE comes when the socket has room
      outgoing_.Taken(sent.Count);
    } else if (!Seal(generation)) {
      break;
    }
  }
  if (Current(generation)) writing_ = false;
}

bool MailChannel::Seal(std::uint64_t generation) {
  for (std::string_view pending = outgoing_.Pending(); !pending.empty() && wire_.size() < kPlainPiece;
       pending = outgoing_.Pending()) {
    const TlsEngine::Result sealed = engine_->Encrypt(pending);
    if (sealed.State != TlsEngine::Status::Ok || sealed.Consumed == 0) {
      Fail(sealed.Reason);
      return false;
    }
    wire_.append(View(sealed.Output));
    outgoing_.Taken(sealed.Consumed);
    if (!Current(generation)) return false;
  }
  return true;
}

bool MailChannel::SendWire(std::uint64_t generation) {
  while (!wire_.empty()) {
    const SocketPort::Result sent = socket_.Send(wire_);
    if (sent.LastError != 0) {
      events_.SocketFailed(sent.LastError);
      return false;
    }
    if (sent.Count == 0) return false;
    wire_.erase(0, sent.Count);
  }
  return Current(generation);
}

void MailChannel::Fail(const std::string& reason) {
  events_.TlsFailed(reason.empty() ? "the TLS layer gave no reason" : reason);
}

void MailChannel::EndTls() {
  if (state_ != State::Secure) return;
  state_ = State::Ended;
  const WipedBytes notify = engine_->CloseNotify();
  if (!notify.empty()) socket_.Send(View(notify));
}

void MailChannel::Close() {
  EndTls();
  ++generation_;
  state_ = State::Plain;
  engine_.reset();
  secured_ = writing_ = false;
  incoming_.clear();
  wire_.clear();
}
