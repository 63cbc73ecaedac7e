#include "app/hot_keys.h"

#include <gtest/gtest.h>

namespace {

constexpr uint8_t kCtrlAltShift = kModControl | kModAlt | kModShift;

TEST(HotKeys, TextsAndKeys) {
  struct Row {
    const char* text;
    std::optional<HotKey> key;
    const char* formatted;  // how the key is written back
  } rows[] = {
      {"Ctrl+Alt+Shift+N", HotKey{kCtrlAltShift, 'N'}, "Ctrl+Alt+Shift+N"},
      {" shift + control+ALT+n ", HotKey{kCtrlAltShift, 'N'}, "Ctrl+Alt+Shift+N"},
      {"Win+F12", HotKey{kModWin, 0x7B}, "Win+F12"},
      {"Ctrl+PageDown", HotKey{kModControl, 0x22}, "Ctrl+PageDown"},
      {"F13", HotKey{0, 0x7C}, "F13"},
      {"", HotKey{}, ""},
      {"Shift+N", std::nullopt, ""},  // would take capital letters from every program
      {"N", std::nullopt, ""},
      {"Ctrl+Ctrl+N", std::nullopt, ""},
      {"Ctrl+", std::nullopt, ""},
      {"Ctrl+NN", std::nullopt, ""},
      {"Ctrl+F25", std::nullopt, ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ParseHotKey(row.text), row.key) << row.text;
    if (row.key) {
      EXPECT_EQ(FormatHotKey(*row.key), row.formatted) << row.text;
    }
  }
  for (const HotKey key : {kDefaultNewNoteKey, kDefaultShowHideKey, kDefaultFindKey})
    EXPECT_EQ(ParseHotKey(FormatHotKey(key)), key);
}

}  // namespace
