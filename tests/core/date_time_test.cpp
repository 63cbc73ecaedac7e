// The day count and its calendar.
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <limits>

#include "storage/date_time.h"
#include "storage/io_error.h"

namespace {

void ExpectParts(QDateTime value, int y, int mo, int d, int h, int mi, int s, int weekday) {
  const DateTimeParts p = DecodeDateTime(value);
  EXPECT_EQ(p.year, y) << value;
  EXPECT_EQ(p.month, mo) << value;
  EXPECT_EQ(p.day, d) << value;
  EXPECT_EQ(p.hour, h) << value;
  EXPECT_EQ(p.minute, mi) << value;
  EXPECT_EQ(p.second, s) << value;
  EXPECT_EQ(p.dayOfWeek, weekday) << value;
}

TEST(DateTime, KnownDaysHaveTheirCounts) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
  EXPECT_EQ(EncodeDate(1970, 1, 1), 25569);
  EXPECT_EQ(EncodeDate(2000, 2, 29), 36585);
  EXPECT_EQ(EncodeDate(2026, 12, 6), 46362);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
  EXPECT_EQ(EncodeTime(12, 0, 0), 0.5);
  EXPECT_EQ(EncodeTime(6, 0, 0), 0.25);
  EXPECT_EQ(EncodeDateTime(2026, 12, 6, 18, 0, 0), 46362.75);

  ExpectParts(46362.75, 2026, 12, 6, 18, 0, 0, 0);  // a Sunday
  ExpectParts(0, 1899, 12, 30, 0, 0, 0, 6);         // a Saturday
  ExpectParts(-693593, 1, 1, 1, 0, 0, 0, 1);        // a Monday
  ExpectParts(2958465.5, 9999, 12, 31, 12, 0, 0, 5);
}

TEST(DateTime, EveryDayOfTheCalendarDecodesToItself) {
  int expectedWeekday = 1;  // 1 January 1 was a Monday
  int days = 0;
  for (int year = 1; year <= 9999; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= DaysInMonth(year, month); ++day, ++days) {
        const QDateTime value = EncodeDate(year, month, day);
        ASSERT_EQ(value, -693593 + days);
        const DateTimeParts p = DecodeDateTime(ComposeDateTime(value, 0.5));
        ASSERT_EQ(p.year * 10000 + p.month * 100 + p.day, year * 10000 + month * 100 + day);
        ASSERT_EQ(p.dayOfWeek, expectedWeekday);
        expectedWeekday = (expectedWeekday + 1) % 7;
      }
    }
  }
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
}

TEST(DateTime, DaysBeforeTheEpochCountTheirTimeForward) {
  EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0), -1.25);
  EXPECT_EQ(ComposeDateTime(-1, 0.25), -1.25);
  EXPECT_EQ(ComposeDateTime(2, 0.25), 2.25);
  ExpectParts(-1.25, 1899, 12, 29, 6, 0, 0, 5);
  ExpectParts(-0.25, 1899, 12, 30, 6, 0, 0, 6);
  ExpectParts(EncodeDateTime(1066, 10, 14, 9, 30, 15), 1066, 10, 14, 9, 30, 15, 0);
}

TEST(DateTime, TimesAreRoundedToTheMillisecondThenCut) {
  for (int second = 0; second < 86400; second += 61) {
    const QDateTime value = EncodeDateTime(2026, 12, 6, second / 3600, second / 60 % 60, second % 60);
    ExpectParts(value, 2026, 12, 6, second / 3600, second / 60 % 60, second % 60, 0);
  }
  const QDateTime lastSecond = EncodeDateTime(2026, 12, 6, 23, 59, 59);
  ExpectParts(lastSecond + 0.4 / 86400, 2026, 12, 6, 23, 59, 59, 0);
  ExpectParts(lastSecond + 0.9999999 / 86400, 2026, 12, 7, 0, 0, 0, 1);
  ExpectParts(EncodeDate(2026, 12, 6) + 1.0 / 3 - 1e-12, 2026, 12, 6, 8, 0, 0, 0);
}

TEST(DateTime, ImpossibleValuesAreConversionErrors) {
  EXPECT_THROW(EncodeDate(2026, 2, 29), EConvertError);
  EXPECT_THROW(EncodeDate(2026, 13, 1), EConvertError);
  EXPECT_THROW(EncodeDate(2026, 4, 31), EConvertError);
  EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
  EXPECT_THROW(EncodeDate(10000, 1, 1), EConvertError);
  EXPECT_THROW(EncodeTime(24, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 60, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, -1), EConvertError);
  EXPECT_THROW(DecodeDateTime(std::numeric_limits<double>::quiet_NaN()), EConvertError);
  EXPECT_THROW(DecodeDateTime(std::numeric_limits<double>::infinity()), EConvertError);
  EXPECT_THROW(DecodeDateTime(2958466), EConvertError);
  EXPECT_THROW(DecodeDateTime(2958465.999999997), EConvertError);  // rounds into the year 10000
  EXPECT_THROW(DecodeDateTime(-693594), EConvertError);
  EXPECT_THROW(DecodeDateTime(1e300), EConvertError);
}

TEST(DateTime, NowIsTheLocalClock) {
  // The local time differs from UTC by at most 14 hours.
  const double utcNow = static_cast<double>(std::time(nullptr)) / 86400 + 25569;
  EXPECT_LT(std::fabs(NowDateTime() - utcNow), 15.0 / 24);
}

}  // namespace
