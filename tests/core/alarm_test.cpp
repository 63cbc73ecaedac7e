#include "alarms/alarm.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

DateTimeParts May2026(int day, int hour, int minute, int second) {
  return DecodeDateTime(EncodeDateTime(2026, 5, day, hour, minute, second));
}

// Ticks of the timer in May 2026 against an alarm at 08:30, and whether each notifies.
struct Tick {
  int day, hour, minute, second;
  bool notifies;
};

TEST(AlarmTick, NotifiesOnceAtTheFirstTickOfItsMinute) {
  const struct {
    const char* name;
    QDateTime day;
    bool everyDay;
    std::vector<Tick> ticks;
  } runs[] = {
      {"its minute", EncodeDate(2026, 5, 10), false,
       {{10, 8, 29, 50, false}, {10, 8, 30, 0, true}, {10, 8, 30, 10, false}, {10, 8, 31, 0, false}}},
      {"ticks stepping over it, other days and hours", EncodeDate(2026, 5, 10), false,
       {{10, 8, 29, 55, false}, {10, 8, 31, 5, false}, {9, 8, 30, 5, false}, {11, 8, 30, 5, false},
        {10, 9, 30, 0, false}}},
      {"one time, in the past", EncodeDate(2025, 5, 3), false, {{10, 8, 30, 5, false}}},
      {"every day, from a year ago", EncodeDate(2025, 5, 3), true,
       {{10, 8, 30, 5, true}, {10, 8, 30, 15, false}, {10, 8, 31, 5, false}, {11, 8, 30, 0, true}}},
  };
  for (const auto& run : runs) {
    TQuorAlarm alarm;
    alarm.SetAlarmDate(run.day);
    alarm.SetAlarmTime(EncodeTime(8, 30, 59));
    alarm.EveryDay = run.everyDay;
    alarm.SetAlarmActive(true);
    for (const Tick& t : run.ticks)
      EXPECT_EQ(alarm.AlarmTick(May2026(t.day, t.hour, t.minute, t.second)), t.notifies)
          << run.name << ", " << t.day << " " << t.hour << ":" << t.minute << ":" << t.second;
    EXPECT_TRUE(alarm.Active()) << run.name;
  }
}

TEST(AlarmActive, KeepsTheMinuteStartsOnceStopsOnceAndNotifiesAgainWhenReArmed) {
  TQuorAlarm alarm;
  alarm.SetAlarmDateTime(EncodeDateTime(1899, 12, 29, 6, 0, 30));
  EXPECT_DOUBLE_EQ(alarm.GetAlarmDateTime(), -1.25);  // before day 0 the time still counts forward
  alarm.SetAlarmDateTime(EncodeDateTime(2026, 5, 10, 8, 30, 59));
  EXPECT_DOUBLE_EQ(alarm.GetAlarmDateTime(), EncodeDateTime(2026, 5, 10, 8, 30));

  EXPECT_FALSE(alarm.AlarmTick(May2026(10, 8, 30, 20))) << "off";
  EXPECT_EQ(alarm.SetAlarmActive(true), AlarmTimerChange::Start);
  EXPECT_TRUE(alarm.AlarmTick(May2026(10, 8, 30, 20)));
  EXPECT_EQ(alarm.SetAlarmActive(true), AlarmTimerChange::None);
  EXPECT_TRUE(alarm.AlarmTick(May2026(10, 8, 30, 30)));
  EXPECT_EQ(alarm.SetAlarmActive(false), AlarmTimerChange::Stop);
  EXPECT_EQ(alarm.SetAlarmActive(false), AlarmTimerChange::None);
}

}  // namespace
