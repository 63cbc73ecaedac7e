// A note's alarm and the blink it sets off. The alarm and the blink decide (alarms/alarm.h,
// notes/note_blink.h); the note owns their two timers and shows what they say.
#include <stdexcept>

#include "notes/note_window.h"

NoteAlarmFields TTFoglio::Alarm() const {
  return {alarm_.GetAlarmDateTime(), alarm_.EveryDay, alarm_.Active(), alarm_.IsSet};
}

void TTFoglio::SetAlarmIntervalForTests(unsigned ms) {
  alarmInterval_ = ms;
  if (alarmTimer_.Running()) alarmTimer_.Start(hwnd(), kAlarmTimerId, ms);
}

void TTFoglio::SetAlarmActive(bool on) {
  ApplyAlarmTimer(alarm_.SetAlarmActive(on));
  NoteChanged();
}

void TTFoglio::ApplyAlarmTimer(AlarmTimerChange change) {
  if (change == AlarmTimerChange::Start) {
    if (!alarmTimer_.Start(hwnd(), kAlarmTimerId, alarmInterval_)) {
      // An alarm that is on without its timer would never ring: it is off, and the user is told.
      alarm_.SetAlarmActive(false);
      throw std::runtime_error("No timer is free for the alarm");
    }
  } else if (change == AlarmTimerChange::Stop) {
    alarmTimer_.Stop();
  }
}

void TTFoglio::AlarmTick() {
  if (alarm_.AlarmTick(DecodeDateTime(NowDateTime()))) onAlarm();
}

void TTFoglio::onAlarm() {
  skin_.Events().PlayEvent(evAlarm);
  SetShown(true);
  // Stays on top after the alarm, until the user says otherwise.
  SetOnTop(true);
  SetBlinking(true);
}

void TTFoglio::SetBlinking(bool on) { Apply(blink_.SetBlinking(on, shownTextBackColor_)); }

void TTFoglio::onTimer() { Apply(blink_.onTimer(shownTextBackColor_)); }

void TTFoglio::Apply(const BlinkEffect& effect) {
  if (effect.Color) ShowTextBackColor(*effect.Color);
  if (effect.Timer == BlinkTimerChange::Start) {
    // Without its timer the blink would never end: the box keeps its own colour instead.
    if (!blinkTimer_.Start(hwnd(), kBlinkTimerId, TNoteBlink::BlinkInterval)) Apply(blink_.SetBlinking(false, 0));
  } else if (effect.Timer == BlinkTimerChange::Stop) {
    blinkTimer_.Stop();
  }
}
