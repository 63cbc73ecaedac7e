#include "notes/note_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "storage/file_io.h"
#include "storage/overloaded.h"
#include "storage/record_file.h"
#include "storage/text_encoding.h"

namespace {

constexpr bool ItemsNumberedInOrder() {
  for (std::size_t i = 0; i < kNoteItems.size(); ++i)
    if (static_cast<std::size_t>(kNoteItems[i].id) != i + 1) return false;
  return true;
}
static_assert(ItemsNumberedInOrder(), "an item's number is its place in the file");

void WriteItem(TQuorFile& file, const NoteItemKind& item, const NoteData& note) {
  std::visit(Overloaded{
                 [&](VersionItem) { file.writeByte(NoteFileVersion); },
                 [&](FontItem i) { file.writeFont(i.field.Of(note)); },
                 [&](ColorItem i) { file.writeColor(i.field.Of(note)); },
                 [&](ListItem i) { file.writeStrings(i.field.Of(note)); },
                 [&](WordItem i) { file.writeWord(static_cast<unsigned>(i.field.Of(note))); },
                 [&](SignedWordItem i) { file.writeWord(static_cast<unsigned>(i.field.Of(note))); },
                 [&](StringItem i) { file.writeString(i.field.Of(note)); },
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
                          i.field.Of(note) = std::move(font);
                          return true;
                        },
                        [&](ColorItem i) { return i.field.Of(note) = file.readColor(), true; },
                        [&](ListItem i) {
                          std::vector<std::string> list;
                          file.readStrings(list);
                          i.field.Of(note) = std::move(list);
                          return true;
                        },
                        [&](WordItem i) { return i.field.Of(note) = file.readWord(), true; },
                        [&](SignedWordItem i) { return i.field.Of(note) = static_cast<int16_t>(file.readWord()), true; },
                        [&](StringItem i) { return i.field.Of(note) = file.readString(), true; },
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
      group->present.Of(read) = true;
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
    if (!group.present.Of(note)) continue;
    file.writeByte(group.number);
    for (const NoteItem& item : group.items) WriteItem(file, item.kind, note);
    for (const NoteItem& item : group.asWritten) WriteItem(file, item.kind, note);
  }
  file.Close();
  return !file.clipped();
}

void LoadNoteFile(const std::string& path, NoteData& note, int& itemsRead, const LocalePictures& pictures) {
  itemsRead = 0;
  for (const NoteItemGroup& group : kNoteItemGroups) group.present.Of(note) = false;
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
