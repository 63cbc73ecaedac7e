#include "notes/note_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "storage/file_io.h"
#include "storage/os_file.h"
#include "storage/overloaded.h"
#include "storage/record_file.h"
#include "storage/text_encoding.h"
#include "win/unicode.h"

namespace {

constexpr bool ItemsNumberedInOrder() {
  for (std::size_t i = 0; i < kNoteItems.size(); ++i)
    if (static_cast<std::size_t>(kNoteItems[i].id) != i + 1) return false;
  return true;
}
static_assert(ItemsNumberedInOrder(), "an item's number is its place in the file");

std::string FileText(const std::string& text, TextBytes bytes) {
  switch (bytes) {
    case TextBytes::CodePage: return win::AnsiFromUtf8(text).text;
    case TextBytes::CodePageName: return win::AnsiFromUtf8(os_file::PathForCodePage(text)).text;
    case TextBytes::Utf8: break;
  }
  return text;
}

std::string NoteText(std::string&& text, TextBytes bytes) {
  if (bytes == TextBytes::Utf8) return std::move(text);
  std::string utf8 = win::Utf8FromAnsi(text).text;
  // Only a short name has a "~": no other name costs a look at the disk.
  if (bytes == TextBytes::CodePageName && utf8.find('~') != std::string::npos) return os_file::PathFromCodePage(utf8);
  return utf8;
}

std::vector<std::string> FileTexts(const std::vector<std::string>& texts, TextBytes bytes) {
  if (bytes == TextBytes::Utf8) return texts;
  std::vector<std::string> converted;
  converted.reserve(texts.size());
  for (const std::string& text : texts) converted.push_back(FileText(text, bytes));
  return converted;
}

void WriteItem(TQuorFile& file, const NoteItemKind& item, const NoteData& note) {
  std::visit(Overloaded{
                 [&](VersionItem) { file.writeByte(NoteFileVersion); },
                 [&](FontItem i) {
                   FontValue font = i.field.Of(note);
                   font.name = win::AnsiFromUtf8(font.name).text;
                   file.writeFont(font);
                 },
                 [&](ColorItem i) { file.writeColor(i.field.Of(note)); },
                 [&](ListItem i) { file.writeStrings(FileTexts(i.field.Of(note), i.bytes)); },
                 [&](WordItem i) { file.writeWord(static_cast<unsigned>(i.field.Of(note))); },
                 [&](SignedWordItem i) { file.writeWord(static_cast<unsigned>(i.field.Of(note))); },
                 [&](StringItem i) { file.writeString(FileText(i.field.Of(note), i.bytes)); },
                 [&](DateTimeItem i) { file.writeDateTime(i.field.Of(note)); },
                 [&](BoolItem i) { file.writeBool(i.field.Of(note)); },
                 [&](ReservedItems i) {
                   for (int n = 0; n < i.count; ++n) file.writeByte(0);
                 },
             },
             item);
}

// False for the reserved items, which are not read.
bool ReadItem(TQuorFile& file, const NoteItemKind& item, NoteData& note) {
  return std::visit(Overloaded{
                        [&](VersionItem) { return file.readByte(), true; },
                        [&](FontItem i) {
                          FontValue font = file.readFont();
                          font.size = std::abs(font.size);
                          font.name = win::Utf8FromAnsi(font.name).text;
                          i.field.Of(note) = std::move(font);
                          return true;
                        },
                        [&](ColorItem i) { return i.field.Of(note) = file.readColor(), true; },
                        [&](ListItem i) {
                          std::vector<std::string> list;
                          file.readStrings(list);
                          for (std::string& text : list) text = NoteText(std::move(text), i.bytes);
                          i.field.Of(note) = std::move(list);
                          return true;
                        },
                        [&](WordItem i) { return i.field.Of(note) = file.readWord(), true; },
                        [&](SignedWordItem i) { return i.field.Of(note) = static_cast<int16_t>(file.readWord()), true; },
                        [&](StringItem i) { return i.field.Of(note) = NoteText(file.readString(), i.bytes), true; },
                        [&](DateTimeItem i) { return i.field.Of(note) = file.readDateTime(), true; },
                        [&](BoolItem i) { return i.field.Of(note) = file.readBool(), true; },
                        [&](ReservedItems) { return false; },
                    },
                    item);
}

// Calls `action` with the field of every item of `items` (the version and the reserved items
// have none).
template <class Action>
void ForEachField(std::span<const NoteItem> items, Action action) {
  for (const NoteItem& item : items) {
    std::visit(
        [&](const auto& kind) {
          if constexpr (requires { kind.field; }) action(kind.field);
        },
        item.kind);
  }
}

void CopyFields(std::span<const NoteItem> items, const NoteData& from, NoteData& to) {
  ForEachField(items, [&](const auto& field) { field.Of(to) = field.Of(from); });
}

bool SameFields(std::span<const NoteItem> items, const NoteData& a, const NoteData& b) {
  bool same = true;
  ForEachField(items, [&](const auto& field) { same = same && field.Of(a) == field.Of(b); });
  return same;
}

bool ExactInCodePage(std::span<const NoteItem> items, const NoteData& note) {
  bool exact = true;
  const auto check = [&](const std::string& text) { exact = exact && win::AnsiFromUtf8(text).exact; };
  ForEachField(items, Overloaded{
                          [&](const NoteField<std::string>& field) { check(field.Of(note)); },
                          [&](const NoteField<std::vector<std::string>>& field) {
                            for (const std::string& text : field.Of(note)) check(text);
                          },
                          [](const auto&) {},
                      });
  return exact;
}

bool Needed(const NoteItemGroup& group, const NoteData& note) {
  if (group.present.Bound()) return group.present.Of(note);
  return !ExactInCodePage(group.asWritten, note);
}

void MarkRead(const NoteItemGroup& group, NoteData& note, bool read) {
  if (group.present.Bound()) group.present.Of(note) = read;
}

// The groups after the reserved items, into `note` when every group read is whole; otherwise
// the note is one without groups.
void ReadGroups(TQuorFile& file, NoteData& note) {
  // A file of an older writer may end before its reserved items.
  if (!file.peekRawByte()) return;
  NoteData read = note;
  try {
    for (int n = 0; n < std::get<ReservedItems>(kNoteItems.back().kind).count; ++n) file.readByte();
    while (file.peekRawByte()) {
      const uint8_t number = file.readByte();
      const auto group = std::find_if(kNoteItemGroups.begin(), kNoteItemGroups.end(),
                                      [&](const NoteItemGroup& g) { return g.number == number; });
      // A group of a newer writer: what follows cannot be read without knowing it.
      if (group == kNoteItemGroups.end()) break;
      NoteData values = read;
      for (const NoteItem& item : group->items) ReadItem(file, item.kind, values);
      NoteData written = read;
      for (const NoteItem& item : group->asWritten) ReadItem(file, item.kind, written);
      if (!SameFields(group->asWritten, written, note)) continue;
      CopyFields(group->items, values, read);
      MarkRead(*group, read, true);
    }
  } catch (const std::exception&) {
    return;
  }
  note = std::move(read);
}

}  // namespace

