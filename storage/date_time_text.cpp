#include "storage/date_time_text.h"

#include <algorithm>
#include <span>

#include "storage/date_picture.h"
#include "storage/io_error.h"

namespace {

std::string Padded(int value, int count) {
  std::string digits = std::to_string(value);
  const std::size_t width = count >= 2 ? 2 : 1;
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

std::string Format(QDateTime value, std::string_view picture, const LocalePictures& locale) {
  const DateTimeParts p = DecodeDateTime(value);
  std::string text;
  for (const PictureToken& token : SplitPicture(picture)) {
    switch (token.element) {
      case PictureElement::kLiteral: text += token.literal; break;
      case PictureElement::kDay:
        text += token.count >= 4   ? locale.dayNames[p.dayOfWeek]
                : token.count == 3 ? locale.shortDayNames[p.dayOfWeek]
                                   : Padded(p.day, token.count);
        break;
      case PictureElement::kMonth:
        text += token.count >= 4   ? locale.monthNames[p.month - 1]
                : token.count == 3 ? locale.shortMonthNames[p.month - 1]
                                   : Padded(p.month, token.count);
        break;
      case PictureElement::kYear: {
        std::string year = token.count >= 3 ? std::to_string(p.year) : Padded(p.year % 100, token.count);
        if (token.count >= 3 && year.size() < 4) year.insert(0, 4 - year.size(), '0');
        text += year;
        break;
      }
      case PictureElement::kEra: break;  // the Gregorian era has no text worth storing
      case PictureElement::kHour12: text += Padded(p.hour % 12 == 0 ? 12 : p.hour % 12, token.count); break;
      case PictureElement::kHour24: text += Padded(p.hour, token.count); break;
      case PictureElement::kMinute: text += Padded(p.minute, token.count); break;
      case PictureElement::kSecond: text += Padded(p.second, token.count); break;
      case PictureElement::kAmPm: {
        const std::string& designator = p.hour < 12 ? locale.am : locale.pm;
        text += token.count == 1 ? designator.substr(0, 1) : designator;
        break;
      }
    }
  }
  return text;
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return prefix.size() <= text.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(),
                    [](char a, char b) { return LowerAscii(a) == LowerAscii(b); });
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// What a text held for each element; -1 where the picture has no such element.
struct Fields {
  int year = -1, yearDigits = 0, month = -1, day = -1;
  int hour = -1, minute = -1, second = -1;
  bool twelveHour = false;
  int meridiem = 0;  // 0 none, 1 AM, 2 PM
};

class Scanner {
 public:
  explicit Scanner(std::string_view text) : rest_(text) {}
  bool done() const { return rest_.empty(); }

  // A space of the picture matches any run of blanks, none included: a locale whose
  // designator is empty formats "9:00:00 " and the trailing blank is trimmed away.
  bool literal(std::string_view text) {
    for (const char c : text) {
      if (c == ' ') {
        while (!rest_.empty() && IsBlank(rest_.front())) rest_.remove_prefix(1);
      } else if (!rest_.empty() && rest_.front() == c) {
        rest_.remove_prefix(1);
      } else {
        return false;
      }
    }
    return true;
  }

  bool number(std::size_t maxDigits, int& value, int* digitsRead = nullptr) {
    std::size_t digits = 0;
    value = 0;
    while (digits < maxDigits && digits < rest_.size() && rest_[digits] >= '0' && rest_[digits] <= '9')
      value = value * 10 + (rest_[digits++] - '0');
    if (digits == 0) return false;
    rest_.remove_prefix(digits);
    if (digitsRead) *digitsRead = static_cast<int>(digits);
    return true;
  }

  // Index of the longest name that starts the rest of the text; names are tried from both lists.
  int name(std::span<const std::string> longNames, std::span<const std::string> shortNames) {
    int best = -1;
    std::size_t bestLength = 0;
    for (const auto names : {longNames, shortNames}) {
      for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i].size() > bestLength && StartsWithNoCase(rest_, names[i])) {
          best = static_cast<int>(i);
          bestLength = names[i].size();
        }
      }
    }
    rest_.remove_prefix(bestLength);
    return best;
  }

  // 1 for AM, 2 for PM, 0 when neither matches.
  int designator(std::string_view am, std::string_view pm) {
    const bool amFits = !am.empty() && StartsWithNoCase(rest_, am);
    const bool pmFits = !pm.empty() && StartsWithNoCase(rest_, pm);
    if (pmFits && (!amFits || pm.size() > am.size())) {
      rest_.remove_prefix(pm.size());
      return 2;
    }
    if (amFits) {
      rest_.remove_prefix(am.size());
      return 1;
    }
    // A locale may leave one designator empty; its absence then names that half of the day.
    return am.empty() ? 1 : pm.empty() ? 2 : 0;
  }

 private:
  std::string_view rest_;
};

