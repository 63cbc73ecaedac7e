// Notes the user can always reach: a key from anywhere while another program has the focus,
// Find typed into, and a closed note brought back from the tray menu.
#include <future>

#include "app/window_messages.h"
#include "notes/note_data.h"
#include "notes/note_file.h"
#include "tests/e2e/e2e_support.h"

namespace e2e {
namespace {

using Reach = QkliTest;

// Real keys, as the keyboard gives them: Ctrl+Alt+Shift and `key`.
void PressWithCtrlAltShift(BYTE key) {
  const BYTE pressed[] = {VK_CONTROL, VK_MENU, VK_SHIFT, key};
  for (const BYTE k : pressed) keybd_event(k, 0, 0, 0);
  for (int i = 3; i >= 0; --i) keybd_event(pressed[i], 0, KEYEVENTF_KEYUP, 0);
}

void Type(const std::string& text) {
  for (const char c : text) {
    const SHORT key = VkKeyScanA(c);
    keybd_event(LOBYTE(key), 0, 0, 0);
    keybd_event(LOBYTE(key), 0, KEYEVENTF_KEYUP, 0);
  }
}

// A window of this test that has the focus: "another program".
struct OtherProgram {
  OtherProgram() : hwnd(CreateWindowExA(0, "EDIT", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 400, 200, 100, nullptr,
                                        nullptr, nullptr, nullptr)) {
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
  }
  ~OtherProgram() { DestroyWindow(hwnd); }
  HWND hwnd;
};

template <class Ready>
bool WaitFor(Ready ready) {
  for (int i = 0; i < 300; ++i) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    if (ready()) return true;
    Sleep(20);
  }
  return false;
}

TEST_F(Reach, TheKeyFromAnywhereMakesANoteWhileAnotherProgramHasTheFocus) {
  Start();
  const OtherProgram other;
  ASSERT_EQ(GetForegroundWindow(), other.hwnd);
  PressWithCtrlAltShift('N');
  EXPECT_TRUE(WaitFor([&] { return Notes().size() == 1; }));
  Stop();
}

TEST_F(Reach, FindTypedIntoShowsTheNoteAndSelectsTheMatch) {
  for (const char* name : {"1.kli", "2.kli"}) {
    NoteData note;
    note.Lines = name == std::string("1.kli") ? std::vector<std::string>{"call Anna", "pay the rent"}
                                              : std::vector<std::string>{"first line", "Buy MILK today"};
    note.StoreName = name;
    note.FileName = std::string("C:\\notes\\") + name;
    note.Shown = name == std::string("1.kli");  // the one with the match is hidden
    SaveNoteFile(Cache() + "\\" + name, note);
  }
  Start();
  const OtherProgram other;
  PressWithCtrlAltShift('F');
  HWND find = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    const auto found = app_test::WindowsOfProcess(ProcessId(), "TFindForm");
    find = found.empty() ? nullptr : found.front();
    return find != nullptr && GetForegroundWindow() == find;
  }));
  Type("milk");
  Sleep(300);
  keybd_event(VK_RETURN, 0, 0, 0);
  keybd_event(VK_RETURN, 0, KEYEVENTF_KEYUP, 0);
  NoteWindow shown{};
  ASSERT_TRUE(WaitFor([&] {
    for (const NoteWindow& note : Notes())
      if (note.title == "C:\\notes\\2.kli" && note.visible) shown = note;
    return shown.hwnd != nullptr;
  }));
  DWORD start = 0, end = 0;
  SendMessageA(FindWindowExA(shown.hwnd, nullptr, "Edit", nullptr), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  // "first line" CR LF "Buy " comes before the match.
  EXPECT_EQ(std::pair(start, end), std::pair(DWORD{16}, DWORD{20}));
  Stop();
}

TEST_F(Reach, AClosedNoteComesBackFromTheTrayMenuWithItsAlarm) {
  NoteData note;
  note.Lines = {"dentist at four"};
  note.StoreName = "3.kli";
  note.Left = 120;
  note.Top = 90;
  note.Alarm = {EncodeDateTime(2030, 1, 2, 15, 45), false, true, true};
  note.Shown = true;
  SaveNoteFile(Cache() + "\\3.kli", note);
  Start();
  ASSERT_EQ(Send(UM_COMMAND, 10, 10), 1);  // Close all
  EXPECT_TRUE(Notes().empty() || !Notes().front().visible);
  EXPECT_TRUE(CacheFiles().empty());

  // The tray menu, and in it "Recently closed" (the fifth entry), its first note.
  HWND controller = controller_;
  auto menuCall = std::async(std::launch::async, [controller] {
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(controller, UM_COMMAND, 12, 300 * 9999 + 200, SMTO_ABORTIFHUNG, 20000, &answer);
    return answer;
  });
  HWND menu = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    for (HWND m : app_test::WindowsOfProcess(ProcessId(), "#32768"))
      if (IsWindowVisible(m)) menu = m;
    return menu != nullptr;
  }));
  for (int i = 0; i < 5; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RIGHT, 0);
  Sleep(300);
  for (HWND m : app_test::WindowsOfProcess(ProcessId(), "#32768"))
    if (IsWindowVisible(m) && m != menu) menu = m;  // the submenu
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_EQ(menuCall.wait_for(std::chrono::seconds(10)), std::future_status::ready);

  NoteWindow back{};
  ASSERT_TRUE(WaitFor([&] {
    for (const NoteWindow& n : Notes())
      if (n.visible) back = n;
    return back.hwnd != nullptr;
  }));
  EXPECT_EQ(back.rect.left, 120);
  EXPECT_EQ(back.rect.top, 90);
  Stop();
  ASSERT_EQ(CacheFiles(), std::vector<std::string>{"3.kli"});
  NoteData saved;
  int items = 0;
  LoadNoteFile(Cache() + "\\3.kli", saved, items);
  EXPECT_EQ(saved.Lines, note.Lines);
  EXPECT_EQ(saved.Alarm, note.Alarm);
}

}  // namespace
}  // namespace e2e
