#include "storage/date_time.h"

#include <cmath>

#include "storage/io_error.h"

namespace {

constexpr long long kMsPerDay = 86'400'000;
constexpr long long kFirstDay = -693'593;   // 1 January 1
constexpr long long kLastDay = 2'958'465;   // 31 December 9999
constexpr long long kUnixEpochDay = 25'569;  // 1 January 1970

// Days since 1 January 1970 (H. Hinnant's civil calendar algorithms).
long long DaysFromCivil(long long y, int m, int d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146'097 + doe - 719'468;
}

void CivilFromDays(long long z, int& year, int& month, int& day) {
  z += 719'468;
  const long long era = (z >= 0 ? z : z - 146'096) / 146'097;
  const long long doe = z - era * 146'097;
  const long long yoe = (doe - doe / 1460 + doe / 36'524 - doe / 146'096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

QDateTime EncodeDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
    throw EConvertError("Invalid argument to date encode");
  return static_cast<double>(DaysFromCivil(year, month, day) + kUnixEpochDay);
}

QDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
      millisecond > 999)
    throw EConvertError("Invalid argument to time encode");
  return ((hour * 3600 + minute * 60 + second) * 1000 + millisecond) / static_cast<double>(kMsPerDay);
}

QDateTime ComposeDateTime(QDateTime date, QDateTime timeOfDay) {
  return date < 0 ? date - timeOfDay : date + timeOfDay;
}

QDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second) {
  return ComposeDateTime(EncodeDate(year, month, day), EncodeTime(hour, minute, second));
}

DateTimeParts DecodeDateTime(QDateTime value) {
  if (!std::isfinite(value) || value <= kFirstDay - 1 || value >= kLastDay + 1)
    throw EConvertError("Invalid argument to date decode");
  const double whole = std::trunc(value);
  long long day = static_cast<long long>(whole);
  long long ms = std::llround(std::fabs(value - whole) * kMsPerDay);
  if (ms >= kMsPerDay) {  // rounded up to the next midnight
    ms -= kMsPerDay;
    ++day;
  }
  if (day < kFirstDay || day > kLastDay) throw EConvertError("Invalid argument to date decode");

  DateTimeParts parts{};
  CivilFromDays(day - kUnixEpochDay, parts.year, parts.month, parts.day);
  const long long seconds = ms / 1000;
  parts.hour = static_cast<int>(seconds / 3600);
  parts.minute = static_cast<int>(seconds / 60 % 60);
  parts.second = static_cast<int>(seconds % 60);
  parts.dayOfWeek = static_cast<int>(((day % 7) + 7 + 6) % 7);  // day 0 was a Saturday
  return parts;
}
