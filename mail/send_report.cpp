#include "mail/send_report.h"

namespace {

constexpr const char* kRule = "------------";

// Status is a SendMailInfo, but the log reads it by number: 3, 8, 12 and 13 name causes there,
// whatever the progress events of those numbers mean.
constexpr SendMailInfo kStatusClosedEarly = smServerDisconnected;  // 3
constexpr SendMailInfo kStatusTimedOut = smBadAddress;             // 8
constexpr SendMailInfo kStatusRefused = smBadAttachment;           // 12
constexpr SendMailInfo kStatusNegativeReply = smAlreadyBusy;       // 13

}  // namespace

SendMailInfo RecordedStatus(SendMailError error, SendMailInfo configured) {
  switch (error) {
    case SendMailError::ConnectionRefused: return kStatusRefused;
    case SendMailError::TimedOut: return kStatusTimedOut;
    case SendMailError::PrematurelyDisconnected:
    case SendMailError::ConnectionReset: return kStatusClosedEarly;
    case SendMailError::UnexpectedResponse: return kStatusNegativeReply;
    default: return configured;
  }
}

std::vector<std::string> MailResultLines(bool accepted, SendMailInfo status) {
  if (accepted) return {" Done !", kRule};
  const char* cause = "Can't find mail server";
  switch (status) {
    case kStatusClosedEarly: cause = "The connection was unexpectedly closed by the remote server"; break;
    case kStatusTimedOut: cause = "The network is down or the address is wrong."; break;
    case kStatusRefused: cause = "Unexpected error"; break;
    case kStatusNegativeReply: cause = "Busy mail..."; break;
    default: break;
  }
  return {" Error ...Message not sent", cause, kRule};
}
