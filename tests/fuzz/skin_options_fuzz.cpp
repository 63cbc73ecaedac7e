// libFuzzer target for the values a skin reads from its "skin.ini". The input is the text of a
// skin.ini, read whole into skin options; its first line is also read as one skin integer and
// compared with the standard library's reading of the same text.
#include <charconv>
#include <cstdint>
#include <string_view>

#include "look/skin_options.h"
#include "tests/core/skin_test_profile.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr int32_t kFallback = 12345;

// Decimal with an optional sign, or hexadecimal after "0x" or "$", blanks around it ignored;
// decimal within 32 bits with sign, hexadecimal within 32 bits without (then negated).
int32_t ExpectedSkinInteger(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return kFallback;
  text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
  const bool negative = text.front() == '-';
  if (text.front() == '-' || text.front() == '+') text.remove_prefix(1);
  int base = 10;
  if (text.starts_with("$")) {
    base = 16;
    text.remove_prefix(1);
  } else if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  }
  uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size()) return kFallback;
  const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  if (value > limit) return kFallback;
  const auto bits = static_cast<uint32_t>(value);
  return static_cast<int32_t>(negative ? 0u - bits : bits);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string_view firstLine = text.substr(0, text.find('\n'));
  fuzz::Check(ParseSkinInteger(firstLine, kFallback) == ExpectedSkinInteger(firstLine),
              "a skin integer reads as the standard library reads it");

  SkinTestProfile profile(text);
  const TSkinOptions options = ReadSkinOptions(profile.Reader(), nullptr);
  for (const SkinElement element : kSkinElements) {
    const TSkinImage& image = options.Image(element);
    fuzz::Check(image.Present == !image.File.empty(), "a picture is present exactly when it names a file");
  }
  return 0;
}
