#pragma once
// The bytes between the SMTP session and the socket: plain, or through TLS once it has been
// started (from the first byte, or after STARTTLS). The session sees lines in and lines out
// either way. The TLS record work lives here: handshake tokens in both directions, records that
// arrive in pieces or several at once, data that came with the end of the handshake, a
// renegotiation, and the server's close notify. The socket and the TLS engine (SChannel on
// Windows) are small interfaces, so all of it runs natively against recorded exchanges.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "mail/secret_text.h"
#include "mail/smtp_security.h"

// The socket as the channel uses it; Windows Sockets error numbers, "would block" as none.
class SocketPort {
 public:
  struct Result {
    std::size_t Count = 0;  // 0 with LastError 0: would block (send) or nothing waiting (receive)
    int LastError = 0;
  };
  virtual Result Send(std::string_view bytes) = 0;
  virtual Result Receive(char* into, std::size_t capacity) = 0;

 protected:
  ~SocketPort() = default;
};

// One TLS client connection. Each call consumes a prefix of its input and may produce bytes:
// tokens to send (handshake), plain text (decrypt) or records (encrypt).
class TlsEngine {
 public:
  enum class Status { Ok, Continue, Incomplete, Renegotiate, Closed, Failed };
  struct Result {
    Status State = Status::Failed;
    std::size_t Consumed = 0;
    WipedBytes Output;  // wiped: an encryption that fails leaves the plain text in it
    std::string Reason;  // Failed: the system's words
  };
  virtual ~TlsEngine() = default;
  // The first call, with no input, gives the client's hello. Ok: the handshake is done.
  virtual Result Handshake(std::string_view input) = 0;
  // Decrypts in place, hence the writable input. Renegotiate: the rest goes to Handshake.
  virtual Result Decrypt(char* input, std::size_t size) = 0;
  virtual Result Encrypt(std::string_view plain) = 0;  // as much as one record holds
  virtual WipedBytes CloseNotify() = 0;
  virtual CertificateCheck ServerCertificate() = 0;  // after the handshake
};

// Where the plain text to send waits (the session's outbox).
class OutgoingText {
 public:
  virtual std::string_view Pending() const = 0;
  // The channel took `count` bytes; what that sets off may close the channel.
  virtual void Taken(std::size_t count) = 0;

 protected:
  ~OutgoingText() = default;
};

class MailChannel {
 public:
  struct Events {
    std::function<void(std::string_view)> Received;        // plain text from the server
    std::function<void(const CertificateCheck&)> Secured;  // the first handshake is done
    std::function<void(const std::string&)> TlsFailed;
    std::function<void(int)> SocketFailed;  // a Windows Sockets error while sending or receiving
    std::function<void()> PeerClosed;       // the server's close notify
  };
  // Bytes handed to the socket in one call at most, so progress follows the wire; as many
  // records are sealed before a send.
  static constexpr std::size_t kPlainPiece = 64 * 1024;
  static constexpr std::size_t kReceiveBuffer = 2048;

  MailChannel(SocketPort& socket, OutgoingText& outgoing, Events events)
      : socket_(socket), outgoing_(outgoing), events_(std::move(events)) {}

  // From now on everything goes through `engine`; its hello goes out at once.
  void StartTls(std::unique_ptr<TlsEngine> engine);
  void Readable();  // the socket has bytes
  void Writable();  // the socket can take bytes, or the outbox has new ones
  // After the reply to QUIT: the close notify, once, if TLS is up; the server then closes. Nothing
  // is sent after it and nothing more is read.
  void EndTls();
  // Ends TLS as EndTls does, then forgets the connection.
  void Close();

 private:
  enum class State { Plain, Handshaking, Secure, Ended };

  void ProcessIncoming(std::uint64_t generation);
  bool HandshakeStep(std::uint64_t generation);  // false: wait for more bytes
  bool DecryptStep(std::uint64_t generation);
  bool SendWire(std::uint64_t generation);  // false: the socket took not all of it, or it failed
  bool Seal(std::uint64_t generation);      // records from the outbox into the wire
  void Fail(const std::string& reason);
  bool Current(std::uint64_t generation) const { return generation == generation_; }

  SocketPort& socket_;
  OutgoingText& outgoing_;
  Events events_;
  State state_ = State::Plain;
  std::unique_ptr<TlsEngine> engine_;
  bool secured_ = false;   // the first handshake has been reported
  bool heardServer_ = false;  // the first bytes of the server's handshake have been looked at
  bool writing_ = false;   // inside Writable: a nested call leaves the work to the outer one
  std::uint64_t generation_ = 0;  // grows at Close, so loops notice a close from a callback
  // Records only, never plain text: received and not yet decrypted, sealed and not yet taken.
  std::string incoming_;
  std::string wire_;
};
