// The commands of one note under Wine: its two menus as the user sees them, shortcuts typed
// into its edit box, the mail-to form driven through its controls, printing and closing.
#include <algorithm>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "alarms/alarm_dialog.h"
#include "mail/mail_to_form.h"
#include "notes/note_file.h"
#include "note_window_test_support.h"
#include "win/message_loop.h"

namespace note_test {
namespace {

// Every item of a menu as "Submenu>Caption\tShortcut", separators as "-".
std::vector<std::string> MenuLines(HMENU menu, const std::string& prefix = "") {
  std::vector<std::string> lines;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[128] = {};
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
    item.dwTypeData = text;
    item.cch = sizeof text;
    GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &item);
    if (item.fType & MFT_SEPARATOR) {
      lines.push_back(prefix + "-");
    } else if (item.hSubMenu != nullptr) {
      for (const std::string& line : MenuLines(item.hSubMenu, prefix + text + ">")) lines.push_back(line);
    } else {
      lines.push_back(prefix + text);
    }
  }
  return lines;
}

// The shortcuts of an accelerator table as menus write them, sorted.
std::vector<std::string> Shortcuts(HACCEL table) {
  std::vector<ACCEL> accels(static_cast<size_t>(CopyAcceleratorTableA(table, nullptr, 0)));
  CopyAcceleratorTableA(table, accels.data(), static_cast<int>(accels.size()));
  std::vector<std::string> texts;
  for (const ACCEL& a : accels) {
    std::string text = std::string(a.fVirt & FCONTROL ? "Ctrl+" : "") + (a.fVirt & FSHIFT ? "Shift+" : "") +
                       (a.fVirt & FALT ? "Alt+" : "");
    if (a.key >= VK_F1 && a.key <= VK_F12) {
      text += "F" + std::to_string(a.key - VK_F1 + 1);
    } else if (a.key == VK_DELETE) {
      text += "Del";
    } else {
      text += static_cast<char>(a.key);
    }
    texts.push_back(text);
  }
  std::sort(texts.begin(), texts.end());
  return texts;
}

// The command id of the first item of `caption` (shortcut text not included) in `menu`.
UINT CommandOf(HMENU menu, const std::string& caption) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    if (HMENU sub = GetSubMenu(menu, i)) {
      if (const UINT id = CommandOf(sub, caption)) return id;
      continue;
    }
    char text[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    if (std::string(text).substr(0, std::string(text).find('\t')) == caption) return GetMenuItemID(menu, i);
  }
  return 0;
}

bool Checked(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }

void PumpLoop(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  do {
    win::ProcessWaitingMessages();
    Sleep(5);
  } while (std::chrono::steady_clock::now() < end);
}

// Real keyboard input (posted key messages carry no Ctrl or Alt state) into `focus`: the
// modifiers go down, the key is pressed, and they come up again in reverse order.
void Type(HWND focus, std::initializer_list<WORD> keys) {
  SetForegroundWindow(GetAncestor(focus, GA_ROOT));
  SetFocus(focus);
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    inputs.push_back(in);
  }
  for (auto it = keys.end(); it != keys.begin();) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = *--it;
    in.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(in);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  PumpLoop(250);
}

void ClickAt(POINT at) {
  SetCursorPos(at.x, at.y);
  INPUT clicks[2]{};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, clicks, sizeof(INPUT));
  PumpLoop(250);
}

// A visible window of this test's own process: another test program may show the same dialog.
HWND WaitForWindow(const char* className) {
  for (int i = 0; i < 500; ++i) {
    for (HWND found : app_test::WindowsOfProcess(GetCurrentProcessId(), className))
      if (IsWindowVisible(found)) return found;
    Sleep(10);
  }
  return nullptr;
}

// Runs the note's "Set alarm" and leaves the dialog with `button`, first setting "Alarm On" as
// `alarmOn` says.
void EditAlarmOf(TTFoglio& note, bool alarmOn, int button) {
  std::thread driver([=] {
    HWND dialog = WaitForWindow("TTFormAlarm");
    if (dialog == nullptr) return;
    HWND box = GetDlgItem(dialog, TTFormAlarm::CBAlarmOn);
    if ((SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED) != alarmOn) SendMessageA(box, BM_CLICK, 0, 0);
    PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(button), 0);
  });
  SendMessageA(note.hwnd(), WM_COMMAND, CommandOf(note.Commands().GeneralMenu().Handle(), "Set alarm"), 0);
  driver.join();
}

