#pragma once
// The configuration file: the settings record as a record file, and the pointer file that sends
// the reader to a configuration file elsewhere. The layout is described once, by
// kSettingsFields; loading and saving walk it, and the options dialog binds its controls to its
// members.
//
// Layout, in order: the header text, ConfigName, ConfigFolder, ReservedFlag, RunAtStartup,
// StartupShow, ShowAllOnAdd, AllOnTop, DeleteToRecycleBin, InsertDateTime, ShowInTrayArea,
// TrayIconFile, TrayClickAction, TrayIconIndex, SmtpServer, SmtpPort (byte: its low 8 bits),
// UserName, UserMail, SkinName. Then, after the point where older readers stop, the tail
// (kSettingsTail): a word record with the whole SmtpPort and a string record for each key from
// anywhere (NewNoteKey, ShowHideKey, FindKey, as app/hot_keys.h writes them); when a text is not
// all in the ANSI code page, the exact texts (UTF-8) of the layout's string fields in layout
// order; then the sign-in (kSignInFields): a byte with SmtpSecurity, a string with
// SmtpSignInName, a list record with the encrypted SmtpPassword in pieces of up to 255 bytes,
// strings with SmtpTrustedServer and SmtpTrustedFingerprint. The tail's texts are UTF-8. A
// pointer file holds the first three records only.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/settings.h"

inline constexpr std::string_view kConfigFileName = "options.dat";
inline constexpr std::string_view kConfigHeader = "Quor k-li configure file";

// One record. The member's type is the record's kind: a string member is a string record, bool
// a boolean record, uint8_t a byte record, bytes a list record of pieces, a key from anywhere a
// string record of its text; the 16-bit port is a byte record of its low 8 bits in the layout
// and a word record in the tail. The header has no member: its text is written, and any text is
// accepted in its place when read.
struct SettingsHeader {};
using SettingsField = std::variant<SettingsHeader, std::string TQuorSettings::*, bool TQuorSettings::*,
                                   uint8_t TQuorSettings::*, uint16_t TQuorSettings::*,
                                   std::vector<uint8_t> TQuorSettings::*, HotKey TQuorSettings::*>;

inline constexpr std::array<SettingsField, 19> kSettingsFields{
    SettingsHeader{},
    &TQuorSettings::ConfigName,
    &TQuorSettings::ConfigFolder,
    &TQuorSettings::ReservedFlag,
    &TQuorSettings::RunAtStartup,
    &TQuorSettings::StartupShow,
    &TQuorSettings::ShowAllOnAdd,
    &TQuorSettings::AllOnTop,
    &TQuorSettings::DeleteToRecycleBin,
    &TQuorSettings::InsertDateTime,
    &TQuorSettings::ShowInTrayArea,
    &TQuorSettings::TrayIconFile,
    &TQuorSettings::TrayClickAction,
    &TQuorSettings::TrayIconIndex,
    &TQuorSettings::SmtpServer,
    &TQuorSettings::SmtpPort,
    &TQuorSettings::UserName,
    &TQuorSettings::UserMail,
    &TQuorSettings::SkinName,
};
// After the layout. Each record is read only when one of its kind comes next, and a tail that
// is cut or damaged leaves the settings as far as it could be read: a file of an older writer
// has none of it. A key whose text names no key keeps its default. New records go after the
// last one.
inline constexpr std::array<SettingsField, 4> kSettingsTail{
    &TQuorSettings::SmtpPort,
    &TQuorSettings::NewNoteKey,
    &TQuorSettings::ShowHideKey,
    &TQuorSettings::FindKey,
};
// After the exact texts, which are written only when a text needs them.
inline constexpr std::array<SettingsField, 5> kSignInFields{
    &TQuorSettings::SmtpSecurity,
    &TQuorSettings::SmtpSignInName,
    &TQuorSettings::SmtpPassword,
    &TQuorSettings::SmtpTrustedServer,
    &TQuorSettings::SmtpTrustedFingerprint,
};
// The header, ConfigName and ConfigFolder: all a pointer file holds.
inline constexpr std::size_t kPointerFieldCount = 3;

// How this system lower-cases paths (win::LowerCase in the program), so that the names compared
// here compare as the controller's own paths do.
using LowerCaseFunction = std::string (*)(std::string);

// The configuration file the settings name: ConfigFolder + "\" + ConfigName.
std::string ConfigFilePath(const TQuorSettings& settings);

// Fills `settings` from the configuration file that its ConfigFolder and ConfigName name
// (the controller sets them to the program folder in lower case and "options.dat" first),
// following a pointer file to the file it names: a name record that differs from ConfigName,
// or a folder record that differs from ConfigFolder, reopens at the new ConfigFolder +
// "\" + ConfigName and reads past the records already taken (compared as the file holds them).
// - No file at the first path: the defaults.
// - A pointed-to file that does not exist: the defaults with the pointed-to names, so that the
//   next SaveSettings writes the configuration there again.
// - StartupShow above 2, TrayClickAction above 4, TrayIconIndex above 3 or SmtpSecurity above 2:
//   that setting takes its default, so the tray click, the restore of notes and the dialog's
//   lists see a choice they know.
// - A damaged file (a record of another type, a file that ends early) throws EQuorFileError or
//   EInOutError and leaves `settings` as it was.
void LoadSettings(TQuorSettings& settings);

// Writes the configuration. When ConfigFolder differs from `programFolder` in lower case, or
// ConfigName in lower case from "options.dat", first a pointer file "options.dat" in
// `programFolder` that names the file in use; then the whole layout at ConfigFilePath. Each file
// is written with the safe write: a failure throws EInOutError and leaves the old file as it was.
void SaveSettings(const TQuorSettings& settings, const std::string& programFolder, LowerCaseFunction lowerCase);

// The port field of the options dialog: a whole number from 0 to 65535, blanks around it
// allowed. Anything else is nullopt, and the dialog shows kSmtpPortRangeMessage and keeps the
// port it had rather than storing a changed one.
std::optional<uint16_t> ParseSmtpPort(std::string_view text);
inline constexpr std::string_view kSmtpPortRangeMessage = "The port must be a number from 0 to 65535.";

// Which tray icon the settings ask for. `file` non-empty: load that icon file, and show built-in
// icon `builtIn` (then 0) if it cannot be loaded. `file` empty: show built-in icon `builtIn`.
struct TrayIconChoice {
  std::string file;
  uint8_t builtIn = 0;

  bool operator==(const TrayIconChoice&) const = default;
};
// TrayIconFile empty: built-in TrayIconIndex (its default when out of range). TrayIconFile
// naming an existing file: that file. Naming a missing file: built-in icon 0.
TrayIconChoice ChooseTrayIcon(const TQuorSettings& settings, bool trayIconFileExists);
