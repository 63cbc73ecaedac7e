#pragma once
// Shared by the controller's Windows tests and the end-to-end tests: a watcher that answers the
// error boxes of one process, and paths of the build's program folder as Windows sees them.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "win/unicode.h"

namespace app_test {

// A path of the build tree ("/work/build/program") as a Windows program under Wine names it.
inline std::string WindowsPath(std::string path) {
  if (!path.empty() && path.front() == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

// The top-level windows of `className` that belong to process `processId`, from one snapshot
// of the window list: a walk window by window would miss or repeat windows that change their
// place in the z-order meanwhile.
inline std::vector<HWND> WindowsOfProcess(DWORD processId, const char* className) {
  struct Search {
    DWORD processId;
    const char* className;
    std::vector<HWND> found;
  } search{processId, className, {}};
  EnumWindows(
      [](HWND w, LPARAM parameter) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(parameter);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        char name[64] = {};
        if (owner == s.processId && GetClassNameA(w, name, sizeof name) > 0 && lstrcmpiA(name, s.className) == 0)
          s.found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Finds the error boxes ("Quor k-li") of the process `processId`, keeps their text and presses
// OK, so a test that sets one off neither hangs nor misses it.
class ErrorBoxWatcher {
 public:
  explicit ErrorBoxWatcher(DWORD processId = GetCurrentProcessId())
      : processId_(processId), thread_([this] { Run(); }) {}
  ErrorBoxWatcher(const ErrorBoxWatcher&) = delete;
  ErrorBoxWatcher& operator=(const ErrorBoxWatcher&) = delete;
  ~ErrorBoxWatcher() {
    stop_ = true;
    thread_.join();
  }

  std::vector<std::string> Texts() {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
  }
  // Waits until `count` boxes were answered; false after `timeoutMs`.
  bool WaitFor(size_t count, int timeoutMs = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Texts().size() < count) {
      if (std::chrono::steady_clock::now() > end) return false;
      Sleep(10);
    }
    return true;
  }

 private:
  HWND VisibleBox() const {
    for (HWND box : WindowsOfProcess(processId_, "#32770")) {
      char caption[32] = {};
      GetWindowTextA(box, caption, sizeof caption);
      if (std::string(caption) == "Quor k-li" && IsWindowVisible(box)) return box;
    }
    return nullptr;
  }
  void Run() {
    while (!stop_) {
      if (HWND box = VisibleBox()) {
        wchar_t text[1024] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 1024);
        {
          std::lock_guard<std::mutex> lock(mutex_);
          texts_.push_back(win::Utf8(text));
        }
        SendMessageTimeoutA(box, WM_COMMAND, IDOK, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
      }
      Sleep(10);
    }
  }

  DWORD processId_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::string> texts_;
  std::thread thread_;
};

}  // namespace app_test
