#include "app/global_keys.h"

namespace {

// WM_HOTKEY ids of the actions: an application's ids lie below 0xC000.
constexpr int kFirstId = 0x5100;

}  // namespace

std::string GlobalKeys::Apply(const KeySet& keys, bool tell) {
  std::vector<std::string> refused;
  for (size_t i = 0; i < kActionCount; ++i) {
    held_[i].reset();
    const HotKey key = keys[i];
    if (!UsableHotKey(key)) continue;  // no key for this action
    // A key held down does not repeat: one note for one press.
    const int id = kFirstId + static_cast<int>(i);
    if (RegisterHotKey(window_, id, key.Modifiers | MOD_NOREPEAT, key.Key)) {
      held_[i].reset({window_, id});
      continue;
    }
    if (!told_.contains(FormatHotKey(key))) refused.push_back(FormatHotKey(key));
  }
  if (refused.empty()) return {};
  if (tell) told_.insert(refused.begin(), refused.end());
  return HeldKeysMessage(refused);
}

std::optional<HotKeyAction> GlobalKeys::ActionOf(WPARAM id) const {
  const auto index = static_cast<INT_PTR>(id) - kFirstId;
  if (index < 0 || index >= static_cast<INT_PTR>(kActionCount) || !held_[static_cast<size_t>(index)])
    return std::nullopt;
  return static_cast<HotKeyAction>(index);
}
