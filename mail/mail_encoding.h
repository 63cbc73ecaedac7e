#pragma once
// The encodings of a mail message: encoded words for header values with bytes above 126,
// quoted-printable for 8-bit bodies and base64 for attachments. Text is UTF-8, and says so
// wherever it is not plain ASCII.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A header field as the lines it goes out on: the first, then each folded one (it starts with
// a space, and the reader joins it to the line before).
using HeaderLines = std::vector<std::string>;

// True when a byte is neither CR, LF nor printable ASCII (32..126); a tab is such a byte.
bool HasEightBit(std::string_view text);
bool IsAscii(std::string_view text);  // no byte above 127

// The content type of the text: us-ascii while it is plain ASCII, else utf-8.
std::string TextContentType(bool ascii);

// The value unchanged (one word) when no byte is above 126; otherwise UTF-8 encoded words
// ("=?UTF-8?Q?...?=", spaces as "_", only letters, digits and !*+-/ as themselves) of at most
// 75 characters each, cut only between characters, so that a long name in any script never
// meets the line limit.
std::vector<std::string> EncodeWord(std::string_view value);

// `before`, the value's words one to a line, and `after` on the last line.
HeaderLines HeaderWithValue(std::string_view before, std::string_view value, std::string_view after = "");

// "Field: value" with the value (at most 999 bytes, never half a character) through EncodeWord
// and two spaces appended; a line without ": " is returned unchanged.
HeaderLines EncodeHeader(std::string_view line);

// "Field; parameter="name"" for a file name. A name that is not plain ASCII goes as the
// parameter's UTF-8 form (RFC 2231: "parameter*0*=UTF-8''%E5..."), in pieces on folded lines,
// which mail programs show as the name.
HeaderLines WithFileName(std::string_view field, std::string_view parameter, std::string_view name);

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
