#pragma once
// The keys that work from anywhere, as the settings keep them and the user reads them: a text
// such as "Ctrl+Alt+Shift+N". Portable; the numbers are those of Windows (RegisterHotKey's
// modifiers, virtual-key codes).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr uint8_t kModAlt = 0x01, kModControl = 0x02, kModShift = 0x04, kModWin = 0x08;

struct HotKey {
  uint8_t Modifiers = 0;  // kMod... combined
  uint8_t Key = 0;        // virtual-key code; 0: no key
  friend bool operator==(const HotKey&, const HotKey&) = default;
};

// What each key does; the defaults clash with no key Windows itself takes, nor with AltGr
// (Ctrl+Alt) characters of the common keyboard layouts.
enum class HotKeyAction { NewNote, ShowHideAll, Find };
inline constexpr HotKey kDefaultNewNoteKey{kModControl | kModAlt | kModShift, 'N'};
inline constexpr HotKey kDefaultShowHideKey{kModControl | kModAlt | kModShift, 'K'};
inline constexpr HotKey kDefaultFindKey{kModControl | kModAlt | kModShift, 'F'};

// "Ctrl+Alt+Shift+Win+" then the key's name; "" for no key.
std::string FormatHotKey(HotKey key);
// The text back: modifiers in any order and letter case, "Control" for "Ctrl"; "" is no key.
// nullopt for a text that names no key, repeats a modifier, or a key that would take plain
// typing from every program (a letter with Shift only, or none).
std::optional<HotKey> ParseHotKey(std::string_view text);
// Whether a key may be registered: a key with Ctrl, Alt or Win, or one of the keys no typing
// uses (F13 to F24, Pause).
bool UsableHotKey(HotKey key);

// The one message that tells the user which keys another program holds, by their texts.
std::string HeldKeysMessage(const std::vector<std::string>& keys);
