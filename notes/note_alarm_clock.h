#pragma once
// A note's alarm and the blink it sets off. The alarm and the blink decide (alarms/alarm.h,
// notes/note_blink.h); the clock owns their two timers on the note window and shows the blink
// in the note's text box. Win32.
#include <windows.h>

#include <optional>

#include "alarms/alarm.h"
#include "notes/note_blink.h"
#include "notes/note_data.h"
#include "notes/note_text_box.h"
#include "win/handles.h"

class NoteAlarmClock {
 public:
  // The alarm's timer ticks every `tickMs` (tests pass a short one, to see an alarm fire without
  // waiting ten seconds per tick). A new alarm is set to the moment given, inactive, so the alarm
  // dialog opens on that date and time.
  NoteAlarmClock(HWND window, NoteTextBox& textBox, QDateTime now, unsigned tickMs = TQuorAlarm::AlarmInterval);

  // The alarm as the note file holds it.
  NoteAlarmFields Fields() const;
  void SetWhen(QDateTime when) { alarm_.SetAlarmDateTime(when); }
  void SetEveryDay(bool on) { alarm_.EveryDay = on; }
  void SetIsSet(bool on) { alarm_.IsSet = on; }
  // Switches the alarm on or off with its timer; an alarm that gets no timer is off, and the
  // error says so.
  void SetActive(bool on);
  bool Active() const { return alarm_.Active(); }
  // The alarm dialog for this alarm, owned by `owner`; true when the user confirmed it.
  bool Edit(HWND owner);

  // WM_TIMER: true when the message was one of the clock's. `fired` is set when the alarm goes
  // off with this tick: the note then shows itself and starts the blink.
  bool OnTimer(UINT_PTR id, bool& fired);
  void SetBlinking(bool on);
  bool Blinking() const { return blink_.Blinking(); }

 private:
  static constexpr UINT_PTR kAlarmTimerId = 1;
  static constexpr UINT_PTR kBlinkTimerId = 2;

  void Apply(AlarmTimerChange change);
  void Apply(const BlinkEffect& effect);

  HWND window_;
  NoteTextBox& textBox_;
  unsigned tickMs_;
  TQuorAlarm alarm_;
  win::WindowTimer alarmTimer_;
  TNoteBlink blink_;
  win::WindowTimer blinkTimer_;
};
