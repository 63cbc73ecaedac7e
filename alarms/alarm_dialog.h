#pragma once
// The alarm dialog TTFormAlarm ("Set alarm"): the user switches a note's alarm on or off, makes
// it an every-day alarm and picks its day and time. The dialog only edits; EditAlarm copies its
// values into the alarm when the user confirms. Win32.
#include <windows.h>

#include <optional>

#include "alarms/alarm.h"
#include "storage/date_time.h"
#include "win/form.h"

class TTFormAlarm : public win::Form {
 public:
  // Ids of the controls that are addressed; the buttons close with their own result.
  enum : int {
    CBAlarmOn = 101,
    CBEveryDay,
    DatePicker,
    TimePicker,
    BitBtn1 = IDOK,
    BitBtn2 = IDABORT,
  };

  explicit TTFormAlarm(HWND owner);

  // The value of DatePicker or TimePicker, to the second; setting it keeps what the picker
  // shows when the value lies outside the dates a picker takes.
  QDateTime PickerValue(int picker) const;
  void SetPickerValue(int picker, QDateTime value);

 private:
  static const win::ControlRow<TTFormAlarm> kRows[];

  void FormCreate();
  void CBAlarmOnClick();
  void CBEveryDayClick();
};

// Opens the dialog for `alarm`, modal and owned by `owner` (the note window). When the alarm
// IsSet, the pickers show GetAlarmDateTime and the boxes its on state and EveryDay; an alarm
// never given a date or time shows the present moment, switched off. Only on OK the dialog's
// values go into the alarm (seconds dropped); the result is then what the owner does with the
// alarm's timer. Any other ending (Abort, the close box, Esc) changes nothing: nullopt.
std::optional<AlarmTimerChange> EditAlarm(HWND owner, TQuorAlarm& alarm);
