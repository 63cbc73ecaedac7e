#pragma once
// Shared by the controller's Windows tests and the end-to-end tests: a watcher that answers the
// error boxes of one process, and paths of the build's program folder as Windows sees them.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace app_test {

// A path of the build tree ("/work/build/program") as a Windows program under Wine names it.
inline std::string WindowsPath(std::string path) {
  if (!path.empty() && path.front() == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
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
  struct Search {
    DWORD processId;
    HWND found = nullptr;
  };
  static BOOL CALLBACK FindBox(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char className[16] = {}, caption[32] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, caption, sizeof caption);
    if (pid == search->processId && std::string(className) == "#32770" && std::string(caption) == "Quor k-li" &&
        IsWindowVisible(window)) {
      search->found = window;
      return FALSE;
    }
    return TRUE;
  }
  void Run() {
    while (!stop_) {
      Search search{processId_};
      EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&search));
      if (search.found != nullptr) {
        char text[1024] = {};
        GetDlgItemTextA(search.found, 0xFFFF, text, sizeof text);
        {
          std::lock_guard<std::mutex> lock(mutex_);
          texts_.emplace_back(text);
        }
        SendMessageTimeoutA(search.found, WM_COMMAND, IDOK, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
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
