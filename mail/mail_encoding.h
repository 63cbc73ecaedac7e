#pragma once
// The encodings of a mail message: encoded words for header values with bytes above 126,
// quoted-printable for 8-bit bodies and base64 for attachments.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// True when a byte is neither CR, LF nor printable ASCII (32..126); a tab is such a byte.
bool HasEightBit(std::string_view text);

// The value unchanged when no byte is above 126; otherwise the whole value as one
// "=?ISO-8859-1?Q?...?=" word, spaces as "_".
std::string EncodeWord(std::string_view value);

// "Field: value" with the value (at most 999 characters) through EncodeWord and two spaces
// appended; a line without ": " is returned unchanged.
std::string EncodeHeader(std::string_view line);

// Quoted-printable where the text's own line breaks are encoded too ("=0D=0A"), so only soft
// breaks cut the output. The column carries over from one call to the next, so a body can be
// encoded chunk by chunk.
class QuotedPrintableEncoder {
 public:
  std::string Encode(std::string_view bytes);
  int QpColumn() const { return qpColumn_; }

 private:
  int qpColumn_ = 0;
};

// Standard base64 with "=" padding, no line breaks.
std::string Base64Encode(const std::uint8_t* bytes, std::size_t count);
