#pragma once
// What the mail classes share: the progress and error codes the session reports, the message
// a send carries, and how a recipient entry names its address and display name.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Progress reported through OnMailInfo; the numbers are part of the component's interface
// (the send window keeps one of them as its Status).
enum SendMailInfo : uint8_t {
  smServerConnected = 0,      // address text
  smTraceIn = 1,              // each reply line
  smTraceOut = 2,             // each text handed to the socket (a buffer up to its first zero)
  smServerDisconnected = 3,   // empty
  smMessageAccepted = 4,      // empty
  smAttachmentName = 5,       // full path
  smAttachmentSize = 6,       // size in bytes, decimal
  smAttachmentBytes = 7,      // running byte count, decimal
  smBadAddress = 8,           // the refused recipient
  smRecipient = 9,            // the address a RCPT TO was sent for
  smMessageSize = 10,         // body length in bytes, decimal
  smSendingMessage = 11,      // body bytes sent so far, decimal
  smBadAttachment = 12,       // path of a file that could not be read
  smAlreadyBusy = 13,         // empty
  smAddressResolved = 14,     // address text
  smResolvingAddress = 15,    // host name
  // Never fired: the Status a send leaves when it failed for a reason of the secured sign-in.
  smTlsFailed = 16,
  smCertificateNotTrusted = 17,
  smStartTlsNotOffered = 18,
  smSignInRefused = 19,
  smSignInNotConfigured = 20,
};

// Why a send failed, as ErrorCode keeps it and OnMailError reports it.
enum class SendMailError : uint8_t {
  None = 0,
  WinsockNotInitialized = 1,
  NetworkDown = 2,
  InvalidAddress = 3,
  InternalError = 4,
  GeneralWinsockError = 5,
  ConnectionAborted = 6,
  ConnectionReset = 7,
  TimedOut = 8,
  OutOfSockets = 9,
  NetworkUnreachable = 10,
  AddressNotAvailable = 11,
  ConnectionRefused = 12,
  UnexpectedResponse = 13,
  Cancelled = 14,
  UnknownError = 15,
  AddressResolution = 16,
  PrematurelyDisconnected = 17,
  MailDestination = 18,
  HostUnreachable = 19,
  TlsFailed = 20,              // the handshake failed; the system's reason follows
  CertificateNotTrusted = 21,  // the reasons and the certificate's SHA-256 fingerprint follow
  StartTlsNotOffered = 22,
  SignInRefused = 23,          // the server's words follow
  SignInNotConfigured = 24,    // the server asks for a sign-in, or no password is stored
  SignInNeedsTls = 25,         // a sign-in was set up without STARTTLS or TLS
};

enum class TMailAction : uint8_t { None = 0, Send_Mail = 1, Cancel_SendMail = 2 };

using TSendMailInfoEvent = std::function<void(SendMailInfo info, const std::string& addinfo)>;
using TSendMailErrorEvent = std::function<void(SendMailError error, const std::string& addinfo)>;

// The message of one send. Recipient entries are an address alone, or an address, "|" and a
// display name.
struct MailMessage {
  std::string FROM_Name;
  std::string FROM_Address;
  std::string TO_Name;
  std::string TO_Address;
  std::string Subject;              // no Subject header when empty
  std::vector<std::string> MailText;     // body lines
  std::vector<std::string> Listcc;
  std::vector<std::string> ListBcc;
  std::vector<std::string> ListTo;
  std::vector<std::string> Attachments;  // full paths
  std::vector<std::string> Headers;      // extra lines "Field: value"
};

struct Recipient {
  std::string Address;
  std::string Name;  // empty when the entry has none
};

// The text before the first "|" is the address, at most 999 characters after it the name.
Recipient SplitRecipient(std::string_view entry);
