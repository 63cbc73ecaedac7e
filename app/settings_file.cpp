#include "app/settings_file.h"

#include <algorithm>
#include <charconv>
#include <span>

#include "storage/file_io.h"
#include "storage/overloaded.h"
#include "storage/io_error.h"
#include "storage/record_file.h"
#include "win/unicode.h"

namespace {

// The record file's tags of the kinds the tail holds.
constexpr uint8_t kStringTag = 0, kBoolTag = 1, kByteTag = 4, kWordTag = 5, kStringsTag = 8;
constexpr std::size_t kPiece = 255;  // the longest string record


// Texts are UTF-8 inside and the ANSI code page's 8-bit text in the file, as older readers take
// them (with "?" for what the code page lacks).
std::string ReadText(TQuorFile& file) { return win::Utf8FromAnsi(file.readString()).text; }

// A name read from the file stands for `expected` when the file holds what `expected` is written
// as: a folder outside the code page is the same folder, though its 8-bit name has "?" in it.
bool Names(const std::string& read, const std::string& expected) {
  return win::AnsiFromUtf8(read).text == win::AnsiFromUtf8(expected).text;
}

// The layout keeps its texts in the code page and the port's low byte, as older readers take
// them; the tail, which no older reader sees, keeps texts as they are and the whole port.
enum class Part { Layout, Tail };

std::vector<std::string> Pieces(const std::vector<uint8_t>& bytes) {
  std::vector<std::string> pieces;
  for (std::size_t at = 0; at < bytes.size(); at += kPiece)
    pieces.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                        bytes.begin() + static_cast<std::ptrdiff_t>(std::min(bytes.size(), at + kPiece)));
  return pieces;
}

std::vector<uint8_t> Joined(const std::vector<std::string>& pieces) {
  std::vector<uint8_t> bytes;
  for (const std::string& piece : pieces) bytes.insert(bytes.end(), piece.begin(), piece.end());
  return bytes;
}

void WriteFields(TQuorFile& file, const TQuorSettings& settings, std::span<const SettingsField> fields,
                 Part part = Part::Layout) {
  for (const SettingsField& field : fields) {
    std::visit(Overloaded{
                   [&](SettingsHeader) { file.writeString(kConfigHeader); },
                   [&](std::string TQuorSettings::*member) {
                     file.writeString(part == Part::Tail ? settings.*member : win::AnsiFromUtf8(settings.*member).text);
                   },
                   [&](bool TQuorSettings::*member) { file.writeBool(settings.*member); },
                   [&](uint8_t TQuorSettings::*member) { file.writeByte(settings.*member); },
                   [&](uint16_t TQuorSettings::*member) {
                     if (part == Part::Tail) file.writeWord(settings.*member);
                     else file.writeByte(static_cast<uint8_t>(settings.*member));
                   },
                   [&](std::vector<uint8_t> TQuorSettings::*member) { file.writeStrings(Pieces(settings.*member)); },
                   [&](HotKey TQuorSettings::*member) { file.writeString(FormatHotKey(settings.*member)); },
               },
               field);
  }
}

// The whole port counts only while it still agrees with the byte record: when the byte was
// changed without it (a file edited by hand), the byte is what was meant. A key whose text
// names no key keeps its default.
void ReadFields(TQuorFile& file, TQuorSettings& settings, std::span<const SettingsField> fields,
                Part part = Part::Layout) {
  for (const SettingsField& field : fields) {
    std::visit(Overloaded{
                   [&](SettingsHeader) { file.readString(); },
                   [&](std::string TQuorSettings::*member) {
                     settings.*member = part == Part::Tail ? file.readString() : ReadText(file);
                   },
                   [&](bool TQuorSettings::*member) { settings.*member = file.readBool(); },
                   [&](uint8_t TQuorSettings::*member) { settings.*member = file.readByte(); },
                   [&](uint16_t TQuorSettings::*member) {
                     if (part == Part::Layout) {
                       settings.*member = file.readByte();
                     } else if (const uint16_t full = file.readWord(); (full & 0xFF) == settings.*member) {
                       settings.*member = full;
                     }
                   },
                   [&](std::vector<uint8_t> TQuorSettings::*member) {
                     std::vector<std::string> pieces;
                     file.readStrings(pieces);
                     settings.*member = Joined(pieces);
                   },
                   [&](HotKey TQuorSettings::*member) {
                     if (const std::optional<HotKey> key = ParseHotKey(file.readString())) settings.*member = *key;
                   },
               },
               field);
  }
}

uint8_t TailTag(const SettingsField& field) {
  return std::visit(Overloaded{
                        [](SettingsHeader) { return kStringTag; },
                        [](std::string TQuorSettings::*) { return kStringTag; },
                        [](bool TQuorSettings::*) { return kBoolTag; },
                        [](uint8_t TQuorSettings::*) { return kByteTag; },
                        [](uint16_t TQuorSettings::*) { return kWordTag; },
                        [](std::vector<uint8_t> TQuorSettings::*) { return kStringsTag; },
                        [](HotKey TQuorSettings::*) { return kStringTag; },
                    },
                    field);
}

// Records of the tail, one by one while the next is of its kind; true when all of them came. A
// record cut short ends the tail: what it would have held keeps its default.
bool ReadTail(TQuorFile& file, TQuorSettings& settings, std::span<const SettingsField> fields) {
  try {
    for (const SettingsField& field : fields) {
      if (file.peekRawByte() != TailTag(field)) return false;
      ReadFields(file, settings, std::span(&field, 1), Part::Tail);  // a member is set only once read whole
    }
    return true;
  } catch (const EQuorFileError&) {
  } catch (const EInOutError&) {
  }
  return false;
}

