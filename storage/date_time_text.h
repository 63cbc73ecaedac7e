#pragma once
// Dates and times as text in the user's short-date and long-time pictures, the way the files
// store them and the date stamp shows them. Elements: d dd (day), ddd dddd (day name), M MM
// (month), MMM MMMM (month name), y yy (year in the century), yyyy (full year), g gg (era,
// written as nothing), h hh (12-hour), H HH (24-hour), m mm, s ss, t tt (first letter or all of
// the AM/PM designator); '...' and "..." are literal text, everything else is a separator.
//
// Parsing is the exact inverse of formatting with the same pictures: separators and literals
// must match, numbers take up to their element's width in digits (one or two; up to four for a
// full year), names and designators match without regard to case, blanks around the whole
// text are ignored and a space of the picture matches any run of blanks, or none.
// A year written with one or two digits lies in 1950..2049, the window Windows itself uses by
// default, which keeps the dates a note stores for itself (stamps, alarms) unambiguous for
// decades either way. A date picture without a year takes the current year;
// missing month or day are 1; missing time elements are 0.
#include <array>
#include <string>
#include <string_view>

#include "storage/date_time.h"

struct LocalePictures {
  std::string shortDate = "M/d/yyyy";
  std::string longTime = "h:mm:ss tt";
  std::string am = "AM";
  std::string pm = "PM";
  std::array<std::string, 12> monthNames = {"January", "February", "March",     "April",   "May",      "June",
                                            "July",    "August",   "September", "October", "November", "December"};
  std::array<std::string, 12> shortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 7> dayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                         "Thursday", "Friday", "Saturday"};
  std::array<std::string, 7> shortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
};

// Windows: the user's LOCALE_SSHORTDATE, LOCALE_STIMEFORMAT, LOCALE_S1159, LOCALE_S2359 and
// month and day names. Natively: the defaults above.
LocalePictures UserLocalePictures();

// Both throw EConvertError when the value lies outside the years 1..9999.
std::string FormatDateText(QDateTime value, const LocalePictures& pictures);
std::string FormatTimeText(QDateTime value, const LocalePictures& pictures);

// Throw EConvertError "'<text>' is not a valid date" / "'<text>' is not a valid time".
QDateTime ParseDateText(std::string_view text, const LocalePictures& pictures);  // whole days
QDateTime ParseTimeText(std::string_view text, const LocalePictures& pictures);  // the fraction only
