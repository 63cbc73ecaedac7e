#include "alarms/alarm.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A tick of the alarm's timer: the clock's time, and whether the note is to be notified.
struct Tick {
  int day, hour, minute, second;  // day of May 2026
  bool notifies;
};

struct Scenario {
  const char* name;
  int year, day;  // the alarm's date in May; its time is 08:30
  bool everyDay;
  std::vector<Tick> ticks;
};

TEST(AlarmTick, NotifiesAtTheFirstTickOfItsMinuteOnItsDay) {
  const Scenario scenarios[] = {
      {"first tick inside the minute, once", 2026, 10, false,
       {{10, 8, 29, 50, false}, {10, 8, 30, 0, true}, {10, 8, 30, 10, false}, {10, 8, 30, 50, false},
        {10, 8, 31, 0, false}}},
      {"the ticks step over the minute", 2026, 10, false, {{10, 8, 29, 55, false}, {10, 8, 31, 5, false}}},
      {"another day of a one-time alarm", 2026, 10, false, {{9, 8, 30, 5, false}, {11, 8, 30, 5, false}}},
      {"every day, set a year ago", 2025, 3, true,
       {{10, 8, 30, 5, true}, {10, 8, 30, 15, false}, {10, 8, 31, 5, false}, {11, 8, 30, 0, true}, {11, 8, 31, 0, false},
        {12, 8, 30, 9, true}}},
      {"hour and minute both count", 2026, 10, false, {{10, 9, 30, 0, false}, {10, 8, 31, 0, false}}},
  };
  for (const Scenario& s : scenarios) {
    TQuorAlarm alarm;
    alarm.SetAlarmDateTime(EncodeDateTime(s.year, 5, s.day, 8, 30));
    alarm.EveryDay = s.everyDay;
    alarm.SetAlarmActive(true);
    for (const Tick& t : s.ticks) {
      const DateTimeParts now = DecodeDateTime(EncodeDateTime(2026, 5, t.day, t.hour, t.minute, t.second));
      EXPECT_EQ(alarm.AlarmTick(now), t.notifies) << s.name << " at " << t.day << " " << t.hour << ":" << t.minute
                                                  << ":" << t.second;
    }
    EXPECT_TRUE(alarm.Active()) << s.name << ": an alarm that fired stays on";
  }
}

TEST(AlarmActive, StartsOnceStopsOnceAndReArms) {
  TQuorAlarm alarm;
  alarm.SetAlarmDateTime(EncodeDateTime(2026, 5, 10, 8, 30));
  const DateTimeParts inTheMinute = DecodeDateTime(EncodeDateTime(2026, 5, 10, 8, 30, 20));
  EXPECT_FALSE(alarm.AlarmTick(inTheMinute)) << "off";

  EXPECT_EQ(alarm.SetAlarmActive(true), AlarmTimerChange::Start);
  EXPECT_TRUE(alarm.AlarmTick(inTheMinute));
  EXPECT_TRUE(alarm.Fired());
  // Confirmed again inside its minute: the running timer stays, the alarm notifies again.
  EXPECT_EQ(alarm.SetAlarmActive(true), AlarmTimerChange::None);
  EXPECT_FALSE(alarm.Fired());
  EXPECT_TRUE(alarm.AlarmTick(inTheMinute));

  EXPECT_EQ(alarm.SetAlarmActive(false), AlarmTimerChange::Stop);
  EXPECT_EQ(alarm.SetAlarmActive(false), AlarmTimerChange::None);
  EXPECT_FALSE(alarm.AlarmTick(inTheMinute));
}

TEST(AlarmTime, KeepsDayHourAndMinuteOnly) {
  struct Row {
    QDateTime given, kept;
  };
  const Row rows[] = {
      {EncodeDateTime(2026, 5, 10, 8, 30, 59), EncodeDateTime(2026, 5, 10, 8, 30)},
      {EncodeDateTime(2026, 12, 31, 23, 59, 59), EncodeDateTime(2026, 12, 31, 23, 59)},
      {EncodeDateTime(1899, 12, 29, 6, 0, 30), -1.25},  // before day 0 the time still counts forward
      {EncodeDateTime(1, 1, 1, 0, 0, 1), EncodeDate(1, 1, 1)},
  };
  for (const Row& row : rows) {
    TQuorAlarm whole, parts;
    EXPECT_FALSE(whole.IsSet);
    whole.SetAlarmDateTime(row.given);
    parts.SetAlarmTime(row.given);
    EXPECT_TRUE(parts.IsSet);
    parts.SetAlarmDate(row.given);
    EXPECT_DOUBLE_EQ(whole.GetAlarmDateTime(), row.kept) << row.given;
    EXPECT_DOUBLE_EQ(parts.GetAlarmDateTime(), row.kept) << row.given;
  }
}

}  // namespace
