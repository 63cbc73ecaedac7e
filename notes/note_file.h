#pragma once
// Reading and writing a note: the note file (".kli", a fixed sequence of record-file values)
// and the plain text file (the edit box's text only).

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "notes/note_data.h"
#include "storage/date_time_text.h"

// True when ".kli" occurs anywhere in the lower-cased path (so "a.kli.txt" and
// "report.kli.bak" are note files too); otherwise the path is a plain text file.
bool IsNoteFilePath(std::string_view path);

// The note file is a fixed sequence of record-file values, its items, numbered from 1 in the
// order they stand. kNoteItems describes it once: saving and loading walk it, and whoever
// applies a partly read file asks which items were read by these numbers.
enum class NoteItemId : int {
  Version = 1, Font, TextColor, Lines, BackColor, Width, Height, Left, Top, FileName, StoreName,
  AlarmWhen, AlarmEveryDay, AlarmActive, AlarmIsSet, Shown, OnTop, OwnTrayIcon, MailSubject, MailTo,
  MailRecipients, Reserved,  // items 22 to 31
  // After the last item: the groups of kNoteItemGroups.
  UserLeft = 32, UserTop, UserWidth, UserHeight,
  ExactLines, ExactFileName, ExactStoreName, ExactMailSubject, ExactMailTo, ExactMailRecipients
};

// A field of NoteData, also one inside its alarm.
template <class T>
struct NoteField {
  T NoteData::*note = nullptr;
  T NoteAlarmFields::*alarm = nullptr;
  constexpr bool Bound() const { return note != nullptr || alarm != nullptr; }
  T& Of(NoteData& data) const { return note != nullptr ? data.*note : data.Alarm.*alarm; }
  const T& Of(const NoteData& data) const { return note != nullptr ? data.*note : data.Alarm.*alarm; }
};

// How an item holds text. NoteData's texts are UTF-8; the items older readers read hold 8-bit
// text of the user's ANSI code page ("?" where it lacks a character), and a file name the code
// page cannot hold passes there as the volume's short name, which opens the same file and reads
// back as the long name.
enum class TextBytes : uint8_t { CodePage, CodePageName, Utf8 };

// The kinds of items. The version is written as NoteFileVersion and any byte is accepted; the
// font's size comes back positive, its name in the code page; a list is read aside first, so that
// a file that breaks off inside it leaves the old list whole; a word holds the low 16 bits and
// reads back without sign, a signed word with sign (left and top: a note left of or above the
// primary screen comes back there instead of tens of thousands of pixels off); the reserved
// items are bytes 0, never read.
struct VersionItem {};
struct FontItem { NoteField<FontValue> field; };
struct ColorItem { NoteField<int32_t> field; };
struct ListItem { NoteField<std::vector<std::string>> field; TextBytes bytes = TextBytes::CodePage; };
struct WordItem { NoteField<int> field; };
struct SignedWordItem { NoteField<int> field; };
struct StringItem { NoteField<std::string> field; TextBytes bytes = TextBytes::CodePage; };
struct DateTimeItem { NoteField<QDateTime> field; };
struct BoolItem { NoteField<bool> field; };
struct ReservedItems { int count; };
using NoteItemKind = std::variant<VersionItem, FontItem, ColorItem, ListItem, WordItem, SignedWordItem, StringItem,
                                  DateTimeItem, BoolItem, ReservedItems>;

struct NoteItem {
  NoteItemId id;
  NoteItemKind kind;
};

inline constexpr std::array<NoteItem, 22> kNoteItems{{
    {NoteItemId::Version, VersionItem{}},
    {NoteItemId::Font, FontItem{{&NoteData::Font}}},
    {NoteItemId::TextColor, ColorItem{{&NoteData::TextColor}}},
    {NoteItemId::Lines, ListItem{{&NoteData::Lines}}},
    {NoteItemId::BackColor, ColorItem{{&NoteData::BackColor}}},
    {NoteItemId::Width, WordItem{{&NoteData::Width}}},
    {NoteItemId::Height, WordItem{{&NoteData::Height}}},
    {NoteItemId::Left, SignedWordItem{{&NoteData::Left}}},
    {NoteItemId::Top, SignedWordItem{{&NoteData::Top}}},
    {NoteItemId::FileName, StringItem{{&NoteData::FileName}, TextBytes::CodePageName}},
    {NoteItemId::StoreName, StringItem{{&NoteData::StoreName}}},
    {NoteItemId::AlarmWhen, DateTimeItem{{nullptr, &NoteAlarmFields::When}}},
    {NoteItemId::AlarmEveryDay, BoolItem{{nullptr, &NoteAlarmFields::EveryDay}}},
    {NoteItemId::AlarmActive, BoolItem{{nullptr, &NoteAlarmFields::Active}}},
    {NoteItemId::AlarmIsSet, BoolItem{{nullptr, &NoteAlarmFields::IsSet}}},
    {NoteItemId::Shown, BoolItem{{&NoteData::Shown}}},
    {NoteItemId::OnTop, BoolItem{{&NoteData::OnTop}}},
    {NoteItemId::OwnTrayIcon, BoolItem{{&NoteData::OwnTrayIcon}}},
    {NoteItemId::MailSubject, StringItem{{&NoteData::MailSubject}}},
    {NoteItemId::MailTo, StringItem{{&NoteData::MailTo}}},
    {NoteItemId::MailRecipients, ListItem{{&NoteData::MailRecipients}}},
    {NoteItemId::Reserved, ReservedItems{10}},
}};

