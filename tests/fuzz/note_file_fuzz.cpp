// libFuzzer target for reading a note. The input is a file, read both as a note file and as a
// plain text file. Reading a note file ends in a note or in the file errors (EQuorFileError,
// EInOutError, EConvertError); a note read whole is written and comes back the same. Reading
// it as text gives its characters unchanged with every line break as CR LF.
#include <cstdint>
#include <string>
#include <string_view>

#include "notes/note_file.h"
#include "storage/record_file.h"
#include "storage/text_encoding.h"
#include "tests/fuzz/fuzz_support.h"
#include "win/unicode.h"

namespace {

constexpr int kItemsOfAWholeNote = 21;

// Colours negative with a zero remainder or quotient of 65535 do not survive the format;
// every other colour does.
bool SurvivesTheFormat(int32_t color) { return color >= 0 || (color < -65534 && color % 65535 != 0); }

void ExpectSameColor(int32_t& reread, int32_t original) {
  if (!SurvivesTheFormat(original)) reread = original;
}

void CheckRoundTrip(const NoteData& note, const std::string& path, const LocalePictures& pictures) {
  SaveNoteFile(path, note, pictures);
  NoteData reread;
  int itemsRead = 0;
  LoadNoteFile(path, reread, itemsRead, pictures);
  ExpectSameColor(reread.Font.color, note.Font.color);
  ExpectSameColor(reread.TextColor, note.TextColor);
  ExpectSameColor(reread.BackColor, note.BackColor);
  fuzz::Check(reread == note, "a note read whole is written and read back the same");
}

std::string WithoutLineBreaks(std::string_view text) {
  std::string rest;
  for (const char c : text)
    if (c != '\r' && c != '\n') rest += c;
  return rest;
}

void CheckPlainText(const std::string& path, std::string_view bytes) {
  const std::string text = LoadPlainTextFile(path);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') fuzz::Check(i + 1 < text.size() && text[i + 1] == '\n', "a CR is followed by LF");
    if (text[i] == '\n') fuzz::Check(i > 0 && text[i - 1] == '\r', "an LF follows a CR");
  }
  fuzz::Check(win::IsValidUtf8(text), "the text is UTF-8 whatever the bytes were");
  if (win::IsValidUtf8(bytes) && !bytes.starts_with(kUtf8ByteOrderMark))
    fuzz::Check(WithoutLineBreaks(text) == WithoutLineBreaks(bytes), "UTF-8 keeps its characters");
  fuzz::Check(TextOfFileBytes(FileBytesOfText(text)) == text, "the text is written as bytes that read back as it");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz::InputFile input(".kli");
  static fuzz::InputFile written("-written.kli");
  const std::string& path = input.write(data, size);
  const LocalePictures pictures;

  NoteData note;
  int itemsRead = 0;
  try {
    LoadNoteFile(path, note, itemsRead, pictures);
  } catch (const EQuorFileError&) {
  } catch (const EInOutError&) {
  } catch (const EConvertError&) {
  }
  fuzz::Check(itemsRead <= kItemsOfAWholeNote, "no more items than a note has");
  if (itemsRead == kItemsOfAWholeNote) CheckRoundTrip(note, written.path(), pictures);

  CheckPlainText(path, std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
