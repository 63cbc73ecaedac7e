#pragma once
// Dates and times as the program keeps them, compatible with the files it reads: a count of days
// since 30 December 1899 whose fraction is the time of day. Before that day the count is
// negative and the fraction still counts forward from midnight (-1.25 is 29 December 1899,
// 06:00), so joining a date and a time must look at the date's sign: ComposeDateTime.
// The calendar is the proleptic Gregorian one, years 1 to 9999.

using QDateTime = double;

struct DateTimeParts {
  int year, month, day, hour, minute, second;
  int dayOfWeek;  // 0 Sunday ... 6 Saturday, like SYSTEMTIME and struct tm
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Both throw EConvertError ("Invalid argument to date encode" / "... time encode").
QDateTime EncodeDate(int year, int month, int day);
QDateTime EncodeTime(int hour, int minute, int second, int millisecond = 0);  // the fraction only

// A whole date plus a time of day (a fraction in [0, 1)).
QDateTime ComposeDateTime(QDateTime date, QDateTime timeOfDay);

QDateTime EncodeDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// Rounds to the millisecond first, as the values come from sums of fractions; the milliseconds
// are then dropped. Throws EConvertError for a value outside the years 1 to 9999 (or NaN).
DateTimeParts DecodeDateTime(QDateTime value);

QDateTime NowDateTime();  // local time, to the millisecond
