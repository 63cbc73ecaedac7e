#include "mail/send_mail_types.h"

Recipient SplitRecipient(std::string_view entry) {
  constexpr std::size_t kMaxName = 999;
  const std::size_t bar = entry.find('|');
  if (bar == std::string_view::npos) return {std::string(entry), {}};
  return {std::string(entry.substr(0, bar)), std::string(entry.substr(bar + 1, kMaxName))};
}
