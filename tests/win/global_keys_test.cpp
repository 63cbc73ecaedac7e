// The keys from anywhere against the real RegisterHotKey: a key another window holds is told
// once, the others work; a key pressed for real reaches the window as its action.
#include "app/global_keys.h"

#include <gtest/gtest.h>

#include "win/hot_key.h"

namespace {

TEST(GlobalKeys, AHeldKeyIsToldOnceAndTheOthersWork) {
  HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  HWND ours = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  {
    win::RegisteredHotKey taken;
    ASSERT_TRUE(taken.Register(other, 1, kDefaultShowHideKey.Modifiers, kDefaultShowHideKey.Key));
    GlobalKeys keys(ours);
    const GlobalKeys::KeySet set{kDefaultNewNoteKey, kDefaultShowHideKey, HotKey{}};
    EXPECT_EQ(keys.Apply(set), HeldKeysMessage({"Ctrl+Alt+Shift+K"}));
    EXPECT_EQ(keys.Apply(set), "");

    // Pressed for real: Windows hands the key to our window.
    INPUT inputs[8] = {};
    const WORD sequence[] = {VK_CONTROL, VK_MENU, VK_SHIFT, 'N'};
    for (int i = 0; i < 4; ++i) {
      inputs[i].type = inputs[7 - i].type = INPUT_KEYBOARD;
      inputs[i].ki.wVk = inputs[7 - i].ki.wVk = sequence[i];
      inputs[7 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(8, inputs, sizeof(INPUT));
    MSG msg{};
    bool arrived = false;
    for (int i = 0; i < 200 && !arrived; ++i) {
      while (PeekMessageA(&msg, ours, WM_HOTKEY, WM_HOTKEY, PM_REMOVE))
        arrived = keys.ActionOf(msg.wParam) == HotKeyAction::NewNote;
      Sleep(10);
    }
    EXPECT_TRUE(arrived);
    EXPECT_EQ(keys.ActionOf(0), std::nullopt);
  }
  DestroyWindow(ours);
  DestroyWindow(other);
}

}  // namespace
