// The keys from anywhere against the real RegisterHotKey: a key another window holds is told
// once, the others work (a key pressed for real is the end-to-end test's).
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
    EXPECT_EQ(keys.ActionOf(0), std::nullopt);
  }
  DestroyWindow(ours);
}

}  // namespace
