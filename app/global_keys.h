#pragma once
// The keys from anywhere of the controller window: one per action, taken from the settings.
// A key that another program holds is told to the user once a run, in one message with the
// others so refused; the keys that could be taken work all the same. Win32.
#include <windows.h>

#include <array>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/hot_keys.h"
#include "win/handles.h"

class GlobalKeys {
 public:
  static constexpr size_t kActionCount = 3;  // in the order of HotKeyAction
  using KeySet = std::array<HotKey, kActionCount>;

  explicit GlobalKeys(HWND window) : window_(window) {}

  // Takes the keys for the window, giving back the ones it held. Returns the message for the
  // keys refused that were not told before in this run; empty when there is nothing to tell.
  // Without `tell` the refused keys are not counted as told (an attempt to be made again).
  std::string Apply(const KeySet& keys, bool tell = true);

  // The action of a WM_HOTKEY's wParam; nullopt for an id of no key of ours.
  std::optional<HotKeyAction> ActionOf(WPARAM id) const;

 private:
  HWND window_;
  std::array<win::UniqueHotKey, kActionCount> held_;
  std::set<std::string> told_;
};
