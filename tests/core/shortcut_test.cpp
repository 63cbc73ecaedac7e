// Shortcuts as menus show them, read into modifiers and a virtual-key code.
#include <gtest/gtest.h>

#include <span>

#include "win/shortcut.h"

namespace {

using win::Shortcut;

TEST(Shortcut, ReadsModifiersAndKeys) {
  struct Row {
    const char* text;
    Shortcut expected;
  };
  const Row rows[] = {
      {"Ctrl+P", {true, false, false, 'P'}},
      {"Ctrl+Alt+F", {true, false, true, 'F'}},
      {"Alt+Ctrl+F", {true, false, true, 'F'}},
      {"Shift+F12", {false, true, false, 0x7B}},
      {"Ctrl+F12", {true, false, false, 0x7B}},
      {"F4", {false, false, false, 0x73}},
      {"F1", {false, false, false, 0x70}},
      {"Ctrl+Del", {true, false, false, 0x2E}},
      {"Ins", {false, false, false, 0x2D}},
      {"Ctrl+Shift+S", {true, true, false, 'S'}},
      {"Ctrl+1", {true, false, false, '1'}},
  };
  for (const Row& row : rows) EXPECT_EQ(win::ParseShortcut(row.text), row.expected) << row.text;
}

TEST(Shortcut, RejectsWhatNoKeyboardHas) {
  for (const char* text : {"", "Ctrl+", "F13", "F0", "F01", "Fx", "ctrl+P", "Ctrl+p", "Hyper+Q", "Ctrl+PP", "Del+Ctrl"})
    EXPECT_FALSE(win::ParseShortcut(text)) << text;
}

struct FakeRow {
  const char* shortcut;
  std::span<const FakeRow> submenu;
};

TEST(Shortcut, ATableIsCheckedDownToItsSubmenus) {
  static constexpr FakeRow kGood[] = {{"Ctrl+I", {}}, {nullptr, {}}};
  static constexpr FakeRow kBad[] = {{"Ctrl+Q+", {}}};
  static constexpr FakeRow kTopGood[] = {{"F4", kGood}};
  static constexpr FakeRow kTopBad[] = {{"F4", kBad}};
  static_assert(win::AllShortcutsParse(kTopGood));
  static_assert(!win::AllShortcutsParse(kTopBad));
}

}  // namespace