bool AlarmSignShown(TTFoglio& note) {
  InvalidateRect(note.hwnd(), nullptr, FALSE);
  UpdateWindow(note.hwnd());
  Pump(100);
  const win::WindowDc dc(note.hwnd());
  return GetPixel(dc.get(), note.Bounds().Width - 60 + 8, 10) == RGB(0, 160, 0);
}

// Waits, if need be, for a minute with at least `seconds` left, so that an alarm set to the
// present minute still rings and does not ring again in the next one.
void WaitForMinuteWithSecondsLeft(int seconds) {
  const DateTimeParts now = DecodeDateTime(NowDateTime());
  if (now.second > 59 - seconds) Sleep(static_cast<DWORD>((61 - now.second) * 1000));
}

using NoteCommandsTest = NoteWindowTest;
// Its real input goes to whichever window has the focus: it runs alone (tests/CMakeLists.txt).
using NoteShortcutsTest = NoteWindowTest;

TEST_F(NoteCommandsTest, MenusHoldEveryCaptionShortcutAndSeparator) {
  TTFoglio& note = NewNote(TestSkin());
  const std::vector<std::string> general = {
      "File>Open \tCtrl+F12", "File>Save as\tShift+F12", "Print>Print \tCtrl+P", "Print>Printer setup",
      "Apparence>Select font style and color\tCtrl+Alt+F", "Apparence>Select Background color\tCtrl+Alt+B",
      "Apparence>Insert date/time\tCtrl+I", "Apparence>-", "Apparence>Always on top\tCtrl+Alt+T",
      "Apparence>Tray icon area", "-", "Set alarm", "Mail to", "-", "Hide", "Close\tF4",
  };
  const std::vector<std::string> text = {
      "Undo\tCtrl+Z", "-", "Cut\tCtrl+X", "Copy\tCtrl+C", "Paste\tCtrl+V", "Delete\tCtrl+Del", "-",
      "Select All\tCtrl+A", "-", "File>Open \tCtrl+F12", "File>Save as\tShift+F12", "-", "Hide", "Close\tF4",
  };
  EXPECT_EQ(MenuLines(note.Commands().GeneralMenu().Handle()), general);
  EXPECT_EQ(MenuLines(note.Commands().TextMenu().Handle()), text);
  // The hidden "inv" rows are in no menu, but their shortcuts work in the edit box.
  const std::vector<std::string> generalKeys = {"Ctrl+Alt+B", "Ctrl+Alt+F", "Ctrl+Alt+T", "Ctrl+F12", "Ctrl+I",
                                                "Ctrl+P",     "F4",         "Shift+F12"};
  const std::vector<std::string> textKeys = {"Ctrl+A",   "Ctrl+Alt+B", "Ctrl+Alt+F", "Ctrl+Alt+T", "Ctrl+C",
                                             "Ctrl+Del", "Ctrl+F12",   "Ctrl+I",     "Ctrl+P",     "Ctrl+V",
                                             "Ctrl+X",   "Ctrl+Z",     "F4",         "Shift+F12"};
  EXPECT_EQ(Shortcuts(note.Commands().GeneralMenu().Accelerators()), generalKeys);
  EXPECT_EQ(Shortcuts(note.Commands().TextMenu().Accelerators()), textKeys);
}

