// The keys from anywhere against the real RegisterHotKey: a key another window holds is told
// once, the others work; a key pressed for real reaches the window as its action.
#include "app/global_keys.h"

#include <gtest/gtest.h>

#include "win/handles.h"

namespace {

TEST(GlobalKeys, AHeldKeyIsToldOnceAndTheOthersWork) {
  HWND ours = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  {
    ASSERT_TRUE(RegisterHotKey(ours, 1, kDefaultShowHideKey.Modifiers, kDefaultShowHideKey.Key));
    const win::UniqueHotKey taken({ours, 1});  // held before, as another program would
    GlobalKeys keys(ours);
    const GlobalKeys::KeySet set{kDefaultNewNoteKey, kDefaultShowHideKey, HotKey{}};
    EXPECT_EQ(keys.Apply(set), HeldKeysMessage({"Ctrl+Alt+Shift+K"}));
    EXPECT_EQ(keys.Apply(set), "");

    // Pressed for real: Windows hands the key to our window.
    const BYTE pressed[] = {VK_CONTROL, VK_MENU, VK_SHIFT, 'N'};
    for (const BYTE key : pressed) keybd_event(key, 0, 0, 0);
    for (int i = 3; i >= 0; --i) keybd_event(pressed[i], 0, KEYEVENTF_KEYUP, 0);
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
}

}  // namespace
