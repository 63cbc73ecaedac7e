#pragma once
// The settings record of the program, with the values a first start runs on. The configuration
// file that holds it is app/settings_file.h.
#include <cstdint>
#include <string>
#include <vector>

#include "app/hot_keys.h"

// Which restored notes show at start-up.
enum StartupShowMode : uint8_t { ssLastState = 0, ssShowAll = 1, ssShowNone = 2 };
// What a left click on the tray icon does; any value above taNone does nothing either.
enum TrayClickMode : uint8_t { taNewNote = 0, taShowAll = 1, taToggleAll = 2, taShowMenu = 3, taNone = 4 };

struct TQuorSettings {
  std::string ConfigName = "options.dat";
  std::string ConfigFolder;  // the program folder in lower case; the controller fills it at start
  bool ReservedFlag = true;  // read, kept and written back, never used
  bool RunAtStartup = false;
  uint8_t StartupShow = ssLastState;
  bool ShowAllOnAdd = true;
  bool AllOnTop = true;
  bool DeleteToRecycleBin = false;
  bool InsertDateTime = false;
  bool ShowInTrayArea = false;
  std::string TrayIconFile;
  uint8_t TrayClickAction = taNewNote;
  uint8_t TrayIconIndex = 1;
  std::string SmtpServer = "smtp.example.com";
  // The whole port: the layout's byte record holds only its low 8 bits, so the full value goes
  // into a record of its own that older readers never reach (app/settings_file.h).
  uint16_t SmtpPort = 25;
  std::string UserName = "User Name";
  std::string UserMail = "user@example.com";
  std::string SkinName = "default";
  // The keys from anywhere, in records of their own after the whole port (app/settings_file.h).
  HotKey NewNoteKey = kDefaultNewNoteKey;
  HotKey ShowHideKey = kDefaultShowHideKey;
  HotKey FindKey = kDefaultFindKey;
  // The secured sign-in, in records after the keys (app/settings_file.h).
  uint8_t SmtpSecurity = 0;  // 0 none, 1 STARTTLS, 2 TLS from the first byte
  std::string SmtpSignInName;             // empty: no sign-in
  std::vector<uint8_t> SmtpPassword;      // encrypted for the user; never the plain text
  std::string SmtpTrustedServer;          // a certificate the user chose to trust for this server,
  std::string SmtpTrustedFingerprint;     // by its SHA-256 fingerprint

  bool operator==(const TQuorSettings&) const = default;
};