bool IsNoteFilePath(std::string_view path) { return AsciiLowerCase(path).find(".kli") != std::string::npos; }

bool SaveNoteFile(const std::string& path, const NoteData& note, const LocalePictures& pictures) {
  TQuorFile file(path, pictures);
  file.OpenWrite();
  for (const NoteItem& item : kNoteItems) WriteItem(file, item.kind, note);
  for (const NoteItemGroup& group : kNoteItemGroups) {
    if (!Needed(group, note)) continue;
    file.writeByte(group.number);
    for (const NoteItem& item : group.items) WriteItem(file, item.kind, note);
    for (const NoteItem& item : group.asWritten) WriteItem(file, item.kind, note);
  }
  file.Close();
  return !file.clipped();
}

void LoadNoteFile(const std::string& path, NoteData& note, int& itemsRead, const LocalePictures& pictures) {
  itemsRead = 0;
  for (const NoteItemGroup& group : kNoteItemGroups) MarkRead(group, note, false);
  TQuorFile file(path, pictures);
  file.OpenRead();
  for (const NoteItem& item : kNoteItems) {
    if (!ReadItem(file, item.kind, note)) break;
    itemsRead = static_cast<int>(item.id);
  }
  ReadGroups(file, note);
}

std::vector<std::string> LinesToStore(std::vector<std::string> displayedLines) {
  if (!displayedLines.empty() && displayedLines.back().empty()) displayedLines.pop_back();
  return displayedLines;
}

std::string NormalizeLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::vector<std::string> LinesOfEditText(std::string_view text) {
  std::vector<std::string> lines;
  for (size_t start = 0; start < text.size();) {
    const size_t end = std::min(text.find("\r\n", start), text.size());
    lines.emplace_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string EditTextFromLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

std::string JoinEditLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::string LoadPlainTextFile(const std::string& path) {
  return NormalizeLineBreaks(TextOfFileBytes(ReadWholeFile(path)));
}

void SavePlainTextFile(const std::string& path, std::string_view text) {
  WriteFileAtomically(path, FileBytesOfText(text));
}

std::string DateTimeStamp(QDateTime now, const LocalePictures& pictures) {
  return FormatDateText(now, pictures) + " , " + FormatTimeText(now, pictures);
}