bool Scan(std::string_view text, std::string_view picture, const LocalePictures& locale, Fields& f) {
  Scanner in(Trimmed(text));
  for (const PictureToken& token : SplitPicture(picture)) {
    bool ok = true;
    switch (token.element) {
      case PictureElement::kLiteral: ok = in.literal(token.literal); break;
      case PictureElement::kDay:
        if (token.count >= 3)
          ok = in.name(locale.dayNames, locale.shortDayNames) >= 0;  // implied by the date itself
        else
          ok = in.number(2, f.day);
        break;
      case PictureElement::kMonth:
        if (token.count >= 3) {
          f.month = in.name(locale.monthNames, locale.shortMonthNames) + 1;
          ok = f.month > 0;
        } else {
          ok = in.number(2, f.month);
        }
        break;
      case PictureElement::kYear: ok = in.number(token.count >= 3 ? 4 : 2, f.year, &f.yearDigits); break;
      case PictureElement::kEra: break;
      case PictureElement::kHour12:
        f.twelveHour = true;
        ok = in.number(2, f.hour);
        break;
      case PictureElement::kHour24:
        f.twelveHour = false;
        ok = in.number(2, f.hour);
        break;
      case PictureElement::kMinute: ok = in.number(2, f.minute); break;
      case PictureElement::kSecond: ok = in.number(2, f.second); break;
      case PictureElement::kAmPm:
        f.meridiem = token.count == 1 ? in.designator(std::string_view(locale.am).substr(0, 1),
                                                      std::string_view(locale.pm).substr(0, 1))
                                      : in.designator(locale.am, locale.pm);
        ok = f.meridiem != 0;
        break;
    }
    if (!ok) return false;
  }
  return in.done();
}

std::string Quoted(std::string_view text) {
  std::string quoted(1, '\'');
  quoted.append(text).push_back('\'');
  return quoted;
}

}  // namespace

std::string FormatDateText(QDateTime value, const LocalePictures& pictures) {
  return Format(value, pictures.shortDate, pictures);
}

std::string FormatTimeText(QDateTime value, const LocalePictures& pictures) {
  return Format(value, pictures.longTime, pictures);
}

QDateTime ParseDateText(std::string_view text, const LocalePictures& pictures) {
  Fields f;
  if (Scan(text, pictures.shortDate, pictures, f)) {
    int year = f.year;
    if (year < 0)
      year = DecodeDateTime(NowDateTime()).year;
    else if (f.yearDigits <= 2)
      year += year < 50 ? 2000 : 1900;
    const int month = f.month < 0 ? 1 : f.month;
    const int day = f.day < 0 ? 1 : f.day;
    if (year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month))
      return EncodeDate(year, month, day);
  }
  throw EConvertError(Quoted(text) + " is not a valid date");
}

QDateTime ParseTimeText(std::string_view text, const LocalePictures& pictures) {
  Fields f;
  if (Scan(text, pictures.longTime, pictures, f)) {
    int hour = f.hour < 0 ? 0 : f.hour;
    const int minute = f.minute < 0 ? 0 : f.minute;
    const int second = f.second < 0 ? 0 : f.second;
    bool hourFits = hour <= 23;
    if (f.twelveHour && f.meridiem != 0) {
      hourFits = hour <= 12;
      hour = hour % 12 + (f.meridiem == 2 ? 12 : 0);
    }
    if (hourFits && minute <= 59 && second <= 59) return EncodeTime(hour, minute, second);
  }
  throw EConvertError(Quoted(text) + " is not a valid time");
}
