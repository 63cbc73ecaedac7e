#include "notes/note_alarm_clock.h"

#include <stdexcept>

#include "alarms/alarm_dialog.h"

NoteAlarmClock::NoteAlarmClock(HWND window, NoteTextBox& textBox, QDateTime now, unsigned tickMs)
    : window_(window), textBox_(textBox), tickMs_(tickMs) {
  // An alarm time has no seconds.
  alarm_.SetAlarmDate(now);
  alarm_.SetAlarmTime(now);
}

NoteAlarmFields NoteAlarmClock::Fields() const {
  return {alarm_.GetAlarmDateTime(), alarm_.EveryDay, alarm_.Active(), alarm_.IsSet};
}

void NoteAlarmClock::SetActive(bool on) { Apply(alarm_.SetAlarmActive(on)); }

bool NoteAlarmClock::Edit(HWND owner) {
  const auto change = EditAlarm(owner, alarm_);
  if (change) Apply(*change);
  return change.has_value();
}

void NoteAlarmClock::Apply(AlarmTimerChange change) {
  if (change == AlarmTimerChange::Start) {
    if (!alarmTimer_.Start(window_, kAlarmTimerId, tickMs_)) {
      // An alarm that is on without its timer would never ring: it is off, and the user is told.
      alarm_.SetAlarmActive(false);
      throw std::runtime_error("No timer is free for the alarm");
    }
  } else if (change == AlarmTimerChange::Stop) {
    alarmTimer_.Stop();
  }
}

bool NoteAlarmClock::OnTimer(UINT_PTR id, bool& fired) {
  if (id == kAlarmTimerId) {
    fired = alarm_.AlarmTick(DecodeDateTime(NowDateTime()));
    return true;
  }
  if (id == kBlinkTimerId) {
    Apply(blink_.onTimer(textBox_.ShownBackColor()));
    return true;
  }
  return false;
}

void NoteAlarmClock::SetBlinking(bool on) { Apply(blink_.SetBlinking(on, textBox_.ShownBackColor())); }

void NoteAlarmClock::Apply(const BlinkEffect& effect) {
  if (effect.Color) textBox_.ShowBackColor(*effect.Color);
  if (effect.Timer == BlinkTimerChange::Start) {
    // Without its timer the blink would never end: the box keeps its own colour instead.
    if (!blinkTimer_.Start(window_, kBlinkTimerId, TNoteBlink::BlinkInterval)) Apply(blink_.SetBlinking(false, 0));
  } else if (effect.Timer == BlinkTimerChange::Stop) {
    blinkTimer_.Stop();
  }
}
