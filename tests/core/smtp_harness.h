#pragma once
// A session on a scripted stand-in for the transport. The socket takes a limited number of
// bytes a call (partial sends), answers with scripted errors or takes nothing until told, and
// runs a hook before each send; effects and events are collected as text ("9 to@example.com",
// errors as "E13 Unexpected response: ..."), so tests compare whole sequences.
#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "mail/smtp_session.h"

using Events = std::vector<std::string>;

inline std::string Ev(SendMailInfo info, const std::string& text) { return std::to_string(int(info)) + " " + text; }
inline std::string Err(SendMailError error, const std::string& text) { return "E" + std::to_string(int(error)) + " " + text; }

class FakeSmtpTransport : public SmtpTransport {
 public:
  SendMail* Session = nullptr;
  bool SocketsStart = true;
  int SendError = 0;
  std::size_t SendLimit = SIZE_MAX;  // bytes one send takes
  bool Blocked = false;              // the socket takes nothing until Writable()
  std::function<void()> OnSend;
  std::string Sent;
  std::string SentBeforeTls;  // all that went out in plain text once TLS starts
  Events Effects;  // "resolve NAME", "connect ADDRESS:PORT", "tls NAME", "end tls", "close", "done"

  int DonePosts() const { return int(std::count(Effects.begin(), Effects.end(), "done")); }
  bool StartSockets() override { return SocketsStart; }
  int CreateSocket() override { return 0; }
  int ResolveHost(const std::string& name) override {
    Effects.push_back("resolve " + name);
    return 0;
  }
  int Connect(const std::string& address, std::uint16_t port) override {
    Effects.push_back("connect " + address + ":" + std::to_string(port));
    return 0;
  }
  void Flush() override {
    while (!Blocked) {
      if (OnSend) OnSend();
      const std::string_view pending = Session->Pending();
      if (pending.empty()) return;
      if (SendError != 0) return Session->SendFailed(SendError);
      const std::size_t take = std::min(pending.size(), SendLimit);
      Sent.append(pending.substr(0, take));
      Session->Taken(take);
    }
  }
  void Writable() {  // FD_WRITE
    Blocked = false;
    Flush();
  }
  void StartTls(const std::string& name, const CertificatePin&) override {
    SentBeforeTls = Sent;
    Effects.push_back("tls " + name);
  }
  void EndTls() override { Effects.push_back("end tls"); }
  std::string LocalHostName() override { return "desk"; }
  void CloseSocket() override { Effects.push_back("close"); }
  void PostDone() override { Effects.push_back("done"); }
};

struct SmtpHarness {
  FakeSmtpTransport transport;
  SendMail session{transport};
  Events events, traces;
  int doneCount = 0;

  SmtpHarness() {
    transport.Session = &session;
    session.OnMailInfo = [this](SendMailInfo info, const std::string& text) {
      (info == smTraceIn || info == smTraceOut ? traces : events).push_back(Ev(info, text));
    };
    session.OnMailError = [this](SendMailError error, const std::string& text) { events.push_back(Err(error, text)); };
    session.OnDone = [this] { ++doneCount; };
    session.SetSMTP_Server("192.0.2.1");
    session.FROM_Address = "me@example.com";
    session.TO_Address = "to@example.com";
  }
  void Start() { session.SetAction(TMailAction::Send_Mail); }
  // The line and its CR LF arrive in pieces of three bytes, so every reply is put together.
  void Reply(const std::string& line) {
    const std::string bytes = line + "\r\n";
    for (std::size_t at = 0; at < bytes.size(); at += 3) session.ReadReplies(bytes.substr(at, 3));
  }
  std::string TakeSent() { return std::exchange(transport.Sent, {}); }
  Events TakeEvents() { return std::exchange(events, {}); }

  // Connects and accepts everything up to the DATA command.
  void RunToData() {
    Start();
    session.OnConnect(0);
    Reply("220 ready");
    for (int replies = 0; replies < 50 && !transport.Sent.ends_with("DATA\r\n"); ++replies) Reply("250 ok");
    TakeSent();
    TakeEvents();
  }
  std::string DataOf() {  // up to the final "." line
    RunToData();
    Reply("354 go ahead");
    return TakeSent();
  }
};
