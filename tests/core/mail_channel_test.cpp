// The channel between the session and the socket, against a recorded TLS exchange: a stand-in
// engine whose records are a length byte and the text, and whose handshake is one hello each
// way. Handshake tokens, records in pieces and several in one read, data that came with the end
// of the handshake, a renegotiation, the close notify, a socket that takes a little at a time.
#include "mail/mail_channel.h"

#include <gtest/gtest.h>

namespace {

std::string Record(const std::string& text) { return char(text.size()) + text; }
const std::string kServerHello = "\x16\x03HELLO";  // a handshake record's first bytes
WipedBytes Bytes(const std::string& text) { return {text.begin(), text.end()}; }

struct RecordedEngine : TlsEngine {
  Result Handshake(std::string_view input) override {
    if (input.empty()) return {Status::Continue, 0, Bytes("C-HELLO"), ""};
    if (input.size() < 7) return {Status::Incomplete, 0, {}, ""};
    return {Status::Ok, 7, Bytes("C-FIN"), ""};
  }
  Result Decrypt(char* input, std::size_t size) override {
    const std::size_t length = size == 0 ? 0 : static_cast<unsigned char>(input[0]);
    if (size == 0 || size < 1 + length) return {Status::Incomplete, 0, {}, ""};
    const std::string text(input + 1, length);
    const Status state = text == "RENEG" ? Status::Renegotiate : text == "CLOSE" ? Status::Closed
                         : text == "FAIL" ? Status::Failed : Status::Ok;
    return {state, 1 + length, state == Status::Ok ? Bytes(text) : WipedBytes{}, "bad record mac"};
  }
  Result Encrypt(std::string_view plain) override {  // records of four bytes at most
    const std::string part(plain.substr(0, 4));
    return {Status::Ok, part.size(), Bytes(Record(part)), ""};
  }
  WipedBytes CloseNotify() override { return Bytes(Record("CLOSE")); }
  CertificateCheck ServerCertificate() override { return {"", "AA"}; }
};

struct Wire : SocketPort, OutgoingText {
  std::string arriving, sent, outbox;
  std::size_t takes = SIZE_MAX;  // bytes the socket takes before it is full
  int error = 0;

  Result Send(std::string_view bytes) override {
    if (error != 0) return {0, error};
    const std::size_t count = std::min(bytes.size(), takes);
    takes -= count;
    sent.append(bytes.substr(0, count));
    return {count, 0};
  }
  Result Receive(char* into, std::size_t capacity) override {  // two kilobytes at a time
    const std::size_t count = arriving.copy(into, capacity);
    arriving.erase(0, count);
    return {count, 0};
  }
  std::string_view Pending() const override { return outbox; }
  void Taken(std::size_t count) override { outbox.erase(0, count); }
  std::string TakeSent() { return std::exchange(sent, {}); }
};

struct ChannelRun {
  Wire wire;
  std::string received, failure;
  int secured = 0, closed = 0, socketError = 0;
  MailChannel channel{wire, wire,
                      {.Received = [this](std::string_view text) { received += text; },
                       .Secured = [this](const CertificateCheck& check) { secured += check.Fingerprint == "AA"; },
                       .TlsFailed = [this](const std::string& reason) { failure = reason; },
                       .SocketFailed = [this](int error) { socketError = error; },
                       .PeerClosed = [this] { ++closed; }}};

  void Arrive(const std::string& bytes) {
    wire.arriving += bytes;
    channel.Readable();
  }
  void StartTls() { channel.StartTls(std::make_unique<RecordedEngine>()); }
};

TEST(MailChannel, ARecordedTlsExchange) {
  ChannelRun run;
  run.Arrive("220 plain\r\n");
  EXPECT_EQ(run.received, "220 plain\r\n");
  run.StartTls();
  EXPECT_EQ(run.wire.TakeSent(), "C-HELLO");
  run.wire.outbox = "EHLO x\r\n";  // written meanwhile: it waits for the handshake
  run.channel.Writable();
  run.Arrive(kServerHello.substr(0, 4));  // the server's hello in pieces
  EXPECT_EQ(run.wire.TakeSent(), "");
  run.Arrive(kServerHello.substr(4) + Record("220 hi\r\n"));  // the end of the handshake and a record together
  EXPECT_EQ(run.secured, 1);
  EXPECT_EQ(run.received, "220 plain\r\n220 hi\r\n");
  EXPECT_EQ(run.wire.TakeSent(), "C-FIN" + Record("EHLO") + Record(" x\r\n"));
  EXPECT_TRUE(run.wire.outbox.empty());

  // A renegotiation between two records of one read; the certificate is judged once.
  const std::string record = Record("250 ok\r\n");
  run.Arrive(Record("RENEG") + kServerHello + record.substr(0, 3));
  run.Arrive(record.substr(3) + Record("CLOSE"));
  EXPECT_EQ(run.wire.TakeSent(), "C-FIN");
  EXPECT_EQ(run.received, "220 plain\r\n220 hi\r\n250 ok\r\n");
  EXPECT_EQ(run.closed, 1);
  EXPECT_EQ(run.secured, 1);

  run.channel.EndTls();  // after QUIT: the close notify, then nothing more either way
  run.wire.outbox = "NOOP\r\n";
  run.channel.Writable();
  run.Arrive(Record("421 late\r\n"));
  EXPECT_EQ(run.wire.TakeSent(), Record("CLOSE"));
  EXPECT_EQ(run.received, "220 plain\r\n220 hi\r\n250 ok\r\n");
  EXPECT_EQ(run.failure, "");
}

TEST(MailChannel, PlainTextWaitsForASocketWithRoom) {
  ChannelRun run;
  run.wire.outbox = "HELO desk\r\n";
  run.wire.takes = 4;
  run.channel.Writable();
  EXPECT_EQ(run.wire.TakeSent(), "HELO");
  EXPECT_EQ(run.wire.outbox, " desk\r\n");
  run.wire.takes = SIZE_MAX;  // FD_WRITE
  run.channel.Writable();
  EXPECT_EQ(run.wire.TakeSent(), " desk\r\n");
}

TEST(MailChannel, FailuresAreNamed) {
  ChannelRun plainServer, badRecord, reset;
  plainServer.StartTls();
  plainServer.Arrive("220 mail.example ESMTP\r\n");
  EXPECT_EQ(plainServer.failure, "the server answered without TLS (\"220 mail.example ESMTP\")");

  badRecord.StartTls();
  badRecord.Arrive(kServerHello + Record("FAIL"));
  EXPECT_EQ(badRecord.failure, "bad record mac");

  reset.wire.error = 10054;
  reset.wire.outbox = "QUIT\r\n";
  reset.channel.Writable();
  EXPECT_EQ(reset.socketError, 10054);
}

}  // namespace
