#pragma once
// What the session has written and the transport has not yet taken. The session writes
// without waiting; the transport takes bytes when the socket can write. Progress that belongs
// after given bytes (the body and attachment counts) is marked there and comes due only once
// the transport has taken those bytes, so the sending window shows what left, not what was
// composed. Taken bytes are wiped: a sign-in line passes through here.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "mail/secret_text.h"
#include "mail/send_mail_types.h"

class SmtpOutbox {
 public:
  struct Due {
    SendMailInfo Info;
    std::string Text;
  };

  void Append(std::string_view bytes);
  // Due once everything appended so far, and `ahead` bytes more, has been taken.
  void Mark(SendMailInfo info, std::string text, std::size_t ahead = 0);
  std::string_view Pending() const;
  // The transport took the first `count` pending bytes; the marks they passed, in order.
  std::vector<Due> Take(std::size_t count);
  void Clear();

 private:
  struct Marked {
    std::uint64_t At;
    Due Event;
  };

  WipedBytes bytes_;
  std::size_t taken_ = 0;        // of bytes_
  std::uint64_t takenTotal_ = 0;  // since the start
  std::uint64_t appended_ = 0;    // since the start
  std::deque<Marked> marks_;
};
