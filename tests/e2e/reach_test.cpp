// Notes the user can always reach: a key from anywhere while another program has the focus,
// Find typed into, and a closed note brought back from the tray menu.
#include <future>
#include <tuple>

#include "app/window_messages.h"
#include "notes/note_data.h"
#include "notes/note_file.h"
#include "storage/file_io.h"
#include "tests/e2e/e2e_support.h"

namespace e2e {
namespace {

using Reach = QkliTest;

// Real keys, as the keyboard gives them: all of `keys` down, then up in reverse order.
void Press(std::initializer_list<BYTE> keys) {
  for (const BYTE k : keys) keybd_event(k, 0, 0, 0);
  for (auto k = std::rbegin(keys); k != std::rend(keys); ++k) keybd_event(*k, 0, KEYEVENTF_KEYUP, 0);
}
constexpr BYTE kCtrl = VK_CONTROL, kAlt = VK_MENU, kShift = VK_SHIFT;

void SaveStore(const std::string& path, std::vector<std::string> lines, bool shown, NoteData note = {}) {
  std::tie(note.Lines, note.Shown, note.StoreName) = std::tuple(std::move(lines), shown, FileNamePart(path));
  SaveNoteFile(path, note);
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
  Press({kCtrl, kAlt, kShift, 'N'});
  EXPECT_TRUE(WaitFor([&] { return Notes().size() == 1; }));
  Stop();
}

TEST_F(Reach, FindTypedIntoShowsTheNoteAndSelectsTheMatch) {
  SaveStore(Cache() + "\\1.kli", {"call Anna", "pay the rent"}, true);
  NoteData named;
  named.FileName = "C:\\notes\\2.kli";
  SaveStore(Cache() + "\\2.kli", {"first line", "Buy MILK today"}, false, named);  // the match is hidden
  Start();
  const OtherProgram other;
  Press({kCtrl, kAlt, kShift, 'F'});
  HWND find = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    const auto found = app_test::WindowsOfProcess(ProcessId(), "TFindForm");
    find = found.empty() ? nullptr : found.front();
    return find != nullptr && GetForegroundWindow() == find;
  }));
  for (const char c : std::string("milk")) Press({LOBYTE(VkKeyScanA(c))});
  Sleep(300);
  Press({VK_RETURN});
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
  const NoteAlarmFields alarm{EncodeDateTime(2030, 1, 2, 15, 45), false, true, true};
  std::tie(note.Left, note.Top, note.Alarm) = std::tuple(120, 90, alarm);
  SaveStore(Cache() + "\\3.kli", {"dentist at four"}, true, note);
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
  EXPECT_EQ(std::pair(back.rect.left, back.rect.top), std::pair(120L, 90L));
  Stop();
  ASSERT_EQ(CacheFiles(), std::vector<std::string>{"3.kli"});
  NoteData saved;
  int items = 0;
  LoadNoteFile(Cache() + "\\3.kli", saved, items);
  EXPECT_EQ(saved.Lines, std::vector<std::string>{"dentist at four"});
  EXPECT_EQ(saved.Alarm, alarm);
}

}  // namespace
}  // namespace e2e
