#pragma once
// A scripted stand-in for the Windows socket under the SMTP session: it takes what the session
// sends (a limited number of bytes a call, to exercise partial sends), answers with scripted
// errors, runs a hook on each message pump, and lists the other effects in order.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "mail/smtp_session.h"

class FakeSmtpTransport : public SmtpTransport {
 public:
  bool SocketsStart = true;
  int CreateError = 0, ResolveError = 0, ConnectError = 0, SendError = 0;
  std::size_t SendLimit = SIZE_MAX;  // bytes taken by one send call
  std::function<void()> OnPump;
  std::string Sent;                  // everything the socket took
  std::vector<std::string> Effects;  // "resolve NAME", "connect ADDRESS:PORT", "close", "done"

  int DonePosts() const {
    int posts = 0;
    for (const std::string& effect : Effects) posts += effect == "done";
    return posts;
  }

  bool StartSockets() override { return SocketsStart; }
  int CreateSocket() override { return CreateError; }
  int ResolveHost(const std::string& hostName) override {
    Effects.push_back("resolve " + hostName);
    return ResolveError;
  }
  int Connect(const std::string& addressText, std::uint16_t port) override {
    Effects.push_back("connect " + addressText + ":" + std::to_string(port));
    return ConnectError;
  }
  SendResult SendBytes(std::string_view bytes) override {
    if (SendError != 0) return {0, SendError};
    const std::size_t count = std::min(bytes.size(), SendLimit);
    Sent.append(bytes.substr(0, count));
    return {count, 0};
  }
  void PumpMessages(bool) override {
    if (OnPump) OnPump();
  }
  std::string LocalHostName() override { return "desk"; }
  void CloseSocket() override { Effects.push_back("close"); }
  void PostDone() override { Effects.push_back("done"); }
};
