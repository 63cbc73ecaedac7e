#include "mail/message_composer.h"

#include <array>
#include <cstdint>
#include <optional>

#include "mail/mail_encoding.h"
#include "storage/file_io.h"
#include "storage/io_error.h"
#include "storage/os_file.h"

namespace {

constexpr std::string_view kMultipartType = "Content-Type: multipart/mixed; boundary=\"";
constexpr std::string_view kQuotedPrintableLine = "Content-Transfer-Encoding: quoted-printable";
constexpr std::size_t kBodyChunk = 2048;
constexpr std::size_t kBase64LineBytes = 57;                     // 76 characters a line
constexpr std::size_t kAttachmentBlock = 40 * kBase64LineBytes;  // 2280

// The body is the lines of MailText, each followed by CR LF. It is handed out in chunks
// straight from the lines, never joined into one text.
class BodyReader {
 public:
  explicit BodyReader(const std::vector<std::string>& lines) : lines_(lines) {}

  std::string Next(std::size_t limit) {
    std::string chunk;
    while (chunk.size() < limit && line_ < lines_.size()) {
      const std::string& line = lines_[line_];
      if (offset_ < line.size()) {
        const std::size_t take = std::min(limit - chunk.size(), line.size() - offset_);
        chunk.append(line, offset_, take);
        offset_ += take;
      } else {
        const std::size_t ending = offset_ - line.size();  // 0: CR still to come, 1: LF
        const std::size_t take = std::min(limit - chunk.size(), 2 - ending);
        chunk.append(std::string_view("\r\n").substr(ending, take));
        offset_ += take;
        if (offset_ == line.size() + 2) {
          ++line_;
          offset_ = 0;
        }
      }
    }
    return chunk;
  }

 private:
  const std::vector<std::string>& lines_;
  std::size_t line_ = 0;
  std::size_t offset_ = 0;  // within the line and its CR LF
};

std::size_t BodyLength(const std::vector<std::string>& lines) {
  std::size_t length = 0;
  for (const std::string& line : lines) length += line.size() + 2;
  return length;
}

bool BodyHasEightBit(const std::vector<std::string>& lines) {
  for (const std::string& line : lines)
    if (HasEightBit(line)) return true;
  return false;
}

bool BodyIsAscii(const std::vector<std::string>& lines) {
  for (const std::string& line : lines)
    if (!IsAscii(line)) return false;
  return true;
}

bool SendLines(const HeaderLines& lines, MessageSink& sink) {
  for (const std::string& line : lines)
    if (!sink.SendLine(line)) return false;
  return true;
}

// Fills the block unless the file ends first; a read error keeps what came before it.
std::size_t FillBlock(os_file::ReadOnlyFile& file, std::array<std::uint8_t, kAttachmentBlock>& block,
                      bool& readFailed) {
  std::size_t filled = 0;
  try {
    while (filled < block.size()) {
      const std::size_t got = file.read(block.data() + filled, block.size() - filled);
      if (got == 0) break;
      filled += got;
    }
  } catch (const EInOutError&) {
    readFailed = true;
  }
  return filled;
}

bool SendRecipientHeaders(const MailMessage& message, MessageSink& sink) {
  for (std::size_t i = 0; i < message.ListTo.size(); ++i) {
    const Recipient to = SplitRecipient(message.ListTo[i]);
    const HeaderLines lines = to.Name.empty() ? HeaderLines{"To: " + to.Address + ";"}
                                              : HeaderWithValue("To: ", to.Name, " <" + to.Address + ">");
    if (!SendLines(lines, sink)) return false;
  }
  for (std::size_t i = 0; i < message.Listcc.size(); ++i) {
    const Recipient cc = SplitRecipient(message.Listcc[i]);
    const HeaderLines lines = cc.Name.empty() ? HeaderLines{"cc: " + cc.Address}
                                              : HeaderWithValue("cc: ", cc.Name, " <" + cc.Address + ">");
    if (!SendLines(lines, sink)) return false;
  }
  return true;
}

bool SendBody(const std::vector<std::string>& lines, bool quotedPrintable, MessageSink& sink) {
  const std::size_t length = BodyLength(lines);
  sink.Info(smMessageSize, std::to_string(length));
  QuotedPrintableEncoder encoder;
  BodyReader body(lines);
  std::size_t sent = 0;
  while (sent < length && !sink.Stopped()) {
    const std::string chunk = body.Next(kBodyChunk);
    if (chunk.empty()) break;  // the lines changed under us; what is left is not the body
    if (!sink.SendBuffer(quotedPrintable ? encoder.Encode(chunk) : chunk)) return false;
    sent += chunk.size();
    sink.Info(smSendingMessage, std::to_string(sent));
  }
  return sink.SendLine("");
}

}  // namespace

