// Dates and times as text in short-date and long-time pictures, and back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "storage/date_time_text.h"
#include "storage/io_error.h"

namespace {

LocalePictures With(std::string shortDate, std::string longTime) {
  LocalePictures pictures;
  pictures.shortDate = std::move(shortDate);
  pictures.longTime = std::move(longTime);
  return pictures;
}

TEST(DateTimeText, FormatsInTheGivenPictures) {
  const LocalePictures us;
  const QDateTime stamp = EncodeDateTime(2026, 12, 6, 14, 26, 0);
  EXPECT_EQ(FormatDateText(stamp, us), "12/6/2026");
  EXPECT_EQ(FormatTimeText(stamp, us), "2:26:00 PM");
  EXPECT_EQ(FormatTimeText(EncodeDateTime(2026, 1, 2, 0, 0, 0), us), "12:00:00 AM");
  EXPECT_EQ(FormatTimeText(EncodeDateTime(2026, 1, 2, 12, 0, 0), us), "12:00:00 PM");
  EXPECT_EQ(FormatTimeText(EncodeDateTime(2026, 1, 2, 9, 5, 3), us), "9:05:03 AM");

  const QDateTime morning = EncodeDateTime(2026, 3, 4, 9, 5, 7);
  const struct {
    const char* picture;
    QDateTime value;
    const char* text;
  } cases[] = {
      {"dd.MM.yyyy", stamp, "06.12.2026"},
      {"yyyy-MM-dd", morning, "2026-03-04"},
      {"d/M/yy", morning, "4/3/26"},
      {"d/M/yy", EncodeDate(2005, 1, 1), "1/1/05"},
      {"y", EncodeDate(2005, 1, 1), "5"},
      {"yyyy", EncodeDate(50, 1, 1), "0050"},
      {"HH:mm:ss", stamp, "14:26:00"},
      {"HH:mm:ss", morning, "09:05:07"},
      {"H.mm", morning, "9.05"},
      {"tt h:mm", stamp, "PM 2:26"},
      {"hh:mm t", morning, "09:05 A"},
      {"h 'h' mm", stamp, "2 h 26"},
      {"H\"h\"mm", stamp, "14h26"},
      {"h 'o''clock'", stamp, "2 o'clock"},
      {"d 'de' MMMM 'de' yyyy", stamp, "6 de December de 2026"},
      {"ddd, MMM d, yyyy", stamp, "Sun, Dec 6, 2026"},
      {"dddd d MMMM", morning, "Wednesday 4 March"},
      {"gg yyyy/MM/dd", stamp, " 2026/12/06"},
      {"'unclosed", stamp, "unclosed"},
  };
  for (const auto& c : cases) {
    const LocalePictures pictures = With(c.picture, c.picture);
    EXPECT_EQ(FormatDateText(c.value, pictures), c.text) << c.picture;
    EXPECT_EQ(FormatTimeText(c.value, pictures), c.text) << c.picture;
  }

  LocalePictures german = With("dd.MM.yyyy", "tt HH:mm");
  german.am = "vorm.";
  german.pm = "nachm.";
  german.monthNames[11] = "Dezember";
  EXPECT_EQ(FormatTimeText(stamp, german), "nachm. 14:26");
  EXPECT_EQ(FormatDateText(stamp, With("d. MMMM yyyy", "")), "6. December 2026");

  EXPECT_THROW(FormatDateText(1e9, us), EConvertError);
  EXPECT_THROW(FormatTimeText(-1e9, us), EConvertError);
}

TEST(DateTimeText, ParsingGivesBackWhatWasFormatted) {
  const std::vector<std::string> datePictures{"M/d/yyyy", "dd.MM.yyyy", "yyyy-MM-dd", "d/M/yy",
                                              "yyyyMMdd", "ddd, d MMM yyyy", "dddd, MMMM d, yyyy",
                                              "d 'de' MMMM 'de' yyyy", "d.M.y"};
  for (const std::string& picture : datePictures) {
    const LocalePictures pictures = With(picture, "");
    const auto roundTrip = [&](QDateTime first, QDateTime last, QDateTime step) {
      for (QDateTime day = first; day <= last; day += step) {
        const std::string text = FormatDateText(day, pictures);
        ASSERT_EQ(ParseDateText(text, pictures), day) << picture << ": " << text;
      }
    };
    // Every few days of the two-digit-year window, and for full years the whole calendar.
    roundTrip(EncodeDate(1950, 1, 1), EncodeDate(2049, 12, 31), 11);
    if (picture.find("yyy") != std::string::npos) {
      roundTrip(EncodeDate(1, 1, 1), EncodeDate(9999, 12, 31), 1009);
      roundTrip(EncodeDate(9999, 12, 31), EncodeDate(9999, 12, 31), 1);
    }
  }

  const std::vector<std::string> timePictures{"h:mm:ss tt", "HH:mm:ss", "H.mm", "tt h:mm", "hh:mm:ss t",
                                              "H'h'mm'm'ss's'", "HHmmss"};
  for (const std::string& picture : timePictures) {
    for (const auto& [am, pm] : {std::pair{"AM", "PM"}, std::pair{"vorm.", "nachm."}, std::pair{"a", "p"}}) {
      LocalePictures pictures = With("", picture);
      pictures.am = am;
      pictures.pm = pm;
      const bool seconds = picture.find('s') != std::string::npos;
      for (int second = 0; second < 86400; second += seconds ? 37 : 60) {
        const QDateTime time = EncodeTime(second / 3600, second / 60 % 60, second % 60);
        const std::string text = FormatTimeText(time, pictures);
        ASSERT_EQ(ParseTimeText(text, pictures), time) << picture << ": " << text;
      }
    }
  }
}

TEST(DateTimeText, TheUsersOwnPicturesReadBackWhatTheyWrite) {
  const LocalePictures user = UserLocalePictures();
  ASSERT_FALSE(user.shortDate.empty());
  ASSERT_FALSE(user.longTime.empty());
  for (const std::string* text : {&user.shortDate, &user.longTime, &user.am, &user.pm, &user.monthNames[0]})
    EXPECT_EQ(text->find('\0'), std::string::npos);
  for (const QDateTime value : {EncodeDateTime(2026, 12, 6, 14, 26, 0), EncodeDateTime(1999, 1, 31, 0, 0, 59)}) {
    EXPECT_EQ(ComposeDateTime(ParseDateText(FormatDateText(value, user), user),
                              ParseTimeText(FormatTimeText(value, user), user)),
              value);
  }
}

TEST(DateTimeText, ParsingIsForgivingOnlyWhereNothingIsAmbiguous) {
  const LocalePictures us;
  EXPECT_EQ(ParseDateText("  12/6/2026 ", us), EncodeDate(2026, 12, 6));
  EXPECT_EQ(ParseDateText("12/06/2026", us), EncodeDate(2026, 12, 6));
  EXPECT_EQ(ParseDateText("12/6/0050", us), EncodeDate(50, 12, 6));
  EXPECT_EQ(ParseTimeText("2:26:00 pm", us), EncodeTime(14, 26, 0));
  EXPECT_EQ(ParseTimeText("02:26:00 PM", us), EncodeTime(14, 26, 0));
  EXPECT_EQ(ParseTimeText("12:30:00 AM", us), EncodeTime(0, 30, 0));
  EXPECT_EQ(ParseTimeText("12:30:00 PM", us), EncodeTime(12, 30, 0));
  EXPECT_EQ(ParseDateText("sunday, 6 dec 2026", With("dddd, d MMM yyyy", "")), EncodeDate(2026, 12, 6));
  EXPECT_EQ(ParseDateText("6 December 2026", With("d MMM yyyy", "")), EncodeDate(2026, 12, 6));

  // Two-digit years lie in 1950..2049.
  const LocalePictures shortYear = With("M/d/yy", "");
  EXPECT_EQ(ParseDateText("1/1/00", shortYear), EncodeDate(2000, 1, 1));
  EXPECT_EQ(ParseDateText("1/1/49", shortYear), EncodeDate(2049, 1, 1));
  EXPECT_EQ(ParseDateText("1/1/50", shortYear), EncodeDate(1950, 1, 1));
  EXPECT_EQ(ParseDateText("12/31/99", shortYear), EncodeDate(1999, 12, 31));
  EXPECT_EQ(ParseDateText("1/1/26", us), EncodeDate(2026, 1, 1));

  // Pictures without some elements.
  EXPECT_EQ(ParseDateText("2026-12", With("yyyy-MM", "")), EncodeDate(2026, 12, 1));
  EXPECT_EQ(ParseDateText("6/12", With("d/M", "")), EncodeDate(DecodeDateTime(NowDateTime()).year, 12, 6));
  EXPECT_EQ(ParseTimeText("14:26", With("", "HH:mm")), EncodeTime(14, 26, 0));

  LocalePictures noDesignators = us;
  noDesignators.am = "";
  EXPECT_EQ(FormatTimeText(EncodeTime(9, 0, 0), noDesignators), "9:00:00 ");
  EXPECT_EQ(ParseTimeText("9:00:00", noDesignators), EncodeTime(9, 0, 0));
  EXPECT_EQ(ParseTimeText("9:00:00 PM", noDesignators), EncodeTime(21, 0, 0));
}

TEST(DateTimeText, TextsThatDoNotFitAreConversionErrors) {
  const LocalePictures us;
  const auto expectDateError = [&](std::string_view text, const LocalePictures& pictures) {
    try {
      ParseDateText(text, pictures);
      ADD_FAILURE() << "'" << text << "' was accepted";
    } catch (const EConvertError& error) {
      EXPECT_EQ(std::string(error.what()), "'" + std::string(text) + "' is not a valid date");
    }
  };
  const auto expectTimeError = [&](std::string_view text, const LocalePictures& pictures) {
    try {
      ParseTimeText(text, pictures);
      ADD_FAILURE() << "'" << text << "' was accepted";
    } catch (const EConvertError& error) {
      EXPECT_EQ(std::string(error.what()), "'" + std::string(text) + "' is not a valid time");
    }
  };
  for (const char* text : {"", "   ", "abc", "13/6/2026", "0/6/2026", "2/29/2026", "4/31/2026", "12/6",
                           "12/6/2026x", "12-6-2026", "12/6/10000", "1 2/6/2026", "-1/6/2026",
                           "12/6/2026 2:26:00 PM"})
    expectDateError(text, us);
  expectDateError("2/29/26", With("M/d/yy", ""));
  expectDateError("6 Dez 2026", With("d MMM yyyy", ""));
  expectDateError("20261306", With("yyyyMMdd", ""));
  expectDateError("202612", With("yyyyMMdd", ""));

  for (const char* text : {"", "x", "2:26:00", "13:00:00 PM", "2:60:00 PM", "2:26:60 PM", "2:26 PM", "2:26:00 XM",
                           "2:26:00 PM extra", "2::00 PM", "12/6/2026"})
    expectTimeError(text, us);
  expectTimeError("24:00:00", With("", "HH:mm:ss"));
  expectTimeError("14.", With("", "H.mm"));
  expectTimeError("14 26", With("", "H.mm"));
}

}  // namespace
