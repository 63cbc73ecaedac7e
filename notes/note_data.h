#pragma once
// What a note stores: the fields of its note file, in file order. The note window owns one of
// these and applies it to its controls; the note file reads and writes it without any window.

#include <cstdint>
#include <string>
#include <vector>

#include "storage/date_time_text.h"
#include "storage/font_value.h"

// The note file's first value; readers accept any version byte.
inline constexpr uint8_t NoteFileVersion = 50;

struct NoteAlarmFields {
  QDateTime When = 0;      // item 12: date and time of day (seconds are 0 when the alarm sets it)
  bool EveryDay = false;   // item 13
  bool Active = false;     // item 14: the alarm is on
  bool IsSet = false;      // item 15
  bool operator==(const NoteAlarmFields&) const = default;
};

struct NoteData {
  FontValue Font;                            // item 2
  int32_t TextColor = 0x00FFFF;              // item 3, edit box background
  std::vector<std::string> Lines;            // item 4, displayed lines
  int32_t BackColor = 0x00FFFF;              // item 5
  int Width = 150, Height = 100, Left = 0, Top = 0;  // items 6-9
  std::string FileName, StoreName;           // items 10, 11
  NoteAlarmFields Alarm;                     // items 12-15
  bool Shown = false, OnTop = false, OwnTrayIcon = false;  // items 16-18
  std::string MailSubject, MailTo;           // items 19, 20
  std::vector<std::string> MailRecipients;   // item 21
  // After the items older readers read. The place the user gave the note, while the program
  // keeps it elsewhere so that it can be reached (its monitor gone, the resolution smaller);
  // UserPlaceKept is false while the note stands where the user put it.
  bool UserPlaceKept = false;
  int UserLeft = 0, UserTop = 0, UserWidth = 0, UserHeight = 0;
  bool operator==(const NoteData&) const = default;
};
