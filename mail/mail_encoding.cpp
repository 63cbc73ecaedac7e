#include "mail/mail_encoding.h"

#include "win/unicode.h"

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr char kBase64Alphabet[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
// A quoted-printable line may hold 76 characters; breaking once 70 are passed keeps even a
// three-character escape and the soft break's "=" within that.
constexpr int kQpBreakColumn = 70;
constexpr std::size_t kMaxHeaderValue = 999;
constexpr std::string_view kWordStart = "=?UTF-8?Q?";
constexpr std::string_view kWordEnd = "?=";
constexpr std::size_t kMaxWord = 75;
constexpr std::size_t kMaxParameterPiece = 60;  // escaped characters of a file name on one line
constexpr std::size_t kNotFound = std::string_view::npos;

void AppendHex(std::string& out, unsigned char byte, char escape = '=') {
  out += escape;
  out += kHexDigits[byte >> 4];
  out += kHexDigits[byte & 15];
}

bool IsAsciiLetterOrDigit(unsigned char byte) {
  return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

bool AnyByteAbove(std::string_view text, unsigned char limit) {
  for (const unsigned char byte : text)
    if (byte > limit) return true;
  return false;
}

// The value cut into its characters (an invalid byte is one of its own), each escaped by
// `escape`, and gathered into pieces of at most `room` characters.
template <typename Escape>
std::vector<std::string> EscapedPieces(std::string_view value, std::size_t room, Escape escape) {
  std::vector<std::string> pieces(1);
  for (std::size_t at = 0; at < value.size();) {
    const std::size_t start = at;
    win::NextCodePoint(value, at);
    std::string character;
    for (const unsigned char byte : value.substr(start, at - start)) escape(character, byte);
    if (pieces.back().size() + character.size() > room) pieces.emplace_back();
    pieces.back() += character;
  }
  return pieces;
}

// At most `limit` bytes of `text`, cut before a character that would not fit whole.
std::string_view CutBetweenCharacters(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

}  // namespace

bool HasEightBit(std::string_view text) {
  for (const unsigned char byte : text)
    if (byte != '\r' && byte != '\n' && (byte < 32 || byte > 126)) return true;
  return false;
}

bool IsAscii(std::string_view text) { return !AnyByteAbove(text, 127); }

std::string TextContentType(bool ascii) {
  return ascii ? "Content-Type: text/plain; charset=\"us-ascii\"" : "Content-Type: text/plain; charset=\"utf-8\"";
}

std::vector<std::string> EncodeWord(std::string_view value) {
  if (!AnyByteAbove(value, 126)) return {std::string(value)};
  // Within a display name only these may stand as themselves; "?", "=" and "_" never may.
  const auto escape = [](std::string& out, unsigned char byte) {
    if (byte == ' ')
      out += '_';
    else if (IsAsciiLetterOrDigit(byte) || std::string_view("!*+-/").find(static_cast<char>(byte)) != kNotFound)
      out += static_cast<char>(byte);
    else
      AppendHex(out, byte);
  };
  std::vector<std::string> words = EscapedPieces(value, kMaxWord - kWordStart.size() - kWordEnd.size(), escape);
  for (std::string& word : words) word = std::string(kWordStart) + word + std::string(kWordEnd);
  return words;
}

HeaderLines HeaderWithValue(std::string_view before, std::string_view value, std::string_view after) {
  HeaderLines lines = EncodeWord(value);
  for (std::size_t i = 1; i < lines.size(); ++i) lines[i].insert(0, " ");
  lines.front().insert(0, before);
  lines.back() += after;
  return lines;
}

HeaderLines EncodeHeader(std::string_view line) {
  const std::size_t colon = line.find(": ");
  if (colon == std::string_view::npos) return {std::string(line)};
  const std::string_view value = CutBetweenCharacters(line.substr(colon + 2), kMaxHeaderValue);
  return HeaderWithValue(line.substr(0, colon + 2), value, "  ");
}

HeaderLines WithFileName(std::string_view field, std::string_view parameter, std::string_view name) {
  const std::string fieldText(field), parameterText(parameter);
  if (!AnyByteAbove(name, 126)) return {fieldText + "; " + parameterText + "=\"" + std::string(name) + "\""};
  const auto escape = [](std::string& out, unsigned char byte) {
    if (IsAsciiLetterOrDigit(byte) || byte == '-' || byte == '.' || byte == '_')
      out += static_cast<char>(byte);
    else
      AppendHex(out, byte, '%');
  };
  const std::vector<std::string> pieces = EscapedPieces(name, kMaxParameterPiece, escape);
  HeaderLines lines = {fieldText + ";"};
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    lines.push_back(" " + parameterText + "*" + std::to_string(i) + "*=" + (i == 0 ? "UTF-8''" : "") + pieces[i] +
                    (i + 1 < pieces.size() ? ";" : ""));
  }
  return lines;
}

std::string QuotedPrintableEncoder::Encode(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 3 + bytes.size() / 20 * 3);
  for (const unsigned char byte : bytes) {
    if (byte < 33 || byte == '=' || byte > 126) {
      AppendHex(out, byte);
      qpColumn_ += 3;
    } else {
      out += static_cast<char>(byte);
      qpColumn_ += 1;
    }
    if (qpColumn_ > kQpBreakColumn) {
      out += "=\r\n";
      qpColumn_ = 0;
    }
  }
  return out;
}

std::string Base64Encode(const std::uint8_t* bytes, std::size_t count) {
  std::string out;
  out.reserve((count + 2) / 3 * 4);
  for (std::size_t at = 0; at < count; at += 3) {
    const std::size_t left = count - at;
    const std::uint32_t group = bytes[at] << 16 | (left > 1 ? bytes[at + 1] << 8 : 0) |
                                (left > 2 ? bytes[at + 2] : 0);
    out += kBase64Alphabet[group >> 18 & 63];
    out += kBase64Alphabet[group >> 12 & 63];
    out += left > 1 ? kBase64Alphabet[group >> 6 & 63] : '=';
    out += left > 2 ? kBase64Alphabet[group & 63] : '=';
  }
  return out;
}
