#pragma once
// The local SMTP server of the mail tests (tests/mail_peer.py, started by a CTest fixture):
// its ports, and the messages it accepted as Python's email package read them back.
#include <windows.h>

#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "mail/note_mail.h"
#include "storage/file_io.h"
#include "tests/win/app_test_support.h"
#include "win/message_loop.h"

namespace mail_test {

inline std::string PeerFile(const std::string& name) {
  return app_test::WindowsPath(std::string(QKLI_MAIL_PEER_DIR) + "/" + name);
}

inline std::uint16_t PeerPort(const char* which = "port") {
  std::ifstream in(PeerFile(which));
  int port = 0;
  in >> port;
  return static_cast<std::uint16_t>(port);
}

// The account of a test: the local server by its address, the given sender.
inline TQuorMailAccount Account(const std::string& sender, std::uint16_t port = PeerPort()) {
  TQuorMailAccount account;
  account.SmtpServer = "127.0.0.1";
  account.SmtpPort = port;
  account.UserName = "Me";
  account.UserMail = sender;
  return account;
}

// Runs the message loop until `done` holds or `timeoutMs` passed; false on the time-out.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    win::ProcessWaitingMessages();
  }
  return true;
}

// The message the server accepted from `sender`: each decoded part by its key, in order
// ("from_name", "to", "subject", "body", "att_name", "att_bytes", "x_mailer", ...).
using Received = std::multimap<std::string, std::string>;

inline Received ReceivedFrom(const std::string& sender) {
  Received parts;
  std::ifstream in(PeerFile(sender + ".txt"));
  for (std::string line; std::getline(in, line);) {
    const std::size_t space = line.find(' ');
    std::string bytes;
    for (std::size_t i = space + 1; i + 1 < line.size(); i += 2) bytes += char(std::stoi(line.substr(i, 2), nullptr, 16));
    parts.emplace(line.substr(0, space), bytes);
  }
  return parts;
}

inline std::vector<std::string> All(const Received& parts, const std::string& key) {
  std::vector<std::string> values;
  for (auto [it, end] = parts.equal_range(key); it != end; ++it) values.push_back(it->second);
  return values;
}

// A file of the test's own in the peer's folder (the fixture empties it at the next start).
inline std::string TestFile(const std::string& name, const std::string& bytes) {
  const std::string path = PeerFile(name);
  WriteFileAtomically(path, bytes);  // a name in any language
  return path;
}

}  // namespace mail_test
