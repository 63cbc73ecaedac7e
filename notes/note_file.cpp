#include "notes/note_file.h"

#include <algorithm>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "storage/file_io.h"
#include "storage/record_file.h"
#include "storage/text_encoding.h"

namespace {

// Items 22..31: reserved space every note file ends with.
constexpr int kReservedItems = 10;

// Left and top are written as their low 16 bits. Read back without sign, a note that sat on a
// monitor left of or above the primary one (negative position) would land tens of thousands
// of pixels off screen; read with sign it comes back where it was. No real screen position
// reaches 32768, so nothing else changes.
int ReadSignedWord(TQuorFile& file) { return static_cast<int16_t>(file.readWord()); }

}  // namespace

bool IsNoteFilePath(std::string_view path) {
  std::string lower(path);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower.find(".kli") != std::string::npos;
}

bool SaveNoteFile(const std::string& path, const NoteData& note, const LocalePictures& pictures) {
  TQuorFile file(path, pictures);
  file.OpenWrite();
  file.writeByte(NoteFileVersion);
  file.writeFont(note.Font);
  file.writeColor(note.TextColor);
  file.writeStrings(note.Lines);
  file.writeColor(note.BackColor);
  file.writeWord(static_cast<unsigned>(note.Width));
  file.writeWord(static_cast<unsigned>(note.Height));
  file.writeWord(static_cast<unsigned>(note.Left));
  file.writeWord(static_cast<unsigned>(note.Top));
  file.writeString(note.FileName);
  file.writeString(note.StoreName);
  file.writeDateTime(note.Alarm.When);
  file.writeBool(note.Alarm.EveryDay);
  file.writeBool(note.Alarm.Active);
  file.writeBool(note.Alarm.IsSet);
  file.writeBool(note.Shown);
  file.writeBool(note.OnTop);
  file.writeBool(note.OwnTrayIcon);
  file.writeString(note.MailSubject);
  file.writeString(note.MailTo);
  file.writeStrings(note.MailRecipients);
  for (int i = 0; i < kReservedItems; ++i) file.writeByte(0);
  file.Close();
  return !file.clipped();
}

void LoadNoteFile(const std::string& path, NoteData& note, int& itemsRead,
                  const LocalePictures& pictures) {
  itemsRead = 0;
  TQuorFile file(path, pictures);
  file.OpenRead();

  file.readByte();  // any version is accepted
  ++itemsRead;

  FontValue font = file.readFont();
  font.size = std::abs(font.size);
  note.Font = std::move(font);
  ++itemsRead;

  note.TextColor = file.readColor();
  ++itemsRead;

  // A list is read aside first: a file that breaks off inside it leaves the old text intact.
  std::vector<std::string> lines;
  file.readStrings(lines);
  note.Lines = std::move(lines);
  ++itemsRead;

  note.BackColor = file.readColor();
  ++itemsRead;
  note.Width = file.readWord();
  ++itemsRead;
  note.Height = file.readWord();
  ++itemsRead;
  note.Left = ReadSignedWord(file);
  ++itemsRead;
  note.Top = ReadSignedWord(file);
  ++itemsRead;
  note.FileName = file.readString();
  ++itemsRead;
  note.StoreName = file.readString();
  ++itemsRead;
  note.Alarm.When = file.readDateTime();
  ++itemsRead;
  note.Alarm.EveryDay = file.readBool();
  ++itemsRead;
  note.Alarm.Active = file.readBool();
  ++itemsRead;
  note.Alarm.IsSet = file.readBool();
  ++itemsRead;
  note.Shown = file.readBool();
  ++itemsRead;
  note.OnTop = file.readBool();
  ++itemsRead;
  note.OwnTrayIcon = file.readBool();
  ++itemsRead;
  note.MailSubject = file.readString();
  ++itemsRead;
  note.MailTo = file.readString();
  ++itemsRead;

  std::vector<std::string> recipients;
  file.readStrings(recipients);
  note.MailRecipients = std::move(recipients);
  ++itemsRead;
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
