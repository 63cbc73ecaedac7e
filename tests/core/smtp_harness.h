#pragma once
// A session on the fake transport with its events collected as text ("9 to@example.com",
// errors as "E13 Unexpected response: ..."), so tests compare whole sequences.
#include <string>
#include <utility>
#include <vector>

#include "fake_smtp_transport.h"

using Events = std::vector<std::string>;

inline std::string Ev(SendMailInfo info, const std::string& text) {
  return std::to_string(static_cast<int>(info)) + " " + text;
}
inline std::string Err(SendMailError error, const std::string& text) {
  return "E" + std::to_string(static_cast<int>(error)) + " " + text;
}

struct SmtpHarness {
  FakeSmtpTransport transport;
  SendMail session{transport};
  Events events;  // without the traces
  Events traces;
  int doneCount = 0;

  SmtpHarness() {
    session.OnMailInfo = [this](SendMailInfo info, const std::string& text) {
      (info == smTraceIn || info == smTraceOut ? traces : events).push_back(Ev(info, text));
    };
    session.OnMailError = [this](SendMailError error, const std::string& text) {
      events.push_back(Err(error, text));
    };
    session.OnDone = [this] { ++doneCount; };
    session.SetSMTP_Server("192.0.2.1");
    session.FROM_Address = "me@example.com";
  }

  void Start() { session.SetAction(TMailAction::Send_Mail); }
  void Reply(const std::string& line) { session.ReadReplies(line + "\r\n"); }
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
  // The data the session sends on the server's invitation, up to its final "." line.
  std::string DataOf() {
    RunToData();
    Reply("354 go ahead");
    return TakeSent();
  }
};
