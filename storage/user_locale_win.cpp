#include <windows.h>

#include <iterator>

#include "storage/date_time_text.h"
#include "win/unicode.h"

namespace {

// Leaves `into` at its default when the locale does not answer. Wide, so that names in any
// language come out whole whatever the ANSI code page.
void Read(LCTYPE item, std::string& into) {
  wchar_t text[128];
  const int length = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, item, text, static_cast<int>(std::size(text)));
  if (length > 0) into = win::Utf8(std::wstring_view(text, static_cast<std::size_t>(length - 1)));
}

}  // namespace

LocalePictures UserLocalePictures() {
  LocalePictures pictures;
  Read(LOCALE_SSHORTDATE, pictures.shortDate);
  Read(LOCALE_STIMEFORMAT, pictures.longTime);
  Read(LOCALE_S1159, pictures.am);
  Read(LOCALE_S2359, pictures.pm);
  for (int month = 0; month < 12; ++month) {
    Read(LOCALE_SMONTHNAME1 + month, pictures.monthNames[month]);
    Read(LOCALE_SABBREVMONTHNAME1 + month, pictures.shortMonthNames[month]);
  }
  // Windows counts the days from Monday; the pictures count them from Sunday.
  for (int day = 0; day < 7; ++day) {
    Read(LOCALE_SDAYNAME1 + day, pictures.dayNames[(day + 1) % 7]);
    Read(LOCALE_SABBREVDAYNAME1 + day, pictures.shortDayNames[(day + 1) % 7]);
  }
  return pictures;
}
