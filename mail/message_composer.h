#pragma once
// The data of a send: the header block, the body (plain or quoted-printable) and each
// attachment as a base64 part of a multipart/mixed message. Everything goes out through a
// MessageSink piece by piece: the body in 2048-byte chunks, files in 2280-byte blocks, so
// neither is ever held whole.
#include <string>
#include <string_view>

#include "mail/send_mail_types.h"

inline constexpr std::string_view kMailBoundary = "==============ghyurgtfy573======___";

// Where the message goes. The session implements it: it cuts lines to their limit, keeps the
// data transparent ("." at a line start doubled) and reports progress.
class MessageSink {
 public:
  virtual bool SendLine(std::string_view line) = 0;     // line + CR LF; false once stopped
  virtual bool SendBuffer(std::string_view bytes) = 0;  // bytes as they are; false once stopped
  virtual void Info(SendMailInfo info, const std::string& addinfo) = 0;
  virtual bool Stopped() const = 0;  // cancelled or failed: send nothing more

 protected:
  ~MessageSink() = default;
};

// Writes the whole message up to, not including, the final "." line. Reads the message's
// lists by index each time, so a cancel that empties them mid-way ends the loops cleanly.
void WriteMessage(const MailMessage& message, MessageSink& sink);

// One attachment part, with smAttachmentName, smAttachmentSize and smAttachmentBytes. False
// when the file could not be opened or read: an unopenable file sends nothing of its part, a
// read error mid-way ends the part with what was read (the caller reports smBadAttachment).
bool SendBase64File(const std::string& path, std::string_view contentType,
                    std::string_view disposition, MessageSink& sink);
