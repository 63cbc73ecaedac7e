#pragma once
// The alarm dialog TTFormAlarm ("Set alarm"): the user switches a note's alarm on or off, makes
// it an every-day alarm and picks its day and time. The dialog only edits; EditAlarm copies its
// values into the alarm when the user confirms. Win32.
#include <windows.h>

#include <optional>

#include "alarms/alarm.h"
#include "win/form.h"

class TTFormAlarm : public win::Form {
 public:
  explicit TTFormAlarm(HWND owner);
  // The members of the dialog are those of its rows (alarms/alarm_dialog.cpp).
};

// Opens the dialog for `alarm`, modal and owned by `owner` (the note window). When the alarm
// IsSet, the pickers show GetAlarmDateTime and the boxes its on state and EveryDay. Only on OK
// the dialog's values go into the alarm (seconds dropped); the result is then what the owner
// does with the alarm's timer. Any other ending (Abort, the close box) changes nothing: nullopt.
std::optional<AlarmTimerChange> EditAlarm(HWND owner, TQuorAlarm& alarm);
