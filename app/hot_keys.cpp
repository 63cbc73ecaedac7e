#include "app/hot_keys.h"

#include <algorithm>
#include <vector>

namespace {

struct KeyName {
  const char* name;
  uint8_t key;
};
// Keys beyond the letters, digits and function keys, by their usual names.
constexpr KeyName kNamedKeys[] = {
    {"Space", 0x20},  {"PageUp", 0x21}, {"PageDown", 0x22}, {"End", 0x23},    {"Home", 0x24},
    {"Left", 0x25},   {"Up", 0x26},     {"Right", 0x27},    {"Down", 0x28},   {"Insert", 0x2D},
    {"Delete", 0x2E}, {"Pause", 0x13},  {"Tab", 0x09},      {"Enter", 0x0D},  {"Backspace", 0x08},
};
constexpr uint8_t kF1 = 0x70, kF13 = 0x7C, kF24 = 0x87, kNumPad0 = 0x60, kPause = 0x13;

struct ModifierName {
  const char* name;
  uint8_t modifier;
};
constexpr ModifierName kModifiers[] = {
    {"Ctrl", kModControl}, {"Control", kModControl}, {"Alt", kModAlt}, {"Shift", kModShift}, {"Win", kModWin},
};

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string KeyName(uint8_t key) {
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, static_cast<char>(key));
  if (key >= kF1 && key <= kF24) return "F" + std::to_string(key - kF1 + 1);
  if (key >= kNumPad0 && key <= kNumPad0 + 9) return "Num" + std::to_string(key - kNumPad0);
  for (const auto& named : kNamedKeys)
    if (named.key == key) return named.name;
  return "Key" + std::to_string(key);
}

std::optional<uint8_t> KeyOf(std::string_view name) {
  if (name.size() == 1) {
    const char c = name[0] >= 'a' && name[0] <= 'z' ? static_cast<char>(name[0] - 'a' + 'A') : name[0];
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<uint8_t>(c);
    return std::nullopt;
  }
  for (int i = 24; i >= 1; --i)
    if (SameText(name, "F" + std::to_string(i))) return static_cast<uint8_t>(kF1 + i - 1);
  for (int i = 0; i <= 9; ++i)
    if (SameText(name, "Num" + std::to_string(i))) return static_cast<uint8_t>(kNumPad0 + i);
  for (const auto& named : kNamedKeys)
    if (SameText(name, named.name)) return named.key;
  return std::nullopt;
}

}  // namespace

std::string FormatHotKey(HotKey key) {
  if (key.Key == 0) return {};
  std::string text;
  for (const auto& [name, modifier] : {std::pair{"Ctrl+", kModControl}, {"Alt+", kModAlt}, {"Shift+", kModShift},
                                       {"Win+", kModWin}})
    if (key.Modifiers & modifier) text += name;
  return text + KeyName(key.Key);
}

std::optional<HotKey> ParseHotKey(std::string_view text) {
  text = Trimmed(text);
  if (text.empty()) return HotKey{};
  HotKey key;
  for (;;) {
    const size_t plus = text.find('+', 1);  // "Ctrl++" is no key of ours, but "+" alone is no modifier
    if (plus == std::string_view::npos) break;
    const std::string_view part = Trimmed(text.substr(0, plus));
    const auto modifier = std::find_if(std::begin(kModifiers), std::end(kModifiers),
                                       [&](const ModifierName& m) { return SameText(part, m.name); });
    if (modifier == std::end(kModifiers) || (key.Modifiers & modifier->modifier)) return std::nullopt;
    key.Modifiers |= modifier->modifier;
    text = Trimmed(text.substr(plus + 1));
  }
  const std::optional<uint8_t> code = KeyOf(text);
  if (!code) return std::nullopt;
  key.Key = *code;
  if (!UsableHotKey(key)) return std::nullopt;
  return key;
}

bool UsableHotKey(HotKey key) {
  if (key.Key == 0) return false;
  if (key.Modifiers & (kModControl | kModAlt | kModWin)) return true;
  return (key.Key >= kF13 && key.Key <= kF24) || key.Key == kPause;
}

std::string HeldKeysMessage(const std::vector<std::string>& keys) {
  std::string list;
  for (size_t i = 0; i < keys.size(); ++i) list += (i == 0 ? "" : i + 1 == keys.size() ? " and " : ", ") + keys[i];
  const bool one = keys.size() == 1;
  return "Another program already uses the key" + std::string(one ? " " : "s ") + list + ", so " +
         (one ? "it does" : "they do") +
         " not work for K-lI. You can choose other keys on the \"Keys\" page of the options.";
}