TEST_F(NoteShortcutsTest, TypedIntoTheEditBoxTheyReachTheirCommands) {
  ErrorBoxWatcher boxes;
  TTFoglio& note = NewNote(TestSkin());
  note.MoveTo(100, 100);
  note.SetShown(true);
  note.SaveNote(note.Store().Path());
  SetForegroundWindow(note.hwnd());
  const HWND box = note.TextBox().hwnd();
  RECT boxRect{};
  GetWindowRect(box, &boxRect);
  ClickAt({boxRect.left + 10, boxRect.top + 5});
  ASSERT_EQ(GetFocus(), box);

  Type(box, {'A'});
  Type(box, {VK_CONTROL, 'I'});
  const std::string stamp = DateTimeStamp(NowDateTime(), UserLocalePictures());
  const std::string text = note.TextBox().Text();
  EXPECT_EQ(text.substr(0, 3), "a\r\n");
  EXPECT_EQ(text.substr(3, stamp.find(' ')), stamp.substr(0, stamp.find(' '))) << text;

  Type(box, {VK_CONTROL, 'A'});
  Type(box, {VK_CONTROL, 'X'});
  EXPECT_EQ(note.TextBox().Text(), "");
  Type(box, {VK_CONTROL, 'V'});
  EXPECT_EQ(note.TextBox().Text(), text);

  const UINT onTop = CommandOf(note.Commands().GeneralMenu().Handle(), "Always on top");
  Type(box, {VK_CONTROL, VK_MENU, 'T'});
  EXPECT_TRUE(note.OnTop());
  EXPECT_TRUE(GetWindowLongPtrA(note.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(Checked(note.Commands().GeneralMenu().Handle(), onTop));
  Type(box, {VK_CONTROL, VK_MENU, 'T'});
  EXPECT_FALSE(note.OnTop());
  EXPECT_FALSE(Checked(note.Commands().GeneralMenu().Handle(), onTop));

  // This machine has no printer: the error is shown and the note stays as it was.
  Type(box, {VK_CONTROL, 'P'});
  ASSERT_TRUE(boxes.WaitFor(1));
  EXPECT_EQ(boxes.Texts()[0], "There is no default printer currently selected");
  EXPECT_TRUE(IsWindowVisible(note.hwnd()));
  EXPECT_FALSE(note.Closed());

  Type(box, {VK_F4});
  EXPECT_TRUE(note.Closed());
  EXPECT_FALSE(IsWindowVisible(note.hwnd()));
  EXPECT_FALSE(FileExists(note.Store().Path()));
}

TEST_F(NoteCommandsTest, MailToFormTakesTheAddressingOnOkAndNothingOnAbort) {
  TTFoglio& note = NewNote(TestSkin());
  const UINT mailTo = CommandOf(note.Commands().GeneralMenu().Handle(), "Mail to");
  ASSERT_NE(mailTo, 0u);
  // Fills the form as a user would, then leaves it with `button`.
  const auto drive = [](const char* to, const char* subject, int button) {
    return std::thread([=] {
      HWND form = WaitForWindow("TTMailTo");
      if (form == nullptr) return;
      HWND edit1 = GetDlgItem(form, TTMailTo::Edit1);
      SendMessageA(edit1, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("first@example.org"));
      SendMessageA(GetDlgItem(form, TTMailTo::SpeedButton1), BM_CLICK, 0, 0);
      SendMessageA(GetDlgItem(form, TTMailTo::SpeedButton1), BM_CLICK, 0, 0);  // empty: adds nothing
      SendMessageA(edit1, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(to));
      SendMessageA(GetDlgItem(form, TTMailTo::Edit2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(subject));
      PostMessageA(form, WM_COMMAND, static_cast<WPARAM>(button), 0);
    });
  };

  std::thread ok = drive("to@example.org", "Hello", TTMailTo::BitBtn1);
  SendMessageA(note.hwnd(), WM_COMMAND, mailTo, 0);
  ok.join();
  EXPECT_EQ(note.Data().MailTo, "to@example.org");
  EXPECT_EQ(note.Data().MailSubject, "Hello");
  EXPECT_EQ(note.Data().MailRecipients, std::vector<std::string>{"first@example.org"});

  std::thread abort = drive("other@example.org", "Changed", TTMailTo::BitBtn2);
  SendMessageA(note.hwnd(), WM_COMMAND, mailTo, 0);
  abort.join();
  EXPECT_EQ(note.Data().MailTo, "to@example.org");
  EXPECT_EQ(note.Data().MailSubject, "Hello");
  EXPECT_EQ(note.Data().MailRecipients, std::vector<std::string>{"first@example.org"});
  EXPECT_EQ(host_.suspends, 2);
  EXPECT_EQ(host_.resumes, 2);
}

TEST_F(NoteCommandsTest, OpenThatFailsPartWayStillResumesTheNotes) {
  ErrorBoxWatcher boxes;
  TTFoglio& note = NewNote(TestSkin());
  const std::string damaged = Base() + "\\damaged.kli";
  WriteBytes(damaged, "\x04\x32\x06");
  // Picks the file in the system's open dialog as a user would: its name typed, then Open.
  std::thread driver([&] {
    for (int i = 0; i < 500; ++i) {
      HWND dialog = FindWindowA("#32770", "Open");
      if (dialog != nullptr && IsWindowVisible(dialog)) {
        for (int field : {0x47c, 0x480}) SetDlgItemTextA(dialog, field, damaged.c_str());
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return;
      }
      Sleep(10);
    }
  });
  SendMessageA(note.hwnd(), WM_COMMAND, CommandOf(note.Commands().GeneralMenu().Handle(), "Open "), 0);
  driver.join();
  ASSERT_TRUE(boxes.WaitFor(1));
  EXPECT_EQ(host_.suspends, 1);
  EXPECT_EQ(host_.resumes, 1);
  EXPECT_NE(note.Data().FileName, damaged) << "the name stays when the file cannot be read";
}

TEST_F(NoteCommandsTest, PrintPictureIsTheClientAreaScaledByDpiOver96) {
  TTFoglio& note = NewNote(TestSkin());
  note.SetShown(true);
  const int width = note.Bounds().Width, height = note.Bounds().Height;
  constexpr COLORREF kUntouched = RGB(1, 2, 3);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, 3 * width + 20, -(3 * height + 20), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const win::UniqueBitmap page(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const win::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  const win::SelectedObject selected(dc.get(), page.get());
  const RECT all{0, 0, 3 * width + 20, 3 * height + 20};
  const win::UniqueBrush untouched(CreateSolidBrush(kUntouched));
  FillRect(dc.get(), &all, untouched.get());

  note.Commands().DrawPrintPicture(dc.get(), 288, 288);
  EXPECT_EQ(GetPixel(dc.get(), 3 * 100, 3 * 10), RGB(230, 200, 60)) << "the title strip, three times as far";
  EXPECT_EQ(GetPixel(dc.get(), 3 * 100, 3 * 40), note.TextBox().BackColor()) << "the edit box is printed too";
  EXPECT_EQ(GetPixel(dc.get(), 3 * 100, 3 * 100), RGB(250, 240, 150)) << "the background";
  EXPECT_EQ(GetPixel(dc.get(), 3 * width - 2, 3 * height - 2), RGB(250, 240, 150));
  EXPECT_EQ(GetPixel(dc.get(), 3 * width + 2, 3 * height + 2), kUntouched);
}

TEST_F(NoteCommandsTest, CloseWithRecycleBinLeavesTheUsersDocumentAsItWas) {
  host_.recycle = true;
  TTFoglio& note = NewNote(TestSkin());
  const std::string document = Base() + "\\letter.txt";
  const std::string bytes = "the user's own letter\r\nsecond line\r\n";
  WriteBytes(document, bytes);
  note.OpenFileInNote(document);
  note.SetText("the note's text now");
  note.SaveNote(note.Store().Path());
  note.SetShown(true);

  note.CloseNote();
  EXPECT_EQ(ReadBytes(document), bytes);
  EXPECT_TRUE(note.Closed());
  EXPECT_FALSE(IsWindowVisible(note.hwnd()));
  EXPECT_FALSE(FileExists(note.Store().Path()));
  // The copy went to the recycle bin from a folder of its own, which is gone with it.
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  for (const auto& entry : fs::directory_iterator(temp)) {
    EXPECT_EQ(entry.path().filename().string().rfind("qkli-recycle-", 0), std::string::npos) << entry.path();
  }
}

TEST_F(NoteCommandsTest, CloseThatCannotWriteTheRecycleCopyStillClosesAndThenReports) {
  host_.recycle = true;
  TTFoglio& note = NewNote(TestSkin());
  // A name that ends in a separator names no file: the copy cannot be written.
  note.SetFileName(Base() + "\\");
  note.SaveNote(note.Store().Path());
  const win::UniqueMenu menu(CreatePopupMenu());
  note.ListItem().InsertInto(menu.get(), 0);
  note.SetShown(true);

  EXPECT_ANY_THROW(note.CloseNote());
  EXPECT_TRUE(note.Closed());
  EXPECT_FALSE(IsWindowVisible(note.hwnd()));
  EXPECT_FALSE(FileExists(note.Store().Path()));
  EXPECT_EQ(GetMenuItemCount(menu.get()), 0);
}

TEST_F(NoteCommandsTest, AlarmRingsOnceRaisesTheNoteAndBlinksItBackToItsColour) {
  WaitForMinuteWithSecondsLeft(25);
  // The alarm's timer ticks every 50 ms instead of every ten seconds.
  TTFoglio& note = Keep(std::make_unique<TTFoglio>(host_, false, false, Cache(), "", TestSkin(),
                                                   TTFoglio::StoredVisibility::Apply, 50));
  const COLORREF own = note.TextBox().BackColor();
  tQuorEvent& sounds = skins_.back()->Events();
  // A new note's alarm is set to the minute it was made in: switching it on is enough.
  EditAlarmOf(note, true, TTFormAlarm::BitBtn1);
  const auto start = std::chrono::steady_clock::now();
  const auto since = [&] { return std::chrono::steady_clock::now() - start; };
  while (!note.AlarmClock().Blinking() && since() < std::chrono::seconds(3)) PumpLoop(20);
  ASSERT_TRUE(note.AlarmClock().Blinking());
  EXPECT_EQ(sounds.Requests(evAlarm), 1);
  EXPECT_TRUE(IsWindowVisible(note.hwnd()));
  EXPECT_TRUE(note.OnTop());
  EXPECT_TRUE(GetWindowLongPtrA(note.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  // Confirmed again within its minute the alarm rings again, but the blink runs on as it was.
  PumpLoop(2000);
  EditAlarmOf(note, true, TTFormAlarm::BitBtn1);
  PumpLoop(500);
  EXPECT_EQ(sounds.Requests(evAlarm), 2);
  int redSamples = 0, ownSamples = 0;
  while (note.AlarmClock().Blinking() && since() < std::chrono::seconds(20)) {
    PumpLoop(100);
    redSamples += note.TextBox().BackColor() == RGB(255, 0, 0);
    ownSamples += note.TextBox().BackColor() == own;
  }
  EXPECT_FALSE(note.AlarmClock().Blinking());
  EXPECT_LT(since(), std::chrono::milliseconds(16500)) << "a second alarm must not restart the blink";
  EXPECT_GT(since(), std::chrono::milliseconds(14000));
  EXPECT_GT(redSamples, 30);
  EXPECT_GT(ownSamples, 30);
  EXPECT_EQ(note.TextBox().BackColor(), own);
  EXPECT_TRUE(note.OnTop()) << "the note stays on top after its alarm";
  EXPECT_EQ(sounds.Requests(evAlarm), 2);
}

TEST_F(NoteCommandsTest, AlarmDialogAbortChangesNothingAndTheAlarmSurvivesARestart) {
  TTFoglio& note = NewNote(TestSkin());
  note.SetShown(true);
  const QDateTime made = note.AlarmClock().Fields().When;
  EditAlarmOf(note, true, TTFormAlarm::BitBtn1);
  EXPECT_TRUE(note.AlarmClock().Fields().Active);
  EXPECT_TRUE(AlarmSignShown(note));
  EditAlarmOf(note, false, TTFormAlarm::BitBtn2);
  EXPECT_TRUE(note.AlarmClock().Fields().Active) << "Abort changes nothing";
  EXPECT_TRUE(AlarmSignShown(note));
  EXPECT_EQ(host_.suspends, host_.resumes);

  const std::string storeName = note.Store().Name();
  Destroy(note);
  TTFoglio& restored = RestoredNote(TestSkin(), storeName);
  const NoteAlarmFields alarm = restored.AlarmClock().Fields();
  EXPECT_TRUE(alarm.Active);
  EXPECT_TRUE(alarm.IsSet);
  EXPECT_FALSE(alarm.EveryDay);
  EXPECT_EQ(alarm.When, made);

  restored.SetShown(true);
  EditAlarmOf(restored, false, TTFormAlarm::BitBtn1);
  EXPECT_FALSE(restored.AlarmClock().Fields().Active);
  EXPECT_EQ(restored.AlarmClock().Fields().When, made) << "the date and time stay";
  EXPECT_FALSE(AlarmSignShown(restored));
}

}  // namespace
}  // namespace note_test
