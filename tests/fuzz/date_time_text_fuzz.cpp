// libFuzzer target for date and time texts as the files hold them. The first byte picks the
// user's pictures: one of the pictures real locales use, or, for the last choice, pictures
// taken from the input itself. The rest is lines: with real pictures a date text and a time
// text; with pictures from the input first the short date picture, the long time picture and
// the two designators. A text that reads becomes a value that formats, and with real pictures
// the formatted text reads as the same value again. Anything but EConvertError aborts.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "storage/date_time_text.h"
#include "storage/io_error.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

struct RealPictures {
  const char *shortDate, *longTime, *am, *pm;
};

constexpr RealPictures kRealPictures[] = {
    {"M/d/yyyy", "h:mm:ss tt", "AM", "PM"},        {"dd/MM/yyyy", "HH:mm:ss", "", ""},
    {"dd.MM.yyyy", "HH:mm:ss", "", ""},            {"yyyy-MM-dd", "H:mm:ss", "", ""},
    {"d. M. yyyy", "H:mm:ss", "dop.", "odp."},     {"yyyy.MM.dd.", "tt h:mm:ss", "AM", "PM"},
    {"d/M/yy", "hh:mm:ss t", "a.m.", "p.m."},      {"dd-MMM-yy", "hh:mm:ss tt", "AM", "PM"},
    {"dddd, d 'de' MMMM 'de' yyyy", "HH'h'mm", "", ""},
};
constexpr size_t kPictureChoices = std::size(kRealPictures) + 1;

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  for (size_t end; (end = text.find('\n')) != std::string_view::npos; text.remove_prefix(end + 1))
    lines.push_back(text.substr(0, end));
  lines.push_back(text);
  return lines;
}

template <typename Parse, typename Format>
void ReadBack(std::string_view text, const LocalePictures& pictures, bool realPictures, Parse parse,
              Format format) {
  QDateTime value;
  try {
    value = parse(text, pictures);
  } catch (const EConvertError&) {
    return;
  }
  const std::string formatted = format(value, pictures);
  if (!realPictures) return;
  QDateTime again = -1e9;
  try {
    again = parse(formatted, pictures);
  } catch (const EConvertError&) {
  }
  fuzz::Check(again == value, "a text that reads formats to a text that reads the same");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t choice = data[0] % kPictureChoices;
  std::vector<std::string_view> lines = Lines(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  LocalePictures pictures;
  const bool realPictures = choice < std::size(kRealPictures);
  if (realPictures) {
    const RealPictures& real = kRealPictures[choice];
    pictures.shortDate = real.shortDate;
    pictures.longTime = real.longTime;
    pictures.am = real.am;
    pictures.pm = real.pm;
  } else {
    lines.resize(std::max<size_t>(lines.size(), 6));
    pictures.shortDate = lines[0];
    pictures.longTime = lines[1];
    pictures.am = lines[2];
    pictures.pm = lines[3];
    lines.erase(lines.begin(), lines.begin() + 4);
  }
  lines.resize(std::max<size_t>(lines.size(), 2));
  ReadBack(lines[0], pictures, realPictures, ParseDateText, FormatDateText);
  ReadBack(lines[1], pictures, realPictures, ParseTimeText, FormatTimeText);
  return 0;
}
