#include "app/hot_keys.h"

#include <gtest/gtest.h>

namespace {

constexpr uint8_t kCtrlAltShift = kModControl | kModAlt | kModShift;

TEST(HotKeys, TextsAndKeys) {
  // A text, the key it names (nullopt: none may be registered), written back as the first row's.
  const std::pair<const char*, std::optional<HotKey>> rows[] = {
      {"Ctrl+Alt+Shift+N", HotKey{kCtrlAltShift, 'N'}}, {" shift + control+ALT+n ", HotKey{kCtrlAltShift, 'N'}},
      {"Win+F12", HotKey{kModWin, 0x7B}},               {"Ctrl+PageDown", HotKey{kModControl, 0x22}},
      {"F13", HotKey{0, 0x7C}},                         {"", HotKey{}},
      {"Shift+N", std::nullopt},  // would take capitals from every program
      {"N", std::nullopt},        {"Ctrl+Ctrl+N", std::nullopt}, {"Ctrl+", std::nullopt},
      {"Ctrl+NN", std::nullopt},  {"Ctrl+F25", std::nullopt},
  };
  for (const auto& [text, key] : rows) EXPECT_EQ(ParseHotKey(text), key) << text;
  for (const HotKey key : {kDefaultNewNoteKey, HotKey{kModWin, 0x7B}, HotKey{kModControl, 0x22}, HotKey{0, 0x7C}})
    EXPECT_EQ(ParseHotKey(FormatHotKey(key)), key);
  EXPECT_EQ(FormatHotKey(HotKey{kCtrlAltShift, 'N'}), "Ctrl+Alt+Shift+N");
}

}  // namespace
