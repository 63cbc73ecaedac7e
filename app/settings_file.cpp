#include "app/settings_file.h"

#include <algorithm>
#include <charconv>
#include <span>

#include "storage/file_io.h"
#include "storage/io_error.h"
#include "storage/record_file.h"

namespace {

// The record file's tags of the kinds the tail holds.
constexpr uint8_t kStringTag = 0, kBoolTag = 1, kByteTag = 4, kWordTag = 5, kStringsTag = 8;
constexpr std::size_t kPiece = 255;  // the longest string record

template <typename... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
template <typename... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;  // clang 14 deduces no aggregate without it

// The port is a byte of its low 8 bits in the layout and a word in the tail.
enum class PortRecord { LowByte, Word };

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
                 PortRecord port = PortRecord::LowByte) {
  for (const SettingsField& field : fields) {
    std::visit(Overloaded{
                   [&](SettingsHeader) { file.writeString(kConfigHeader); },
                   [&](std::string TQuorSettings::*member) { file.writeString(settings.*member); },
                   [&](bool TQuorSettings::*member) { file.writeBool(settings.*member); },
                   [&](uint8_t TQuorSettings::*member) { file.writeByte(settings.*member); },
                   [&](uint16_t TQuorSettings::*member) {
                     if (port == PortRecord::Word) file.writeWord(settings.*member);
                     else file.writeByte(static_cast<uint8_t>(settings.*member));
                   },
                   [&](std::vector<uint8_t> TQuorSettings::*member) { file.writeStrings(Pieces(settings.*member)); },
                   [&](HotKey TQuorSettings::*member) { file.writeString(FormatHotKey(settings.*member)); },
               },
               field);
  }
}

void ReadFields(TQuorFile& file, TQuorSettings& settings, std::span<const SettingsField> fields) {
  for (const SettingsField& field : fields) {
    std::visit(Overloaded{
                   [&](SettingsHeader) { file.readString(); },
                   [&](std::string TQuorSettings::*member) { settings.*member = file.readString(); },
                   [&](bool TQuorSettings::*member) { settings.*member = file.readBool(); },
                   [&](uint8_t TQuorSettings::*member) { settings.*member = file.readByte(); },
                   [&](uint16_t TQuorSettings::*member) { settings.*member = file.readByte(); },
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

// The tail, record by record while the next one is of its kind. The whole port counts only
// while it still agrees with the byte record: when the byte was changed without it (a file
// edited by hand), the byte is what was meant. A record cut short ends the tail: what it
// would have held keeps its default.
void ReadTail(TQuorFile& file, TQuorSettings& settings) {
  try {
    for (const SettingsField& field : kSettingsTail) {
      if (file.peekRawByte() != TailTag(field)) return;
      if (const auto* port = std::get_if<uint16_t TQuorSettings::*>(&field)) {
        const uint16_t full = file.readWord();
        if ((full & 0xFF) == settings.**port) settings.**port = full;
      } else {
        ReadFields(file, settings, std::span(&field, 1));  // a member is set only once read whole
      }
    }
  } catch (const EQuorFileError&) {
  } catch (const EInOutError&) {
  }
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
  std::string name = file->readString();
  if (name != loaded.ConfigName) {
    loaded.ConfigName = std::move(name);
    loaded.ConfigFolder = file->readString();
    if (!Reopen(file, loaded, 2)) {
      settings = DefaultsNamed(loaded);
      return;
    }
  }
  std::string folder = file->readString();
  if (folder != loaded.ConfigFolder) {
    loaded.ConfigFolder = std::move(folder);
    if (!Reopen(file, loaded, kPointerFieldCount)) {
      settings = DefaultsNamed(loaded);
      return;
    }
  }
  ReadFields(*file, loaded, std::span(kSettingsFields).subspan(kPointerFieldCount));
  ReadTail(*file, loaded);
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
  WriteFields(file, settings, kSettingsTail, PortRecord::Word);
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
