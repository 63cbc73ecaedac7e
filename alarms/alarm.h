#pragma once
// The alarm of one note: a day, an hour and a minute, an every-day flag and an on/off state,
// as a state machine with the time passed in. The note owns one and owns the timer for it:
// SetAlarmActive says when the timer starts and stops, and each tick of the timer hands the
// clock's time to AlarmTick, which says when the note is to be notified. Portable.
#include <cstdint>

#include "storage/date_time.h"

// What the owner of the alarm does with its timer after SetAlarmActive.
enum class AlarmTimerChange { None, Start, Stop };

class TQuorAlarm {
 public:
  // The period of the timer while the alarm is on, in milliseconds.
  static constexpr unsigned AlarmInterval = 10000;

  // Date part only / time of day only (seconds and milliseconds dropped); both set IsSet.
  void SetAlarmDate(QDateTime date);
  void SetAlarmTime(QDateTime time);
  void SetAlarmDateTime(QDateTime dateTime);
  // The alarm's date at hour:minute:00.000.
  QDateTime GetAlarmDateTime() const;

  // Switches the alarm on or off. Fired falls back on every call, so confirming the alarm during
  // its minute makes it notify again. Start: it was off and is now on; Stop: it was on and is now
  // off; switching on an alarm that is on keeps its running timer (None).
  AlarmTimerChange SetAlarmActive(bool on);

  // One tick of the timer with the clock's local time: true when the note is to be notified now
  // (the first tick inside the alarm's minute on its day, or on any day when EveryDay). Nothing
  // is caught up: a minute without a tick is missed.
  bool AlarmTick(const DateTimeParts& now);

  bool Active() const { return active_; }
  bool Fired() const { return fired_; }

  bool EveryDay = false;
  bool IsSet = false;
  std::uint16_t Year = 1899, Month = 12, Day = 30;
  std::uint16_t Minute = 0, Hour = 0;

 private:
  bool active_ = false;
  bool fired_ = false;
};
