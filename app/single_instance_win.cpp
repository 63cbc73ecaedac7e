#include "app/single_instance.h"

#include "app/hand_over_list.h"
#include "app/window_messages.h"

namespace {

constexpr DWORD kLockWaitMs = 30000;       // a running start-up restores at most 255 notes
constexpr UINT kPingTimeoutMs = 5000;
constexpr UINT kOpenListTimeoutMs = 120000;  // opening may show an error box that waits for the user

}  // namespace

InstanceLock::InstanceLock() {
  mutex_ = CreateMutexA(nullptr, FALSE, "Local\\Quor K-lI start-up");
  if (mutex_ == nullptr) return;  // no lock: the probe alone still works
  const DWORD wait = WaitForSingleObject(mutex_, kLockWaitMs);
  owned_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

void InstanceLock::Release() {
  if (mutex_ == nullptr) return;
  if (owned_) ReleaseMutex(mutex_);
  CloseHandle(mutex_);
  mutex_ = nullptr;
  owned_ = false;
}

HWND FindRunningController() {
  HWND window = FindWindowA(kControllerClass, kProbeTitle);
  if (window == nullptr) return nullptr;
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(window, UM_PING, 0, 0, SMTO_ABORTIFHUNG, kPingTimeoutMs, &answer)) return nullptr;
  return answer == static_cast<DWORD_PTR>(kPingAnswer) ? window : nullptr;
}

void HandOver(HWND controller, const std::vector<std::string>& arguments, const std::string& programFolder) {
  WriteHandOverList(HandOverListPath(programFolder), arguments);
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(controller, UM_OPENLIST, 0, 0, SMTO_ABORTIFHUNG, kOpenListTimeoutMs, &answer);
}
