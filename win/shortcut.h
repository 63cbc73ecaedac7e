#pragma once
// Keyboard shortcuts as menus show them ("Ctrl+Alt+F", "Shift+F12", "F4", "Ctrl+Del"), read
// into modifier flags and a Windows virtual-key code. Portable and constexpr, so that a
// command table with a malformed shortcut fails to compile (see AllShortcutsParse).
#include <cstdint>
#include <optional>
#include <string_view>

namespace win {

struct Shortcut {
  bool Ctrl = false, Shift = false, Alt = false;
  std::uint16_t Key = 0;  // virtual-key code
  friend constexpr bool operator==(const Shortcut&, const Shortcut&) = default;
};

// Virtual-key codes of the named keys; letters and digits are their ASCII upper-case codes.
inline constexpr std::uint16_t kKeyF1 = 0x70;
inline constexpr std::uint16_t kKeyDelete = 0x2E;
inline constexpr std::uint16_t kKeyInsert = 0x2D;

// Modifiers in any order, then one key: a letter, a digit, F1..F12, "Del" or "Ins".
constexpr std::optional<Shortcut> ParseShortcut(std::string_view text) {
  Shortcut shortcut;
  for (;;) {
    if (text.starts_with("Ctrl+")) {
      shortcut.Ctrl = true;
      text.remove_prefix(5);
    } else if (text.starts_with("Shift+")) {
      shortcut.Shift = true;
      text.remove_prefix(6);
    } else if (text.starts_with("Alt+")) {
      shortcut.Alt = true;
      text.remove_prefix(4);
    } else {
      break;
    }
  }
  if (text.size() == 1 && ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= '0' && text[0] <= '9'))) {
    shortcut.Key = static_cast<std::uint16_t>(text[0]);
  } else if (text == "Del") {
    shortcut.Key = kKeyDelete;
  } else if (text == "Ins") {
    shortcut.Key = kKeyInsert;
  } else if (text.size() >= 2 && text.size() <= 3 && text[0] == 'F') {
    int number = 0;
    for (char digit : text.substr(1)) {
      if (digit < '0' || digit > '9') return std::nullopt;
      number = number * 10 + (digit - '0');
    }
    if (number < 1 || number > 12 || text[1] == '0') return std::nullopt;
    shortcut.Key = static_cast<std::uint16_t>(kKeyF1 + number - 1);
  } else {
    return std::nullopt;
  }
  return shortcut;
}

// True when every row of `rows` (and of their submenus) has no shortcut or one that parses.
template <typename Rows>
constexpr bool AllShortcutsParse(const Rows& rows) {
  for (const auto& row : rows) {
    if (row.shortcut != nullptr && !ParseShortcut(row.shortcut)) return false;
    if (!AllShortcutsParse(row.submenu)) return false;
  }
  return true;
}

}  // namespace win
