#include "mail/mail_encoding.h"

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr char kBase64Alphabet[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
// A quoted-printable line may hold 76 characters; breaking once 70 are passed keeps even a
// three-character escape and the soft break's "=" within that.
constexpr int kQpBreakColumn = 70;
constexpr std::size_t kMaxHeaderValue = 999;

void AppendHex(std::string& out, unsigned char byte) {
  out += '=';
  out += kHexDigits[byte >> 4];
  out += kHexDigits[byte & 15];
}

}  // namespace

bool HasEightBit(std::string_view text) {
  for (const unsigned char byte : text)
    if (byte != '\r' && byte != '\n' && (byte < 32 || byte > 126)) return true;
  return false;
}

std::string EncodeWord(std::string_view value) {
  bool aboveAscii = false;
  for (const unsigned char byte : value) aboveAscii = aboveAscii || byte > 126;
  if (!aboveAscii) return std::string(value);

  std::string word = "=?ISO-8859-1?Q?";
  for (const unsigned char byte : value) {
    // "?" would end the word early and a literal "_" would be read back as a space, so both
    // are escaped along with "=", control bytes and everything above 126.
    if (byte == ' ')
      word += '_';
    else if (byte > 32 && byte < 127 && byte != '=' && byte != '?' && byte != '_')
      word += static_cast<char>(byte);
    else
      AppendHex(word, byte);
  }
  return word + "?=";
}

std::string EncodeHeader(std::string_view line) {
  const std::size_t colon = line.find(": ");
  if (colon == std::string_view::npos) return std::string(line);
  const std::string_view field = line.substr(0, colon + 2);
  return std::string(field) + EncodeWord(line.substr(colon + 2, kMaxHeaderValue)) + "  ";
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
