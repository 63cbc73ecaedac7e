#include "alarms/alarm_dialog.h"

#include <commctrl.h>

#include <span>

namespace {

// The controls inside "Alarm Options" are placed within the group box, whose top-left corner
// is at (8, 8) of the dialog.
constexpr int kGroupLeft = 8, kGroupTop = 8;
constexpr int InGroupX(int x) { return kGroupLeft + x; }
constexpr int InGroupY(int y) { return kGroupTop + y; }

SYSTEMTIME ToSystemTime(QDateTime value) {
  const DateTimeParts parts = DecodeDateTime(value);
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(parts.year);
  time.wMonth = static_cast<WORD>(parts.month);
  time.wDayOfWeek = static_cast<WORD>(parts.dayOfWeek);
  time.wDay = static_cast<WORD>(parts.day);
  time.wHour = static_cast<WORD>(parts.hour);
  time.wMinute = static_cast<WORD>(parts.minute);
  time.wSecond = static_cast<WORD>(parts.second);
  return time;
}

}  // namespace

// Rows in tab order: the boxes, the pickers, then OK and Abort. The labels are sized to their
// text in the dialog font and never wrap; where a substitute font runs wider, the form grows
// them and moves the pickers along (win/form_fit.h).
const win::ControlRow<TTFormAlarm> TTFormAlarm::kRows[] = {
    {win::kButton, "Alarm Options", 0, kGroupLeft, kGroupTop, 177, 137, BS_GROUPBOX},
    {win::kButton, "Alarm On", CBAlarmOn, InGroupX(8), InGroupY(24), 97, 17, BS_AUTOCHECKBOX, 0,
     &TTFormAlarm::CBAlarmOnClick},
    {win::kButton, "Alarm every day", CBEveryDay, InGroupX(8), InGroupY(48), 97, 17, BS_AUTOCHECKBOX, 0,
     &TTFormAlarm::CBEveryDayClick},
    {win::kLabel, "On Day:", 0, InGroupX(8), InGroupY(72), 39, 13, SS_LEFTNOWORDWRAP},
    {win::kDateTimePicker, "", DatePicker, InGroupX(56), InGroupY(72), 106, 21, DTS_SHORTDATEFORMAT},
    {win::kLabel, "On time:", 0, InGroupX(8), InGroupY(104), 39, 13, SS_LEFTNOWORDWRAP},
    {win::kDateTimePicker, "", TimePicker, InGroupX(56), InGroupY(104), 106, 21, DTS_TIMEFORMAT},
    {win::kButton, "OK", BitBtn1, 8, 152, 75, 25, BS_DEFPUSHBUTTON, 0, &TTFormAlarm::CloseOk},
    {win::kButton, "&Abort", BitBtn2, 110, 152, 75, 25, BS_PUSHBUTTON, 0, &TTFormAlarm::CloseAbort},
};

TTFormAlarm::TTFormAlarm(HWND owner)
    : Form({.className = "TTFormAlarm", .caption = "Set alarm", .clientWidth = 194, .clientHeight = 183,
            .owner = owner}) {
  AddControls<TTFormAlarm>(std::span(kRows));
  FormCreate();
}

void TTFormAlarm::FormCreate() {
  Enable(DatePicker, false);
  Enable(TimePicker, false);
  Enable(CBEveryDay, false);
}

void TTFormAlarm::CBAlarmOnClick() {
  const bool on = Checked(CBAlarmOn);
  Enable(DatePicker, on);
  Enable(TimePicker, on);
  Enable(CBEveryDay, on);
}

void TTFormAlarm::CBEveryDayClick() { Enable(DatePicker, !Checked(CBEveryDay)); }

QDateTime TTFormAlarm::PickerValue(int picker) const {
  SYSTEMTIME time{};
  // Without DTS_SHOWNONE a picker always holds a valid value.
  DateTime_GetSystemtime(Item(picker), &time);
  return EncodeDateTime(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond);
}

void TTFormAlarm::SetPickerValue(int picker, QDateTime value) {
  SYSTEMTIME time = ToSystemTime(value);
  DateTime_SetSystemtime(Item(picker), GDT_VALID, &time);
}

std::optional<AlarmTimerChange> EditAlarm(HWND owner, TQuorAlarm& alarm) {
  TTFormAlarm dialog(owner);
  const QDateTime shown = alarm.IsSet ? alarm.GetAlarmDateTime() : NowDateTime();
  dialog.SetPickerValue(TTFormAlarm::DatePicker, shown);
  dialog.SetPickerValue(TTFormAlarm::TimePicker, shown);
  if (alarm.IsSet) {
    // In this order, each box's handler following it: an every-day alarm that is on opens with
    // its date picker disabled.
    dialog.SetChecked(TTFormAlarm::CBAlarmOn, alarm.Active());
    dialog.SetChecked(TTFormAlarm::CBEveryDay, alarm.EveryDay);
  }
  if (dialog.ShowModal() != win::ModalResult::Ok) return std::nullopt;
  alarm.SetAlarmDate(dialog.PickerValue(TTFormAlarm::DatePicker));
  alarm.SetAlarmTime(dialog.PickerValue(TTFormAlarm::TimePicker));
  alarm.EveryDay = dialog.Checked(TTFormAlarm::CBEveryDay);
  return alarm.SetAlarmActive(dialog.Checked(TTFormAlarm::CBAlarmOn));
}