// A text the code page does not hold (a sender's name in another script, a path) is kept
// exactly too: after the keys, where older readers have stopped, one string record per text
// field, in layout order. They are written only then, so that other files keep their bytes.
void WriteExactTexts(TQuorFile& file, const TQuorSettings& settings) {
  const auto texts = [&](auto each) {
    for (const SettingsField& field : kSettingsFields)
      if (const auto* member = std::get_if<std::string TQuorSettings::*>(&field)) each(settings.**member);
  };
  bool exact = true;
  texts([&](const std::string& text) { exact = exact && win::AnsiFromUtf8(text).exact; });
  if (!exact) texts([&](const std::string& text) { file.writeString(text); });
}

// An exact text counts while the 8-bit record still holds what was written with it; when an
// older program changed the record since, that change is what was meant. Cut or damaged exact
// texts cost only themselves. True when what follows them can be read: there were none, or all.
bool ReadExactTexts(TQuorFile& file, TQuorSettings& settings) {
  bool first = true;
  try {
    for (const SettingsField& field : kSettingsFields) {
      const auto* member = std::get_if<std::string TQuorSettings::*>(&field);
      if (member == nullptr) continue;
      if (file.peekRawByte() != kStringTag) return first;
      first = false;
      std::string exact = file.readString();
      std::string& text = settings.**member;
      if (win::AnsiFromUtf8(exact).text == win::AnsiFromUtf8(text).text) text = std::move(exact);
    }
    return true;
  } catch (const std::exception&) {
  }
  return false;
}

void BringIntoRange(TQuorSettings& settings) {
  const TQuorSettings defaults;
  if (settings.StartupShow > ssShowNone) settings.StartupShow = defaults.StartupShow;
  if (settings.TrayClickAction > taNone) settings.TrayClickAction = defaults.TrayClickAction;
  if (settings.TrayIconIndex > 3) settings.TrayIconIndex = defaults.TrayIconIndex;
  if (settings.SmtpSecurity > 2) settings.SmtpSecurity = defaults.SmtpSecurity;
}

TQuorSettings DefaultsNamed(const TQuorSettings& names) {
  TQuorSettings defaults;
  defaults.ConfigName = names.ConfigName;
  defaults.ConfigFolder = names.ConfigFolder;
  return defaults;
}

// Opens the configuration file that `names` names and reads past its first `skipped` records;
// false when no file is there.
bool Reopen(std::optional<TQuorFile>& file, const TQuorSettings& names, std::size_t skipped) {
  file.reset();
  const std::string path = ConfigFilePath(names);
  if (!FileExists(path)) return false;
  file.emplace(path);
  file->OpenRead();
  TQuorSettings past;
  ReadFields(*file, past, std::span(kSettingsFields).first(skipped));
  return true;
}

}  // namespace

std::string ConfigFilePath(const TQuorSettings& settings) {
  return settings.ConfigFolder + "\\" + settings.ConfigName;
}

void LoadSettings(TQuorSettings& settings) {
  // Filled aside: a damaged file leaves the caller's settings as they were.
  TQuorSettings loaded = DefaultsNamed(settings);
  std::optional<TQuorFile> file;
  if (!Reopen(file, loaded, 0)) {
    settings = std::move(loaded);
    return;
  }
  file->readString();  // the header: any text will do
  std::string name = ReadText(*file);
  if (!Names(name, loaded.ConfigName)) {
    loaded.ConfigName = std::move(name);
    loaded.ConfigFolder = ReadText(*file);
    if (!Reopen(file, loaded, 2)) {
      settings = DefaultsNamed(loaded);
      return;
    }
  }
  std::string folder = ReadText(*file);
  if (!Names(folder, loaded.ConfigFolder)) {
    loaded.ConfigFolder = std::move(folder);
    if (!Reopen(file, loaded, kPointerFieldCount)) {
      settings = DefaultsNamed(loaded);
      return;
    }
  }
  ReadFields(*file, loaded, std::span(kSettingsFields).subspan(kPointerFieldCount));
  // Each group of the tail only when the one before it came whole.
  if (ReadTail(*file, loaded, kSettingsTail) && ReadExactTexts(*file, loaded)) ReadTail(*file, loaded, kSignInFields);
  BringIntoRange(loaded);
  settings = std::move(loaded);
}

void SaveSettings(const TQuorSettings& settings, const std::string& programFolder, LowerCaseFunction lowerCase) {
  if (settings.ConfigFolder != lowerCase(programFolder) || lowerCase(settings.ConfigName) != kConfigFileName) {
    TQuorFile pointer(programFolder + "\\" + std::string(kConfigFileName));
    pointer.OpenWrite();
    WriteFields(pointer, settings, std::span(kSettingsFields).first(kPointerFieldCount));
    pointer.Close();
  }
  TQuorFile file(ConfigFilePath(settings));
  file.OpenWrite();
  WriteFields(file, settings, kSettingsFields);
  WriteFields(file, settings, kSettingsTail, Part::Tail);
  WriteExactTexts(file, settings);
  WriteFields(file, settings, kSignInFields, Part::Tail);
  file.Close();
}

std::optional<uint16_t> ParseSmtpPort(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  // from_chars would take a leading minus; a port has none.
  if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value > 65535) return std::nullopt;
  return static_cast<uint16_t>(value);
}

TrayIconChoice ChooseTrayIcon(const TQuorSettings& settings, bool trayIconFileExists) {
  if (settings.TrayIconFile.empty()) {
    return {std::string(), settings.TrayIconIndex <= 3 ? settings.TrayIconIndex : TQuorSettings{}.TrayIconIndex};
  }
  if (trayIconFileExists) return {settings.TrayIconFile, 0};
  return {std::string(), 0};
}
