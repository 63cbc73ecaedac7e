// The alarm dialog as a note runs it: what it opens with, and what OK and Abort leave in the alarm.
#include "alarms/alarm_dialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

// EditAlarm from a window of its own, with `inside` run on the dialog once its modal run has begun.
std::optional<AlarmTimerChange> EditWith(TQuorAlarm& alarm, void (*inside)(HWND dialog)) {
  HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  SetPropA(owner, "inside", reinterpret_cast<HANDLE>(inside));
  SetTimer(owner, 1, 20, [](HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    reinterpret_cast<void (*)(HWND)>(GetPropA(hwnd, "inside"))(FindWindowA("TTFormAlarm", "Set alarm"));
  });
  const auto result = EditAlarm(owner, alarm);
  RemovePropA(owner, "inside");
  DestroyWindow(owner);
  return result;
}

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
void Click(HWND dialog, int id) { SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); }

TEST(AlarmDialog, OpensAnEveryDayAlarmAsItIsAndAbortKeepsIt) {
  TQuorAlarm alarm;
  alarm.SetAlarmDateTime(EncodeDateTime(2026, 5, 10, 8, 30));
  alarm.EveryDay = true;
  alarm.SetAlarmActive(true);
  EXPECT_EQ(EditWith(alarm, [](HWND dialog) {
              EXPECT_FALSE(Enabled(dialog, TTFormAlarm::DatePicker));
              EXPECT_TRUE(Enabled(dialog, TTFormAlarm::TimePicker) && Enabled(dialog, TTFormAlarm::CBEveryDay));
              Click(dialog, TTFormAlarm::CBAlarmOn);
              Click(dialog, TTFormAlarm::BitBtn2);
            }),
            std::nullopt);
  EXPECT_TRUE(alarm.Active() && alarm.EveryDay);
  EXPECT_DOUBLE_EQ(alarm.GetAlarmDateTime(), EncodeDateTime(2026, 5, 10, 8, 30));
}

TEST(AlarmDialog, OkTakesTheDayTheMinuteAndTheBoxes) {
  TQuorAlarm alarm;
  alarm.SetAlarmDateTime(EncodeDateTime(2026, 5, 10, 8, 30));
  alarm.EveryDay = true;
  EXPECT_EQ(EditWith(alarm, [](HWND dialog) {
              for (int id : {TTFormAlarm::DatePicker, TTFormAlarm::TimePicker, TTFormAlarm::CBEveryDay})
                EXPECT_FALSE(Enabled(dialog, id)) << id;
              Click(dialog, TTFormAlarm::CBAlarmOn);
              Click(dialog, TTFormAlarm::CBEveryDay);
              SYSTEMTIME time{2026, 6, 1, 1, 7, 45, 30, 0};
              DateTime_SetSystemtime(GetDlgItem(dialog, TTFormAlarm::TimePicker), GDT_VALID, &time);
              Click(dialog, TTFormAlarm::BitBtn1);
            }),
            AlarmTimerChange::Start);
  EXPECT_FALSE(alarm.EveryDay);
  EXPECT_DOUBLE_EQ(alarm.GetAlarmDateTime(), EncodeDateTime(2026, 5, 10, 7, 45));
}

}  // namespace
