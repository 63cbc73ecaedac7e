#include "app/settings_file.h"

#include <charconv>
#include <span>

#include "storage/file_io.h"
#include "storage/record_file.h"
#include "win/unicode.h"

namespace {

constexpr uint8_t kStringTag = 0;  // the record file's tags of a string and a word value
constexpr uint8_t kWordTag = 5;

template <typename... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
template <typename... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;  // clang 14 deduces no aggregate without it

// Texts are UTF-8 inside and the ANSI code page's 8-bit text in the file, as older readers take
// them (with "?" for what the code page lacks).
std::string ReadText(TQuorFile& file) { return win::Utf8FromAnsi(file.readString()).text; }

// A name read from the file stands for `expected` when the file holds what `expected` is written
// as: a folder outside the code page is the same folder, though its 8-bit name has "?" in it.
bool Names(const std::string& read, const std::string& expected) {
  return win::AnsiFromUtf8(read).text == win::AnsiFromUtf8(expected).text;
}

void WriteFields(TQuorFile& file, const TQuorSettings& settings, std::span<const SettingsField> fields) {
  for (const SettingsField& field : fields) {
    std::visit(Overloaded{
                   [&](SettingsHeader) { file.writeString(kConfigHeader); },
                   [&](std::string TQuorSettings::*member) {
                     file.writeString(win::AnsiFromUtf8(settings.*member).text);
                   },
                   [&](bool TQuorSettings::*member) { file.writeBool(settings.*member); },
                   [&](uint8_t TQuorSettings::*member) { file.writeByte(settings.*member); },
                   [&](uint16_t TQuorSettings::*member) { file.writeByte(static_cast<uint8_t>(settings.*member)); },
               },
               field);
  }
}

void ReadFields(TQuorFile& file, TQuorSettings& settings, std::span<const SettingsField> fields) {
  for (const SettingsField& field : fields) {
    std::visit(Overloaded{
                   [&](SettingsHeader) { file.readString(); },
                   [&](std::string TQuorSettings::*member) { settings.*member = ReadText(file); },
                   [&](bool TQuorSettings::*member) { settings.*member = file.readBool(); },
                   [&](uint8_t TQuorSettings::*member) { settings.*member = file.readByte(); },
                   [&](uint16_t TQuorSettings::*member) { settings.*member = file.readByte(); },
               },
               field);
  }
}

// The whole port follows the layout. It counts only while it still agrees with the byte record:
// when the byte was changed without it (a file edited by hand), the byte is what was meant.
void ReadFullPort(TQuorFile& file, TQuorSettings& settings) {
  if (file.peekRawByte() != kWordTag) return;
  const uint16_t full = file.readWord();
  if ((full & 0xFF) == settings.SmtpPort) settings.SmtpPort = full;
}

constexpr HotKey TQuorSettings::*kHotKeyFields[] = {&TQuorSettings::NewNoteKey, &TQuorSettings::ShowHideKey,
                                                    &TQuorSettings::FindKey};

// A file from before the keys, or one whose keys are cut or damaged, keeps the keys' defaults
// from there on and everything before them.
void ReadHotKeys(TQuorFile& file, TQuorSettings& settings) {
  try {
    for (HotKey TQuorSettings::*member : kHotKeyFields) {
      if (file.peekRawByte() != kStringTag) return;
      if (const std::optional<HotKey> key = ParseHotKey(file.readString())) settings.*member = *key;
    }
  } catch (const std::exception&) {
  }
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
// texts cost only themselves.
void ReadExactTexts(TQuorFile& file, TQuorSettings& settings) {
  try {
    for (const SettingsField& field : kSettingsFields) {
      const auto* member = std::get_if<std::string TQuorSettings::*>(&field);
      if (member == nullptr) continue;
      if (file.peekRawByte() != kStringTag) return;
      std::string exact = file.readString();
      std::string& text = settings.**member;
      if (win::AnsiFromUtf8(exact).text == win::AnsiFromUtf8(text).text) text = std::move(exact);
    }
  } catch (const std::exception&) {
  }
}

void BringIntoRange(TQuorSettings& settings) {
  const TQuorSettings defaults;
  if (settings.StartupShow > ssShowNone) settings.StartupShow = defaults.StartupShow;
  if (settings.TrayClickAction > taNone) settings.TrayClickAction = defaults.TrayClickAction;
  if (settings.TrayIconIndex > 3) settings.TrayIconIndex = defaults.TrayIconIndex;
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
  ReadFullPort(*file, loaded);
  ReadHotKeys(*file, loaded);
  ReadExactTexts(*file, loaded);
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
  file.writeWord(settings.SmtpPort);
  for (HotKey TQuorSettings::*member : kHotKeyFields) file.writeString(FormatHotKey(settings.*member));
  WriteExactTexts(file, settings);
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