bool SendBase64File(const std::string& path, std::string_view contentType,
                    std::string_view disposition, MessageSink& sink) {
  sink.Info(smAttachmentName, path);
  if (sink.Stopped()) return true;
  std::optional<os_file::ReadOnlyFile> file;
  std::uint64_t size = 0;
  try {
    file.emplace(path);
    size = file->size();
  } catch (const EInOutError&) {
    return false;
  }

  const std::string name = FileNamePart(path);
  HeaderLines partHeader = {"--" + std::string(kMailBoundary)};
  for (std::string& line : WithFileName("Content-Type: " + std::string(contentType), "name", name))
    partHeader.push_back(std::move(line));
  partHeader.push_back("Content-Transfer-Encoding: base64");
  for (std::string& line : WithFileName("Content-Disposition: " + std::string(disposition), "filename", name))
    partHeader.push_back(std::move(line));
  partHeader.push_back("");
  if (!SendLines(partHeader, sink)) return true;
  sink.Info(smAttachmentSize, std::to_string(size));

  std::array<std::uint8_t, kAttachmentBlock> block;
  std::uint64_t encoded = 0;
  bool readFailed = false;
  for (;;) {
    const std::size_t filled = FillBlock(*file, block, readFailed);
    for (std::size_t at = 0; at < filled; at += kBase64LineBytes) {
      const std::size_t count = std::min(kBase64LineBytes, filled - at);
      if (!sink.SendLine(Base64Encode(block.data() + at, count))) return true;
      encoded += count;
      if (count == kBase64LineBytes) sink.Info(smAttachmentBytes, std::to_string(encoded));
    }
    if (sink.Stopped()) return true;
    if (filled < block.size()) break;
  }
  // The last count is the bytes really encoded, so the progress ends on the file's size.
  sink.Info(smAttachmentBytes, std::to_string(encoded));
  return !readFailed;
}

void WriteMessage(const MailMessage& message, MessageSink& sink) {
  const bool multipart = !message.Attachments.empty();
  const bool quotedPrintable = BodyHasEightBit(message.MailText);
  const std::string textType = TextContentType(BodyIsAscii(message.MailText));
  const std::string boundary(kMailBoundary);

  if (!SendLines(HeaderWithValue("From: ", message.FROM_Name, " <" + message.FROM_Address + ">"), sink)) return;
  if (!SendRecipientHeaders(message, sink)) return;
  if (!message.Subject.empty() && !SendLines(EncodeHeader("Subject: " + message.Subject), sink)) return;
  if (!sink.SendLine("Mime-Version: 1.0")) return;
  if (multipart) {
    if (!sink.SendLine(std::string(kMultipartType) + boundary + "\"")) return;
  } else {
    if (!sink.SendLine(textType)) return;
    if (quotedPrintable && !sink.SendLine(kQuotedPrintableLine)) return;
  }
  for (std::size_t i = 0; i < message.Headers.size(); ++i)
    if (!SendLines(EncodeHeader(message.Headers[i]), sink)) return;
  if (!sink.SendLine("")) return;

  if (multipart && !message.MailText.empty()) {
    if (!sink.SendLine("--" + boundary) || !sink.SendLine(textType)) return;
    if (quotedPrintable && !sink.SendLine(kQuotedPrintableLine)) return;
    if (!sink.SendLine("")) return;
  }
  if (!message.MailText.empty() && !SendBody(message.MailText, quotedPrintable, sink)) return;

  if (!multipart) return;
  for (std::size_t i = 0; i < message.Attachments.size() && !sink.Stopped(); ++i) {
    const std::string path = message.Attachments[i];
    if (!SendBase64File(path, "application/octet-stream", "attachment", sink))
      sink.Info(smBadAttachment, path);
  }
  if (!sink.SendLine("--" + boundary + "--")) return;
  sink.SendLine("");
}
