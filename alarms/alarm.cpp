#include "alarms/alarm.h"

void TQuorAlarm::SetAlarmDate(QDateTime date) {
  const DateTimeParts parts = DecodeDateTime(date);
  Year = static_cast<std::uint16_t>(parts.year);
  Month = static_cast<std::uint16_t>(parts.month);
  Day = static_cast<std::uint16_t>(parts.day);
  IsSet = true;
}

void TQuorAlarm::SetAlarmTime(QDateTime time) {
  const DateTimeParts parts = DecodeDateTime(time);
  Hour = static_cast<std::uint16_t>(parts.hour);
  Minute = static_cast<std::uint16_t>(parts.minute);
  IsSet = true;
}

void TQuorAlarm::SetAlarmDateTime(QDateTime dateTime) {
  // Decoded once, so a bad value changes neither half.
  const DateTimeParts parts = DecodeDateTime(dateTime);
  Year = static_cast<std::uint16_t>(parts.year);
  Month = static_cast<std::uint16_t>(parts.month);
  Day = static_cast<std::uint16_t>(parts.day);
  Hour = static_cast<std::uint16_t>(parts.hour);
  Minute = static_cast<std::uint16_t>(parts.minute);
  IsSet = true;
}

QDateTime TQuorAlarm::GetAlarmDateTime() const {
  return ComposeDateTime(EncodeDate(Year, Month, Day), EncodeTime(Hour, Minute, 0));
}

AlarmTimerChange TQuorAlarm::SetAlarmActive(bool on) {
  const bool wasOn = active_;
  active_ = on;
  fired_ = false;
  if (on && !wasOn) return AlarmTimerChange::Start;
  if (!on && wasOn) return AlarmTimerChange::Stop;
  return AlarmTimerChange::None;
}

bool TQuorAlarm::AlarmTick(const DateTimeParts& now) {
  if (!active_) return false;
  const bool onItsDay = EveryDay || (now.year == Year && now.month == Month && now.day == Day);
  if (!onItsDay || now.hour != Hour || now.minute != Minute) {
    fired_ = false;
    return false;
  }
  if (fired_) return false;
  fired_ = true;
  return true;
}
