// libFuzzer target for the message composition: the input gives the sender's name, the
// subject, an extra header line and the body (each a length byte and its bytes), the rest
// is the attachment's content. The data the session sends must stay transparent (every
// line that begins with "." has it doubled, only the last line is "."), and the attachment's
// base64 lines must give back the file's bytes.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/core/smtp_harness.h"

namespace {

void Require(bool holds) {
  if (!holds) std::abort();
}

std::string TakeField(std::string_view& input) {
  if (input.empty()) return {};
  const std::size_t length = std::min<std::size_t>(static_cast<std::uint8_t>(input[0]), input.size() - 1);
  std::string field(input.substr(1, length));
  input.remove_prefix(1 + length);
  return field;
}

std::string DecodeBase64Lines(std::string_view lines) {
  static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string bytes;
  std::uint32_t bits = 0;
  int count = 0;
  for (const char c : lines) {
    const std::size_t value = alphabet.find(c);
    if (value == std::string::npos) continue;  // line breaks and padding
    bits = bits << 6 | static_cast<std::uint32_t>(value);
    if ((count += 6) >= 8) bytes += static_cast<char>(bits >> (count -= 8) & 0xFF);
  }
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/qkli-fuzz-" + std::to_string(::getpid()) + ".att";
  std::string_view input(reinterpret_cast<const char*>(data), size);
  SmtpHarness h;
  h.session.FROM_Name = TakeField(input);
  h.session.Subject = TakeField(input);
  h.session.Headers = {TakeField(input)};
  h.session.MailText = {TakeField(input)};
  h.session.Attachments = {path};
  std::FILE* file = std::fopen(path.c_str(), "wb");
  Require(file != nullptr && std::fwrite(input.data(), 1, input.size(), file) == input.size());
  std::fclose(file);

  const std::string sent = h.DataOf();
  std::remove(path.c_str());
  Require(sent.ends_with("\r\n.\r\n"));
  for (std::size_t lineStart = 0; lineStart < sent.size() - 3; lineStart = sent.find('\n', lineStart) + 1)
    Require(sent[lineStart] != '.' || sent[lineStart + 1] == '.');

  const std::string partStart = "; filename=\"" + path.substr(path.rfind('/') + 1) + "\"\r\n\r\n";
  // The last such line: a subject or body may hold the same text.
  const std::size_t lines = sent.rfind(partStart) + partStart.size();
  const std::size_t end = sent.find("--==============ghyurgtfy573======___--", lines);
  Require(lines >= partStart.size() && end != std::string::npos);
  Require(DecodeBase64Lines(std::string_view(sent).substr(lines, end - lines)) == input);
  return 0;
}
