// The controller's window messages as another process sends them.
#include <chrono>
#include <filesystem>
#include <future>

#include "app/window_messages.h"
#include "tests/e2e/e2e_support.h"

namespace e2e {
namespace {

using ControllerMessages = QkliTest;

TEST_F(ControllerMessages, AnswersAndCommandsThatDoNothing) {
  Start();
  EXPECT_EQ(Send(UM_PING), 50);
  EXPECT_EQ(Send(UM_COMMAND, 4, 5), 1);  // codes that differ: nothing happens
  EXPECT_EQ(Send(UM_COMMAND, 99, 99), 1);
  EXPECT_EQ(Send(UM_FILENAMECHAR, 7, 7), 1);
  EXPECT_TRUE(Notes().empty());
  const char path[] = "x";
  EXPECT_EQ(SendCopyData(103, path, sizeof path), 0);  // not a kind it knows
  EXPECT_TRUE(Notes().empty());
  Stop();
}

TEST_F(ControllerMessages, NewNotesShowAndHideAllAndTheCascade) {
  Start();
  std::vector<HWND> made;
  for (int i = 0; i < 3; ++i) {
    const auto before = Notes();
    ASSERT_EQ(Send(UM_COMMAND, 4, 4), 1);
    const auto added = NewNotesSince(before);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_TRUE(added[0].visible);
    EXPECT_TRUE(added[0].topmost);  // all notes on top by default
    made.push_back(added[0].hwnd);
  }
  EXPECT_EQ(Send(UM_COMMAND, 9, 9), 1);
  for (HWND note : made) EXPECT_FALSE(IsWindowVisible(note));
  EXPECT_EQ(Send(UM_COMMAND, 8, 8), 1);
  for (HWND note : made) EXPECT_TRUE(IsWindowVisible(note));

  EXPECT_EQ(Send(UM_COMMAND, 11, 11), 1);
  const POINT expected[] = {{10, 10}, {60, 25}, {110, 40}};
  for (int i = 0; i < 3; ++i) {
    RECT r{};
    GetWindowRect(made[static_cast<size_t>(i)], &r);
    EXPECT_EQ(r.left, expected[i].x) << i;
    EXPECT_EQ(r.top, expected[i].y) << i;
  }
  Stop();
  EXPECT_EQ(CacheFiles().size(), 3u);
}

TEST_F(ControllerMessages, FileNameByCharactersOpensTheFile) {
  WriteBytes((folder_ / "ab").string(), "typed by characters\r\n");
  Start();
  EXPECT_EQ(Send(UM_FILENAMECHAR, 1, 0), 1);
  EXPECT_EQ(Send(UM_FILENAMECHAR, 3, 97), 1);
  EXPECT_EQ(Send(UM_FILENAMECHAR, 3, 98), 2);
  EXPECT_EQ(Send(UM_FILENAMECHAR, 2, 1), 1);
  const auto notes = Notes();
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0].title, "ab");
  Stop();
}

TEST_F(ControllerMessages, CopyDataOpensAFileOrReportsAMissingOneAnd102Prints) {
  const std::string file = (scratch_ / "copied.txt").string();
  WriteBytes(file, "by WM_COPYDATA\r\n");
  Start();
  EXPECT_EQ(SendCopyData(101, file.c_str(), static_cast<DWORD>(file.size() + 1)), 1);
  ASSERT_EQ(Notes().size(), 1u);
  EXPECT_EQ(Notes()[0].title, file);

  const std::string missing = (scratch_ / "missing.kli").string();
  EXPECT_EQ(SendCopyData(101, missing.c_str(), static_cast<DWORD>(missing.size() + 1)), 1);
  EXPECT_EQ(SendCopyData(102, missing.c_str(), static_cast<DWORD>(missing.size() + 1)), 1);
  // 102 prints the note it opened; this machine has no printer, which is said, and the note stays.
  EXPECT_EQ(SendCopyData(102, file.c_str(), static_cast<DWORD>(file.size() + 1)), 1);
  const auto boxes = ErrorBoxes(3);
  EXPECT_EQ(boxes[0], "File not found :" + missing);
  EXPECT_EQ(boxes[1], "File not found :" + missing);
  EXPECT_EQ(boxes[2], "There is no default printer currently selected");
  EXPECT_EQ(Notes().size(), 2u);
  Stop();
}