// Groups of items after the reserved ones, where older readers have stopped. A group is written
// only for a note that needs it (a note that needs none is written with exactly the bytes an
// older writer writes), after a byte record with its number, and read by readers that know the
// number. With its own items a group repeats items of the older part as they were written: an
// older program that wrote the file over its old bytes leaves the group behind, and where those
// items now differ the older program's edit wins and the group does not count. A group that is
// cut or damaged costs the groups, never the note.
struct NoteItemGroup {
  uint8_t number;
  // The note needs the group while this is set; it is set when the group was read. A group
  // without one is needed while a text it repeats as written is not exact in the code page.
  NoteField<bool> present;
  std::span<const NoteItem> items;
  std::span<const NoteItem> asWritten;  // rows of kNoteItems
};

constexpr const NoteItem& NoteItemRow(NoteItemId id) { return kNoteItems[static_cast<size_t>(id) - 1]; }

inline constexpr NoteItem kUserPlaceItems[] = {
    {NoteItemId::UserLeft, SignedWordItem{{&NoteData::UserLeft}}},
    {NoteItemId::UserTop, SignedWordItem{{&NoteData::UserTop}}},
    {NoteItemId::UserWidth, WordItem{{&NoteData::UserWidth}}},
    {NoteItemId::UserHeight, WordItem{{&NoteData::UserHeight}}},
};

inline constexpr NoteItem kExactTextItems[] = {
    {NoteItemId::ExactLines, ListItem{{&NoteData::Lines}, TextBytes::Utf8}},
    {NoteItemId::ExactFileName, StringItem{{&NoteData::FileName}, TextBytes::Utf8}},
    {NoteItemId::ExactStoreName, StringItem{{&NoteData::StoreName}, TextBytes::Utf8}},
    {NoteItemId::ExactMailSubject, StringItem{{&NoteData::MailSubject}, TextBytes::Utf8}},
    {NoteItemId::ExactMailTo, StringItem{{&NoteData::MailTo}, TextBytes::Utf8}},
    {NoteItemId::ExactMailRecipients, ListItem{{&NoteData::MailRecipients}, TextBytes::Utf8}},
};

inline constexpr NoteItem kCodePageTextItems[] = {
    NoteItemRow(NoteItemId::Lines),       NoteItemRow(NoteItemId::FileName), NoteItemRow(NoteItemId::StoreName),
    NoteItemRow(NoteItemId::MailSubject), NoteItemRow(NoteItemId::MailTo),   NoteItemRow(NoteItemId::MailRecipients),
};

inline constexpr std::array<NoteItemGroup, 2> kNoteItemGroups{{
    // The place the user gave the note, with the place it had when written (items 6 to 9).
    {1, {&NoteData::UserPlaceKept}, kUserPlaceItems,
     std::span(kNoteItems).subspan(static_cast<size_t>(NoteItemId::Width) - 1, 4)},
    // The texts exactly, in UTF-8, with the code page's version of them as written.
    {2, {}, kExactTextItems, kCodePageTextItems},
}};

// Writes every item of kNoteItems through a safe write (temporary file + rename), so a failure
// leaves the previous file as it was. Returns false when a string or list had to be clipped to
// the format's 255 limit (the file is still complete and readable); the caller then still holds
// the full text. Write errors throw EInOutError.
bool SaveNoteFile(const std::string& path, const NoteData& note,
                  const LocalePictures& pictures = UserLocalePictures());

// Reads the items into `note`, each taking effect as soon as it is read; `itemsRead` counts
// them (the id of the last one read, 21 at most). On a failure the exception (EQuorFileError,
// EInOutError, EConvertError) propagates: `note` then holds the items read before it and
// everything else unchanged, and `itemsRead` tells the caller how far to apply. A file that ends
// before the reserved items loads completely. The groups after them are read into their fields,
// each group's `present` telling whether the file held them whole (false after any failure, and
// after a damaged group for every group).
// `StoreName` comes back as the file holds it: a note that opens some other note file (Open,
// a dropped file) must keep its own store name, or two open notes end up writing one store file.
void LoadNoteFile(const std::string& path, NoteData& note, int& itemsRead,
                  const LocalePictures& pictures = UserLocalePictures());

// True when `itemsRead` items include item `id`.
constexpr bool ItemRead(int itemsRead, NoteItemId id) { return itemsRead >= static_cast<int>(id); }

// The displayed lines of an edit box as the note file keeps them: an empty last line (text
// that ends with a line break, or no text at all) is not a line of its own.
std::vector<std::string> LinesToStore(std::vector<std::string> displayedLines);

// Plain text files hold the edit box's whole text with CR LF line ends.
std::string NormalizeLineBreaks(std::string_view text);   // lone CR and lone LF -> CR LF
std::string EditTextFromLines(const std::vector<std::string>& lines);  // lines joined by CR LF
// The paragraphs of an edit box's text (split at CR LF, not as the box wraps them); a text that
// ends with a line break has no empty last line.
std::vector<std::string> LinesOfEditText(std::string_view text);
std::string JoinEditLines(const std::vector<std::string>& lines);  // each line followed by CR LF (TextLabel)
// The text is UTF-8 either way; the file's bytes are those of storage/text_encoding.h.
std::string LoadPlainTextFile(const std::string& path);   // whole file, line breaks normalised
void SavePlainTextFile(const std::string& path, std::string_view text);   // safe write

// The date/time stamp line: short date, " , ", long time ("12/6/2026 , 2:26:00 PM").
std::string DateTimeStamp(QDateTime now, const LocalePictures& pictures);
