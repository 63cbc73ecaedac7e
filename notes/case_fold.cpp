#include "notes/case_fold.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace {

// A run of capitals: every character of [First, Last] folds to itself + Delta, or, for an
// alternating run (capital, small, capital, ...), every other one from First folds to the next.
struct FoldRun {
  char32_t First, Last;
  int32_t Delta;  // 0: alternating
};

constexpr FoldRun kRuns[] = {
    {0x0041, 0x005A, 32},    {0x00B5, 0x00B5, 775},   {0x00C0, 0x00D6, 32},    {0x00D8, 0x00DE, 32},
    {0x0100, 0x012F, 0},     {0x0132, 0x0137, 0},     {0x0139, 0x0148, 0},     {0x014A, 0x0177, 0},
    {0x0178, 0x0178, -121},  {0x0179, 0x017E, 0},     {0x017F, 0x017F, -268},  {0x0181, 0x0181, 210},
    {0x0182, 0x0185, 0},     {0x0186, 0x0186, 206},   {0x0187, 0x0188, 0},     {0x0189, 0x018A, 205},
    {0x018B, 0x018C, 0},     {0x018E, 0x018E, 79},    {0x018F, 0x018F, 202},   {0x0190, 0x0190, 203},
    {0x0191, 0x0192, 0},     {0x0193, 0x0193, 205},   {0x0194, 0x0194, 207},   {0x0196, 0x0196, 211},
    {0x0197, 0x0197, 209},   {0x0198, 0x0199, 0},     {0x019C, 0x019C, 211},   {0x019D, 0x019D, 213},
    {0x019F, 0x019F, 214},   {0x01A0, 0x01A5, 0},     {0x01A6, 0x01A6, 218},   {0x01A7, 0x01A8, 0},
    {0x01A9, 0x01A9, 218},   {0x01AC, 0x01AD, 0},     {0x01AE, 0x01AE, 218},   {0x01AF, 0x01B0, 0},
    {0x01B1, 0x01B2, 217},   {0x01B3, 0x01B6, 0},     {0x01B7, 0x01B7, 219},   {0x01B8, 0x01B9, 0},
    {0x01BC, 0x01BD, 0},     {0x01C4, 0x01C4, 2},     {0x01C5, 0x01C5, 1},     {0x01C7, 0x01C7, 2},
    {0x01C8, 0x01C8, 1},     {0x01CA, 0x01CA, 2},     {0x01CB, 0x01DC, 0},     {0x01DE, 0x01EF, 0},
    {0x01F1, 0x01F1, 2},     {0x01F2, 0x01F5, 0},     {0x01F6, 0x01F6, -97},   {0x01F7, 0x01F7, -56},
    {0x01F8, 0x021F, 0},     {0x0220, 0x0220, -130},  {0x0222, 0x0233, 0},     {0x023A, 0x023A, 10795},
    {0x023B, 0x023C, 0},     {0x023D, 0x023D, -163},  {0x023E, 0x023E, 10792}, {0x0241, 0x0242, 0},
    {0x0243, 0x0243, -195},  {0x0244, 0x0244, 69},    {0x0245, 0x0245, 71},    {0x0246, 0x024F, 0},
    {0x0345, 0x0345, 116},   {0x0370, 0x0373, 0},     {0x0376, 0x0377, 0},     {0x037F, 0x037F, 116},
    {0x0386, 0x0386, 38},    {0x0388, 0x038A, 37},    {0x038C, 0x038C, 64},    {0x038E, 0x038F, 63},
    {0x0391, 0x03A1, 32},    {0x03A3, 0x03AB, 32},    {0x03C2, 0x03C2, 1},     {0x03CF, 0x03CF, 8},
    {0x03D0, 0x03D0, -30},   {0x03D1, 0x03D1, -25},   {0x03D5, 0x03D5, -15},   {0x03D6, 0x03D6, -22},
    {0x03D8, 0x03EF, 0},     {0x03F0, 0x03F0, -54},   {0x03F1, 0x03F1, -48},   {0x03F4, 0x03F4, -60},
    {0x03F5, 0x03F5, -64},   {0x03F7, 0x03F8, 0},     {0x03F9, 0x03F9, -7},    {0x03FA, 0x03FB, 0},
    {0x03FD, 0x03FF, -130},  {0x0400, 0x040F, 80},    {0x0410, 0x042F, 32},    {0x0460, 0x0481, 0},
    {0x048A, 0x04BF, 0},     {0x04C0, 0x04C0, 15},    {0x04C1, 0x04CE, 0},     {0x04D0, 0x052F, 0},
    {0x0531, 0x0556, 48},    {0x10A0, 0x10C5, 7264},  {0x10C7, 0x10C7, 7264},  {0x10CD, 0x10CD, 7264},
    {0x1C90, 0x1CBA, -3008}, {0x1CBD, 0x1CBF, -3008}, {0x1E00, 0x1E95, 0},     {0x1E9B, 0x1E9B, -58},
    {0x1E9E, 0x1E9E, -7615}, {0x1EA0, 0x1EFF, 0},     {0x1F08, 0x1F0F, -8},    {0x1F18, 0x1F1D, -8},
    {0x1F28, 0x1F2F, -8},    {0x1F38, 0x1F3F, -8},    {0x1F48, 0x1F4D, -8},    {0x1F59, 0x1F59, -8},
    {0x1F5B, 0x1F5B, -8},    {0x1F5D, 0x1F5D, -8},    {0x1F5F, 0x1F5F, -8},    {0x1F68, 0x1F6F, -8},
    {0x1FB8, 0x1FB9, -8},    {0x1FBA, 0x1FBB, -74},   {0x1FBE, 0x1FBE, -7173}, {0x1FC8, 0x1FCB, -86},
    {0x1FD8, 0x1FD9, -8},    {0x1FDA, 0x1FDB, -100},  {0x1FE8, 0x1FE9, -8},    {0x1FEA, 0x1FEB, -112},
    {0x1FEC, 0x1FEC, -7},    {0x1FF8, 0x1FF9, -128},  {0x1FFA, 0x1FFB, -126},  {0x2126, 0x2126, -7517},
    {0x212A, 0x212A, -8383}, {0x212B, 0x212B, -8262}, {0x2132, 0x2132, 28},    {0x2160, 0x216F, 16},
    {0x2183, 0x2184, 0},     {0x24B6, 0x24CF, 26},    {0x2C00, 0x2C2F, 48},    {0x2C60, 0x2C61, 0},
    {0x2C62, 0x2C62, -10743}, {0x2C63, 0x2C63, -3814}, {0x2C64, 0x2C64, -10727}, {0x2C67, 0x2C6C, 0},
    {0x2C6D, 0x2C6D, -10780}, {0x2C6E, 0x2C6E, -10749}, {0x2C6F, 0x2C6F, -10783}, {0x2C70, 0x2C70, -10782},
    {0x2C72, 0x2C73, 0},     {0x2C75, 0x2C76, 0},     {0x2C7E, 0x2C7F, -10815}, {0x2C80, 0x2CE3, 0},
    {0xA640, 0xA66D, 0},     {0xA680, 0xA69B, 0},     {0xA722, 0xA72F, 0},     {0xA732, 0xA76F, 0},
    {0xA779, 0xA77C, 0},     {0xA77D, 0xA77D, -35332}, {0xA77E, 0xA787, 0},     {0xA78B, 0xA78C, 0},
    {0xA790, 0xA793, 0},     {0xA796, 0xA7A9, 0},     {0xFF21, 0xFF3A, 32},
};

