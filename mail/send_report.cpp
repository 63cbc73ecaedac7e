#include "mail/send_report.h"

#include "mail/smtp_security.h"

namespace {

constexpr const char* kRule = "------------";
constexpr std::string_view kFingerprintPart = ", SHA-256 fingerprint ";

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
    case SendMailError::TlsFailed: return smTlsFailed;
    case SendMailError::CertificateNotTrusted: return smCertificateNotTrusted;
    case SendMailError::StartTlsNotOffered: return smStartTlsNotOffered;
    case SendMailError::SignInRefused: return smSignInRefused;
    case SendMailError::SignInNotConfigured:
    case SendMailError::SignInNeedsTls: return smSignInNotConfigured;
    default: return configured;
  }
}

std::vector<std::string> MailResultLines(bool accepted, SendMailError error, std::string_view errorText,
                                         const std::vector<std::string>& refused) {
  if (accepted) {
    std::vector<std::string> lines{" Done !"};
    for (const std::string& recipient : refused) lines.push_back("Not delivered to " + recipient);
    lines.emplace_back(kRule);
    return lines;
  }
  std::string cause = "Can't find mail server";
  switch (error) {
    case SendMailError::PrematurelyDisconnected:
    case SendMailError::ConnectionReset:
    case SendMailError::ConnectionAborted:
      cause = "The connection was unexpectedly closed by the remote server";
      break;
    case SendMailError::TimedOut:
    case SendMailError::NetworkDown:
    case SendMailError::NetworkUnreachable:
    case SendMailError::HostUnreachable:
      cause = "The network is down or the address is wrong.";
      break;
    case SendMailError::ConnectionRefused:
      cause = "The mail server refused the connection";
      break;
    case SendMailError::UnexpectedResponse: {
      // A reply of 4xx is the server's "not now"; 5xx refuses a recipient or the message.
      constexpr std::string_view kPrefix = "Unexpected response: ";
      const std::string_view reply = errorText.starts_with(kPrefix) ? errorText.substr(kPrefix.size()) : errorText;
      if (reply.starts_with('4')) {
        cause = "Busy mail...";
      } else if (!refused.empty()) {
        cause = "The mail server refused the recipient " + refused.front();
        for (size_t i = 1; i < refused.size(); ++i) cause += ", " + refused[i];
      } else if (reply.starts_with('5')) {
        cause = "The mail server refused: " + std::string(reply);
      } else {
        cause = "Unexpected error";
      }
      break;
    }
    case SendMailError::Cancelled:
      cause = "Sending was cancelled";
      break;
    case SendMailError::WinsockNotInitialized:
      cause = "Windows Sockets could not be started";
      break;
    case SendMailError::CertificateNotTrusted: {
      // The reason on one line, the fingerprint on lines of its own that the log does not cut.
      const std::size_t part = errorText.find(kFingerprintPart);
      std::vector<std::string> lines{" Error ...Message not sent", std::string(errorText.substr(0, part))};
      if (part != std::string_view::npos) {
        lines.emplace_back("SHA-256 fingerprint:");
        for (std::string& line : FingerprintLines(errorText.substr(part + kFingerprintPart.size())))
          lines.push_back(std::move(line));
      }
      lines.emplace_back(kRule);
      return lines;
    }
    // The session's own texts name these with the system's or the server's words.
    case SendMailError::TlsFailed:
    case SendMailError::StartTlsNotOffered:
    case SendMailError::SignInRefused:
    case SendMailError::SignInNotConfigured:
    case SendMailError::SignInNeedsTls:
      cause = errorText;
      break;
    default:
      break;
  }
  return {" Error ...Message not sent", cause, kRule};
}
