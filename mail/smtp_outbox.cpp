#include "mail/smtp_outbox.h"

#include <algorithm>
#include <utility>

namespace {

// Taken bytes are dropped from the front once they are this many and half the buffer, so a
// large message is not moved for every piece the socket takes.
constexpr std::size_t kCompactAt = 64 * 1024;

}  // namespace

void SmtpOutbox::Append(std::string_view bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  appended_ += bytes.size();
}

void SmtpOutbox::Mark(SendMailInfo info, std::string text, std::size_t ahead) {
  marks_.push_back({appended_ + ahead, {info, std::move(text)}});
}

std::string_view SmtpOutbox::Pending() const { return {bytes_.data() + taken_, bytes_.size() - taken_}; }

std::vector<SmtpOutbox::Due> SmtpOutbox::Take(std::size_t count) {
  count = std::min(count, bytes_.size() - taken_);
  WipeBytes(bytes_.data() + taken_, count);
  taken_ += count;
  takenTotal_ += count;
  if (taken_ == bytes_.size()) {
    bytes_.clear();
    taken_ = 0;
  } else if (taken_ >= kCompactAt && taken_ * 2 >= bytes_.size()) {
    const std::size_t kept = bytes_.size() - taken_;
    std::copy(bytes_.begin() + static_cast<std::ptrdiff_t>(taken_), bytes_.end(), bytes_.begin());
    WipeBytes(bytes_.data() + kept, taken_);
    bytes_.resize(kept);
    taken_ = 0;
  }
  std::vector<Due> due;
  while (!marks_.empty() && marks_.front().At <= takenTotal_) {
    due.push_back(std::move(marks_.front().Event));
    marks_.pop_front();
  }
  return due;
}

void SmtpOutbox::Clear() {
  WipeBytes(bytes_.data(), bytes_.size());
  bytes_.clear();
  taken_ = 0;
  takenTotal_ = appended_;
  marks_.clear();
}
