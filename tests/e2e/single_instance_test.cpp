// One instance per user: a second start hands its files over and ends.
#include <filesystem>

#include "app/window_messages.h"
#include "notes/note_data.h"
#include "notes/note_file.h"
#include "tests/e2e/e2e_support.h"
#include "win/unicode.h"

namespace e2e {
namespace {

using SingleInstance = QkliTest;

LRESULT CALLBACK ForeignProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == UM_PING) return 0;
  return DefWindowProcA(hwnd, msg, wp, lp);
}

TEST_F(SingleInstance, TheProbeFindsTheControllerByClassAndTitleInAnyCase) {
  Start();
  // The caption is "Quor K-li"; a second start looks for "Quor K-lI".
  char caption[32] = {};
  GetWindowTextA(controller_, caption, sizeof caption);
  EXPECT_STREQ(caption, "Quor K-li");
  EXPECT_EQ(FindWindowA(kControllerClass, kProbeTitle), controller_);
  EXPECT_EQ(GetWindowLongA(controller_, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
  RECT r{};
  GetWindowRect(controller_, &r);
  EXPECT_EQ(r.right - r.left, 0);
  EXPECT_FALSE(IsWindowVisible(controller_));
  Stop();
}

TEST_F(SingleInstance, AWindowThatDoesNotAnswerFiftyIsNoInstance) {
  // A window of the same class and title from some other program, answering the ping with 0.
  WNDCLASSA foreign{};
  foreign.lpfnWndProc = ForeignProcedure;
  foreign.hInstance = GetModuleHandleA(nullptr);
  foreign.lpszClassName = kControllerClass;
  RegisterClassA(&foreign);
  HWND impostor = CreateWindowExA(0, kControllerClass, kProbeTitle, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(impostor, nullptr);
  Start();  // starts as a full instance of its own
  EXPECT_NE(controller_, impostor);
  EXPECT_EQ(Send(UM_PING), kPingAnswer);
  DestroyWindow(impostor);
  UnregisterClassA(kControllerClass, GetModuleHandleA(nullptr));
  Stop();
}

TEST_F(SingleInstance, ASecondStartOpensItsFilesInTheRunningInstanceInOrder) {
  NoteData data;
  data.Lines = {"first"};
  const std::string first = win::Utf8((scratch_ / L"first 日本語 😀.kli").wstring());
  SaveNoteFile(first, data);
  const std::string second = (scratch_ / "second.txt").string();
  WriteBytes(second, "second\r\n");

  Start();
  EXPECT_EQ(Send(UM_PING), kPingAnswer);
  ASSERT_TRUE(Notes().empty());
  EXPECT_EQ(StartSecond({first, second}), 0);

  // Both open as notes of the running instance, each brought to the front in turn: the second
  // file's note lies above the first's.
  const std::vector<NoteWindow> notes = Notes();
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0].title, second);
  EXPECT_EQ(notes[1].title, first);
  EXPECT_TRUE(notes[0].visible && notes[1].visible);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "file.tmp"));
  Stop();
  EXPECT_EQ(CacheFiles().size(), 2u);
}

TEST_F(SingleInstance, ASecondStartWithoutFilesOpensNothingAndLeavesNoList) {
  Start();
  EXPECT_EQ(StartSecond({}), 0);
  EXPECT_TRUE(Notes().empty());
  EXPECT_FALSE(std::filesystem::exists(folder_ / "file.tmp"));
  EXPECT_EQ(Send(UM_PING), kPingAnswer);  // the first instance runs on
  Stop();
}

TEST_F(SingleInstance, AHandedOverPathThatNamesNoFileIsReportedAndMakesNoNote) {
  Start();
  const std::string missing = (scratch_ / "gone.kli").string();
  EXPECT_EQ(StartSecond({missing}), 0);
  EXPECT_EQ(ErrorBoxes(1)[0], "File not found :" + missing);
  EXPECT_TRUE(Notes().empty());
  Stop();
  EXPECT_TRUE(CacheFiles().empty());
}

}  // namespace
}  // namespace e2e