// The last run that starts at or before c.
const FoldRun* RunOf(char32_t c) {
  const auto after = std::upper_bound(std::begin(kRuns), std::end(kRuns), c,
                                      [](char32_t value, const FoldRun& run) { return value < run.First; });
  return after == std::begin(kRuns) ? nullptr : std::prev(after);
}

// Stand-ins for the bytes that are no part of valid UTF-8: surrogates, which no valid text holds.
constexpr char32_t kLoneByteBase = 0xDC00;

// Writes c in UTF-8 at `out`; returns the end.
char* WriteUtf8(char* out, char32_t c) {
  if (c < 0x80) {
    *out++ = static_cast<char>(c);
  } else if (c < 0x800) {
    *out++ = static_cast<char>(0xC0 | (c >> 6));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (c >> 12));
    *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (c >> 18));
    *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

}  // namespace

char32_t FoldCase(char32_t c) {
  if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + 32 : c;
  const FoldRun* run = RunOf(c);
  if (run == nullptr || c > run->Last) return c;
  if (run->Delta != 0) return static_cast<char32_t>(static_cast<int32_t>(c) + run->Delta);
  return (c - run->First) % 2 == 0 ? c + 1 : c;
}

size_t DecodeUtf8(std::string_view text, size_t at, char32_t& c) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  const size_t length = lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
  c = lead < 0x80 ? lead : kLoneByteBase + lead;
  if (length == 0 || at + length > text.size()) return 1;
  char32_t value = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 1;
    value = (value << 6) | (byte(at + i) & 0x3F);
  }
  // Overlong forms, surrogates and values past Unicode are no characters either.
  const bool overlong = (length == 3 && value < 0x800) || (length == 4 && (value < 0x10000 || value > 0x10FFFF));
  if (overlong || (value >= 0xD800 && value <= 0xDFFF)) return 1;
  c = value;
  return length;
}

void FoldUtf8(std::string_view text, std::string& into) {
  // Written through a pointer into room made beforehand: a folded character never takes more
  // than three bytes for each byte it came from.
  const size_t begin = into.size();
  into.resize(begin + 3 * text.size());
  char* out = into.data() + begin;
  for (size_t at = 0; at < text.size();) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x80) {
      *out++ = static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte + 32 : byte);
      ++at;
      continue;
    }
    char32_t c;
    at += DecodeUtf8(text, at, c);
    out = WriteUtf8(out, FoldCase(c));
  }
  into.resize(static_cast<size_t>(out - into.data()));
}

size_t FoldedLength(char32_t c) {
  const char32_t folded = FoldCase(c);
  return folded < 0x80 ? 1 : folded < 0x800 ? 2 : folded < 0x10000 ? 3 : 4;
}
