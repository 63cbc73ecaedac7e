#pragma once
// One instance per user: a second start hands its files to the running instance and ends.
#include <windows.h>

#include <string>
#include <vector>

#include "win/handles.h"

// Serialises the probe and the start-up of concurrent starts (several files opened from the
// shell at once start several processes): the first becomes the instance, the others find it.
// Held from before the probe until the controller window exists.
class InstanceLock {
 public:
  InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  ~InstanceLock() { Release(); }
  void Release();

 private:
  HANDLE mutex_ = nullptr;
  bool owned_ = false;
};

// The running instance's controller window: a window of class "TKliMain" titled "Quor K-lI"
// (case ignored) that answers UM_PING with 50. Null when there is none, or when the window found
// does not answer in time (a hung or foreign window then does not block this start).
HWND FindRunningController();

// Writes the hand-over list in `programFolder` and asks `controller` to open it.
void HandOver(HWND controller, const std::vector<std::string>& arguments, const std::string& programFolder);
