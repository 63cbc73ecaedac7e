#include "tests/e2e/e2e_support.h"

#include <algorithm>
#include <chrono>
#include <fstream>

#include "app/window_messages.h"
#include "win/unicode.h"

namespace e2e {

namespace {

constexpr int kStartTimeoutMs = 15000;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

bool StartProcess(const std::string& exe, const std::vector<std::string>& arguments, const std::string& folder,
                  PROCESS_INFORMATION& process) {
  std::wstring commandLine = win::Wide(Quoted(exe));
  for (const std::string& argument : arguments) commandLine += win::Wide(" " + Quoted(argument));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  return CreateProcessW(win::Wide(exe).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        win::Wide(folder).c_str(), &startup, &process) != 0;
}

void CopyFolder(const fs::path& from, const fs::path& to) {
  fs::create_directories(to);
  for (const auto& entry : fs::directory_iterator(from)) {
    // Every test starts with its own notes and settings (a run of the program folder may have
    // left both).
    if (entry.path().filename() == "cache" || entry.path().filename() == "options.dat") continue;
    fs::copy(entry.path(), to / entry.path().filename(), fs::copy_options::recursive);
  }
  fs::create_directories(to / "cache");
}

}  // namespace

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

void QkliTest::SetUp() {
  static int counter = 0;
  const fs::path base = fs::temp_directory_path() /
                        ("qkli-e2e-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter));
  folder_ = base / "program";
  scratch_ = base / "files";
  fs::create_directories(scratch_);
  CopyFolder(fs::path(app_test::WindowsPath(QKLI_PROGRAM_DIR)), folder_);
}

void QkliTest::TearDown() {
  boxes_.reset();
  if (process_.hProcess != nullptr) {
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 1);
      WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    process_ = {};
  }
  std::error_code ignored;
  fs::remove_all(folder_.parent_path(), ignored);
}

void QkliTest::Start(const std::vector<std::string>& arguments) {
  if (process_.hProcess != nullptr) {
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
  boxes_.reset();
  boxesExpected_ = 0;
  ASSERT_TRUE(StartProcess((folder_ / "qkli.exe").string(), arguments, Folder(), process_));
  boxes_ = std::make_unique<app_test::ErrorBoxWatcher>(process_.dwProcessId);
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartTimeoutMs);
  for (;;) {
    const std::vector<HWND> found = app_test::WindowsOfProcess(process_.dwProcessId, kControllerClass);
    // The controller takes the tool-window style at the end of its start-up.
    if (!found.empty() && (GetWindowLongA(found.front(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0) {
      controller_ = found.front();
      break;
    }
    ASSERT_LT(std::chrono::steady_clock::now(), end) << "qkli did not start";
    if (WaitForSingleObject(process_.hProcess, 0) != WAIT_TIMEOUT) {
      DWORD code = 0;
      GetExitCodeProcess(process_.hProcess, &code);
      FAIL() << "qkli ended during its start, exit code " << code;
    }
    // Windows of the test itself (a stand-in that qkli's probe finds) answer meanwhile.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(10);
  }
}

int QkliTest::StartSecond(const std::vector<std::string>& arguments) {
  PROCESS_INFORMATION second{};
  if (!StartProcess((folder_ / "qkli.exe").string(), arguments, Folder(), second)) return -1;
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(second.hProcess, 10000) == WAIT_OBJECT_0) GetExitCodeProcess(second.hProcess, &code);
  CloseHandle(second.hProcess);
  CloseHandle(second.hThread);
  return static_cast<int>(code);
}

void QkliTest::Stop() {
  ASSERT_EQ(Send(UM_COMMAND, 5, 5), 1);
  ASSERT_EQ(WaitForSingleObject(process_.hProcess, 10000), WAIT_OBJECT_0) << "qkli did not end";
  DWORD code = 1;
  GetExitCodeProcess(process_.hProcess, &code);
  EXPECT_EQ(code, 0u);
  const std::vector<std::string> shown = boxes_->Texts();
  EXPECT_EQ(shown.size(), boxesExpected_) << "unexpected error box: " << shown.back();
}

std::vector<std::string> QkliTest::ErrorBoxes(size_t count) {
  EXPECT_TRUE(boxes_->WaitFor(count)) << "fewer than " << count << " error boxes";
  boxesExpected_ = std::max(boxesExpected_, count);
  std::vector<std::string> texts = boxes_->Texts();
  texts.resize(std::max(texts.size(), count));  // a box that never came fails, never crashes
  return texts;
}

LRESULT QkliTest::Send(UINT msg, WPARAM wp, LPARAM lp) const {
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutA(controller_, msg, wp, lp, SMTO_ABORTIFHUNG, 10000, &answer), 0)
      << "no answer to message " << msg;
  return static_cast<LRESULT>(answer);
}

LRESULT QkliTest::SendCopyData(ULONG_PTR kind, const void* data, DWORD size) const {
  COPYDATASTRUCT copy{kind, size, const_cast<void*>(data)};
  return Send(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
}

std::vector<NoteWindow> QkliTest::Notes() const {
  std::vector<NoteWindow> notes;
  for (HWND window : app_test::WindowsOfProcess(process_.dwProcessId, "TTFoglio")) {
    NoteWindow note{window, {}, {}, IsWindowVisible(window) != FALSE,
                    (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0};
    wchar_t title[1024] = {};
    GetWindowTextW(window, title, 1024);
    note.title = win::Utf8(title);
    GetWindowRect(window, &note.rect);
    notes.push_back(note);
  }
  return notes;
}

std::vector<NoteWindow> QkliTest::NewNotesSince(const std::vector<NoteWindow>& before) const {
  std::vector<NoteWindow> added;
  for (const NoteWindow& note : Notes()) {
    if (std::none_of(before.begin(), before.end(), [&](const NoteWindow& b) { return b.hwnd == note.hwnd; }))
      added.push_back(note);
  }
  return added;
}

std::vector<std::string> QkliTest::CacheFiles() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder_ / "cache")) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace e2e