TEST_F(ControllerMessages, CopyDataIsReadOnlyWithinItsSize) {
  Start();
  // No terminating NUL: the path is the five bytes given, not what follows them in memory.
  const char unterminated[] = {'a', 'b', 'c', 'd', 'e', 'X', 'Y', 'Z'};
  EXPECT_EQ(SendCopyData(101, unterminated, 5), 1);
  const char something[] = "ignored";
  EXPECT_EQ(SendCopyData(101, something, 0), 1);
  const auto boxes = ErrorBoxes(2);
  EXPECT_EQ(boxes[0], "File not found :abcde");
  EXPECT_EQ(boxes[1], "File not found :");
  EXPECT_EQ(Send(UM_PING), 50);
  EXPECT_TRUE(Notes().empty());
  Stop();
}

TEST_F(ControllerMessages, AMissingHandOverListIsReportedAndAnsweredWithZero) {
  Start();
  EXPECT_EQ(Send(UM_OPENLIST), 0);
  EXPECT_EQ(ErrorBoxes(1).size(), 1u);
  EXPECT_TRUE(Notes().empty());
  EXPECT_EQ(Send(UM_PING), 50);
  Stop();
}

TEST_F(ControllerMessages, CloseAllDeletesEveryNoteAndItsStoreFile) {
  Start();
  for (int i = 0; i < 2; ++i) Send(UM_COMMAND, 4, 4);
  Stop();
  ASSERT_EQ(CacheFiles().size(), 2u);
  Start();
  ASSERT_EQ(Notes().size(), 2u);
  EXPECT_EQ(Send(UM_COMMAND, 10, 10), 1);
  EXPECT_TRUE(CacheFiles().empty());
  EXPECT_TRUE(Notes().empty());
  Stop();
  EXPECT_TRUE(CacheFiles().empty());
}

TEST_F(ControllerMessages, ALeftClickOnTheTrayIconMakesANoteByDefault) {
  Start();
  // What the shell sends the controller for its icon: the mouse message in lParam.
  constexpr UINT kTrayMessage = WM_APP + 1;
  Send(kTrayMessage, 1, WM_LBUTTONDOWN);  // the press does nothing; the release acts
  EXPECT_TRUE(Notes().empty());
  Send(kTrayMessage, 1, WM_LBUTTONUP);
  ASSERT_EQ(Notes().size(), 1u);
  EXPECT_TRUE(Notes()[0].visible);
  Stop();
  EXPECT_EQ(CacheFiles().size(), 1u);
}

// The tray menu of the qkli process, when it is open.
HWND OpenMenuOf(DWORD processId) {
  for (HWND menu : app_test::WindowsOfProcess(processId, "#32768"))
    if (IsWindowVisible(menu)) return menu;
  return nullptr;
}

TEST_F(ControllerMessages, TheTrayMenuOpensAtTheGivenPointAndExitWaitsForIt) {
  Start();
  Send(UM_COMMAND, 4, 4);
  // The sender waits while the menu is open, so it sends from a thread of its own. A menu that
  // opens while the new note is still taking the focus closes at once: then it is asked again.
  HWND controller = controller_;
  auto openMenu = [controller] {
    return std::async(std::launch::async, [controller] {
      DWORD_PTR answer = 0;
      SendMessageTimeoutA(controller, UM_COMMAND, 12, 300 * 9999 + 200, SMTO_ABORTIFHUNG, 20000, &answer);
      return answer;
    });
  };
  auto menuCall = openMenu();
  HWND menu = nullptr;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (menu == nullptr && std::chrono::steady_clock::now() < end) {
    Sleep(20);
    menu = OpenMenuOf(ProcessId());
    if (menu == nullptr && menuCall.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
      EXPECT_EQ(menuCall.get(), 1u);
      menuCall = openMenu();
    }
  }
  ASSERT_NE(menu, nullptr) << "no tray menu";
  RECT r{};
  GetWindowRect(menu, &r);
  EXPECT_EQ(r.left, 300);
  EXPECT_EQ(r.top, 200);

  // Exit while the menu is open: answered at once, carried out once the menu has closed.
  EXPECT_EQ(Send(UM_COMMAND, 5, 5), 1);
  EXPECT_EQ(WaitForSingleObject(process_.hProcess, 200), WAIT_TIMEOUT);
  PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_EQ(menuCall.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  EXPECT_EQ(menuCall.get(), 1u);
  ASSERT_EQ(WaitForSingleObject(process_.hProcess, 10000), WAIT_OBJECT_0);
  EXPECT_EQ(CacheFiles().size(), 1u);
}

}  // namespace
}  // namespace e2e
