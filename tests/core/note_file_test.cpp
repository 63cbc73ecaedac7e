#include "notes/note_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "storage/date_time.h"
#include "storage/io_error.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// The pictures of a C-locale user, given explicitly so the bytes do not depend on the machine.
const LocalePictures kUsPictures{};

Bytes Hex(std::initializer_list<int> values) { return Bytes(values.begin(), values.end()); }
Bytes Chars(std::string_view text) { return Bytes(text.begin(), text.end()); }
Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
size_t Find(const Bytes& haystack, std::string_view needle) {
  const Bytes n = Chars(needle);
  const auto at = std::search(haystack.begin(), haystack.end(), n.begin(), n.end());
  EXPECT_NE(at, haystack.end()) << needle;
  return static_cast<size_t>(at - haystack.begin());
}

NoteData SmallNote() {
  return {.Font = {"Arial", 10, true, false, true, false, 0x0000FF},
          .TextColor = 0x00FFFF,
          .Lines = {"a", "bc"},
          .BackColor = 0xFFFFFF,
          .Width = 150, .Height = 100, .Left = 10, .Top = 20,
          .FileName = "C:\\n.kli", .StoreName = "\\7.kli",
          .Alarm = {EncodeDateTime(2026, 12, 6, 14, 26, 0), false, true, true},
          .Shown = true, .OnTop = false, .OwnTrayIcon = true,
          .MailSubject = "Hi!", .MailTo = "a@b.c", .MailRecipients = {"x@y.z"}};
}

// Values no file here holds, to see which fields a failed load left alone.
NoteData Untouched() {
  return {.Font = {"Old", 9, false, true, false, true, 5},
          .TextColor = 1, .Lines = {"old text"}, .BackColor = 2,
          .Width = 3, .Height = 4, .Left = 5, .Top = 6,
          .FileName = "old file", .StoreName = "old store",
          .Alarm = {7.5, true, false, false},
          .Shown = false, .OnTop = true, .OwnTrayIcon = false,
          .MailSubject = "old subject", .MailTo = "old to", .MailRecipients = {"old@recipient"}};
}

// The alarm's time goes through text; within a millisecond it is the same moment.
void ExpectSameNote(NoteData loaded, const NoteData& expected) {
  EXPECT_NEAR(loaded.Alarm.When, expected.Alarm.When, 1e-8);
  loaded.Alarm.When = expected.Alarm.When;
  EXPECT_EQ(loaded, expected);
}

class NoteFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("qkli_note_file_" + std::to_string(std::random_device{}()));
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  std::string Path(const std::string& name) const { return (folder_ / name).string(); }

  // Loads `path` into Untouched() and returns the error text ("" when it loaded).
  std::string LoadExpectingError(const std::string& path, NoteData& note, int& itemsRead,
                                 const LocalePictures& pictures = kUsPictures) {
    note = Untouched();
    try {
      LoadNoteFile(path, note, itemsRead, pictures);
    } catch (const std::exception& e) {
      return e.what();
    }
    return "";
  }

  fs::path folder_;
};

TEST_F(NoteFileTest, SmallNoteHasExactBytesAndLoadsBack) {
  const std::string path = Path("small.kli");
  EXPECT_TRUE(SaveNoteFile(path, SmallNote(), kUsPictures));

  const Bytes expected = Cat({
      Hex({0x04, 0x32}),
      Hex({0x07, 0x00, 0x05}), Chars("Arial"), Hex({0x02, 0x01, 0x0A, 0x00}),
      Hex({0x01, 0x01, 0x01, 0x00, 0x01, 0x01, 0x01, 0x00}),
      Hex({0x09, 0x05, 0xFF, 0x00, 0x05, 0x00, 0x00}),
      Hex({0x09, 0x05, 0x00, 0x00, 0x05, 0x01, 0x00}),
      Hex({0x08, 0x04, 0x02, 0x00, 0x01}), Chars("a"), Hex({0x00, 0x02}), Chars("bc"),
      Hex({0x09, 0x05, 0xFF, 0x00, 0x05, 0x00, 0x01}),
      Hex({0x05, 0x96, 0x00, 0x05, 0x64, 0x00, 0x05, 0x0A, 0x00, 0x05, 0x14, 0x00}),
      Hex({0x00, 0x08}), Chars("C:\\n.kli"),
      Hex({0x00, 0x06}), Chars("\\7.kli"),
      Hex({0x06, 0x00, 0x09}), Chars("12/6/2026"), Hex({0x00, 0x0A}), Chars("2:26:00 PM"),
      Hex({0x01, 0x00, 0x01, 0x01, 0x01, 0x01}),
      Hex({0x01, 0x01, 0x01, 0x00, 0x01, 0x01}),
      Hex({0x00, 0x03}), Chars("Hi!"), Hex({0x00, 0x05}), Chars("a@b.c"),
      Hex({0x08, 0x04, 0x01, 0x00, 0x05}), Chars("x@y.z"),
      Hex({0x04, 0x00, 0x04, 0x00, 0x04, 0x00, 0x04, 0x00, 0x04, 0x00,
           0x04, 0x00, 0x04, 0x00, 0x04, 0x00, 0x04, 0x00, 0x04, 0x00}),
  });
  EXPECT_EQ(ReadBytes(path), expected);

  NoteData loaded = Untouched();
  int itemsRead = -1;
  LoadNoteFile(path, loaded, itemsRead, kUsPictures);
  EXPECT_EQ(itemsRead, 21);
  ExpectSameNote(loaded, SmallNote());
}

TEST_F(NoteFileTest, EmptyListsAndReservedTail) {
  const std::string path = Path("empty.kli");
  NoteData note;  // default font "MS Sans Serif", no text, no recipients
  EXPECT_TRUE(SaveNoteFile(path, note, kUsPictures));
  const Bytes bytes = ReadBytes(path);
  ASSERT_GT(bytes.size(), 64u);

  // Version (2) + font (3 + 13 + 4 + 8 + 7) + text colour (7) precede the text.
  const Bytes emptyList = Hex({0x08, 0x04, 0x00});
  EXPECT_EQ(Bytes(bytes.begin() + 44, bytes.begin() + 47), emptyList);

  Bytes tail(bytes.end() - 23, bytes.end());
  EXPECT_EQ(Bytes(tail.begin(), tail.begin() + 3), emptyList);  // item 21
  for (size_t i = 3; i < tail.size(); i += 2) {
    EXPECT_EQ(tail[i], 0x04) << i;
    EXPECT_EQ(tail[i + 1], 0x00) << i;
  }

  NoteData loaded = Untouched();
  int itemsRead = 0;
  LoadNoteFile(path, loaded, itemsRead, kUsPictures);
  EXPECT_TRUE(loaded.Lines.empty());
  EXPECT_TRUE(loaded.MailRecipients.empty());
}

TEST_F(NoteFileTest, SizesAreUnsignedAndPositionsSigned) {
  const std::string path = Path("place.kli");
  NoteData note = SmallNote();
  note.Width = 40000;
  note.Height = 65535;
  note.Left = -300;
  note.Top = -1;
  ASSERT_TRUE(SaveNoteFile(path, note, kUsPictures));

  const Bytes bytes = ReadBytes(path);
  const Bytes words = Hex({0x05, 0x40, 0x9C, 0x05, 0xFF, 0xFF, 0x05, 0xD4, 0xFE, 0x05, 0xFF, 0xFF});
  EXPECT_NE(std::search(bytes.begin(), bytes.end(), words.begin(), words.end()), bytes.end());

  NoteData loaded;
  int itemsRead = 0;
  LoadNoteFile(path, loaded, itemsRead, kUsPictures);
  EXPECT_EQ(loaded.Width, 40000);
  EXPECT_EQ(loaded.Height, 65535);
  EXPECT_EQ(loaded.Left, -300);
  EXPECT_EQ(loaded.Top, -1);
}

TEST_F(NoteFileTest, FontSizeAndVersionAreTolerated) {
  const std::string path = Path("font.kli");
  NoteData note = SmallNote();
  note.Font.size = -8;
  ASSERT_TRUE(SaveNoteFile(path, note, kUsPictures));
  Bytes bytes = ReadBytes(path);
  const Bytes negativeSize = Hex({0x02, 0x00, 0x08, 0x00});
  ASSERT_TRUE(std::equal(negativeSize.begin(), negativeSize.end(), bytes.begin() + 10));

  bytes[1] = 49;
  WriteBytes(path, bytes);
  NoteData loaded;
  int itemsRead = 0;
  LoadNoteFile(path, loaded, itemsRead, kUsPictures);
  EXPECT_EQ(itemsRead, 21);
  EXPECT_EQ(loaded.Font.size, 8);

  bytes[0] = 0x02;  // version not tagged as a byte
  WriteBytes(path, bytes);
  EXPECT_EQ(LoadExpectingError(path, loaded, itemsRead), "Error at readByte:type");
  EXPECT_EQ(itemsRead, 0);
  EXPECT_EQ(loaded, Untouched());
}

TEST_F(NoteFileTest, ShortFilesApplyWhatWasRead) {
  const std::string path = Path("short.kli");
  ASSERT_TRUE(SaveNoteFile(path, SmallNote(), kUsPictures));
  const Bytes whole = ReadBytes(path);
  const NoteData original = SmallNote();
  NoteData loaded;
  int itemsRead = -1;

  // Cut after item 21: the reserved items are never read.
  WriteBytes(path, Bytes(whole.begin(), whole.end() - 20));
  EXPECT_EQ(LoadExpectingError(path, loaded, itemsRead), "");
  EXPECT_EQ(itemsRead, 21);
  ExpectSameNote(loaded, original);

  // Cut inside the alarm's date (item 12): items 1..11 are applied, the rest untouched.
  WriteBytes(path, Bytes(whole.begin(), whole.begin() + Find(whole, "12/6/2026") + 3));
  try {
    loaded = Untouched();
    LoadNoteFile(path, loaded, itemsRead, kUsPictures);
    ADD_FAILURE() << "a file cut inside item 12 loaded";
  } catch (const EInOutError& e) {
    EXPECT_STREQ(e.what(), "Read beyond end of file");
  }
  EXPECT_EQ(itemsRead, 11);
  NoteData expected = original;
  expected.Alarm = Untouched().Alarm;
  expected.Shown = Untouched().Shown;
  expected.OnTop = Untouched().OnTop;
  expected.OwnTrayIcon = Untouched().OwnTrayIcon;
  expected.MailSubject = Untouched().MailSubject;
  expected.MailTo = Untouched().MailTo;
  expected.MailRecipients = Untouched().MailRecipients;
  EXPECT_EQ(loaded, expected);

  // Cut inside the text: the old text stays whole instead of half read.
  WriteBytes(path, Bytes(whole.begin(), whole.begin() + Find(whole, "bc") + 1));
  EXPECT_EQ(LoadExpectingError(path, loaded, itemsRead), "Read beyond end of file");
  EXPECT_EQ(itemsRead, 3);
  EXPECT_EQ(loaded.TextColor, original.TextColor);
  EXPECT_EQ(loaded.Lines, Untouched().Lines);

  // Cut inside the recipients: likewise.
  WriteBytes(path, Bytes(whole.begin(), whole.begin() + Find(whole, "x@y.z") + 2));
  EXPECT_EQ(LoadExpectingError(path, loaded, itemsRead), "Read beyond end of file");
  EXPECT_EQ(itemsRead, 20);
  EXPECT_EQ(loaded.MailTo, original.MailTo);
  EXPECT_EQ(loaded.MailRecipients, Untouched().MailRecipients);

  EXPECT_EQ(LoadExpectingError(Path("missing.kli"), loaded, itemsRead), "File not found");
  EXPECT_EQ(itemsRead, 0);
  EXPECT_EQ(loaded, Untouched());
}

TEST_F(NoteFileTest, AlarmTextFollowsTheGivenPictures) {
  const std::string path = Path("alarm.kli");
  const LocalePictures iso{"yyyy-MM-dd", "HH:mm:ss", "AM", "PM"};
  ASSERT_TRUE(SaveNoteFile(path, SmallNote(), iso));
  const Bytes bytes = ReadBytes(path);
  Find(bytes, "2026-12-06");
  Find(bytes, "14:26:00");

  NoteData loaded;
  int itemsRead = 0;
  LoadNoteFile(path, loaded, itemsRead, iso);
  EXPECT_NEAR(loaded.Alarm.When, SmallNote().Alarm.When, 1e-6);

  // Under another user's formats the alarm's texts do not convert: the load stops there.
  loaded = Untouched();
  EXPECT_THROW(LoadNoteFile(path, loaded, itemsRead, kUsPictures), EConvertError);
  EXPECT_EQ(itemsRead, 11);
  EXPECT_EQ(loaded.StoreName, SmallNote().StoreName);
  EXPECT_EQ(loaded.Alarm.When, Untouched().Alarm.When);
}

TEST_F(NoteFileTest, TextBeyondTheFormatIsClippedAndReported) {
  const std::string path = Path("long.kli");
  NoteData note = SmallNote();
  note.Lines.assign(255, std::string(255, 'x'));
  EXPECT_TRUE(SaveNoteFile(path, note, kUsPictures));  // the largest text that fits

  note.Lines.push_back("line 256");
  EXPECT_FALSE(SaveNoteFile(path, note, kUsPictures));
  NoteData loaded;
  int itemsRead = 0;
  LoadNoteFile(path, loaded, itemsRead, kUsPictures);
  EXPECT_EQ(itemsRead, 21);
  EXPECT_EQ(loaded.Lines.size(), 255u);
  EXPECT_EQ(loaded.MailTo, "a@b.c");

  note.Lines = {"short", std::string(300, 'y')};
  EXPECT_FALSE(SaveNoteFile(path, note, kUsPictures));
  LoadNoteFile(path, loaded, itemsRead, kUsPictures);
  ASSERT_EQ(loaded.Lines.size(), 2u);
  EXPECT_EQ(loaded.Lines[1], std::string(255, 'y'));
  EXPECT_EQ(loaded.MailRecipients, note.MailRecipients);

  note = SmallNote();
  note.MailRecipients.assign(256, "r@x.y");
  EXPECT_FALSE(SaveNoteFile(path, note, kUsPictures));
  LoadNoteFile(path, loaded, itemsRead, kUsPictures);
  EXPECT_EQ(loaded.MailRecipients.size(), 255u);
}

TEST(NoteFileFormat, ChoosesByKliAnywhereInThePath) {
  EXPECT_TRUE(IsNoteFilePath("C:\\notes\\a.kli"));
  EXPECT_TRUE(IsNoteFilePath("C:\\notes\\a.kli.txt"));
  EXPECT_TRUE(IsNoteFilePath("C:\\NOTES.KLI"));
  EXPECT_TRUE(IsNoteFilePath("report.kli.bak"));
  EXPECT_TRUE(IsNoteFilePath("C:\\x.Kli\\report.txt"));
  EXPECT_FALSE(IsNoteFilePath("report.txt"));
  EXPECT_FALSE(IsNoteFilePath("C:\\kli\\report.kl"));
  EXPECT_FALSE(IsNoteFilePath(""));
}

TEST(NoteText, LineBreaksAndLines) {
  EXPECT_EQ(NormalizeLineBreaks("a\rb\nc\r\nd"), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(NormalizeLineBreaks("\n\r"), "\r\n\r\n");
  EXPECT_EQ(NormalizeLineBreaks("\r\r\n"), "\r\n\r\n");
  EXPECT_EQ(NormalizeLineBreaks("end\r"), "end\r\n");
  EXPECT_EQ(NormalizeLineBreaks("\n"), "\r\n");
  EXPECT_EQ(NormalizeLineBreaks(""), "");
  EXPECT_EQ(NormalizeLineBreaks(std::string("a\0b", 3)), std::string("a\0b", 3));

  EXPECT_EQ(JoinEditLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
  EXPECT_EQ(JoinEditLines({}), "");
  EXPECT_EQ(EditTextFromLines({"a", "", "b"}), "a\r\n\r\nb");
  EXPECT_EQ(EditTextFromLines({}), "");
  EXPECT_EQ(LinesOfEditText("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(LinesOfEditText("a\r\n"), (std::vector<std::string>{"a"}));
  EXPECT_EQ(LinesOfEditText(""), (std::vector<std::string>{}));

  EXPECT_EQ(LinesToStore({"a", "b", ""}), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(LinesToStore({"a", "", "b"}), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(LinesToStore({""}), std::vector<std::string>{});
  EXPECT_EQ(LinesToStore({"", ""}), std::vector<std::string>{""});
}

TEST_F(NoteFileTest, PlainTextKeepsTheWholeText) {
  const std::string path = Path("report.txt");
  SavePlainTextFile(path, "one\r\ntwo\r\n");
  EXPECT_EQ(ReadBytes(path), Chars("one\r\ntwo\r\n"));
  EXPECT_EQ(LoadPlainTextFile(path), "one\r\ntwo\r\n");

  WriteBytes(path, Chars("unix\nmac\rdos\r\n"));
  EXPECT_EQ(LoadPlainTextFile(path), "unix\r\nmac\r\ndos\r\n");

  SavePlainTextFile(path, "");
  EXPECT_EQ(LoadPlainTextFile(path), "");
  EXPECT_THROW(LoadPlainTextFile(Path("absent.txt")), EInOutError);
}

TEST(NoteText, DateTimeStamp) {
  const QDateTime when = EncodeDateTime(2026, 12, 6, 14, 26, 0);
  EXPECT_EQ(DateTimeStamp(when, kUsPictures), "12/6/2026 , 2:26:00 PM");
  EXPECT_EQ(DateTimeStamp(when, LocalePictures{"dd.MM.yyyy", "HH:mm:ss", "AM", "PM"}),
            "06.12.2026 , 14:26:00");
}

}  // namespace

namespace {

// Copies the field of one item from `from` to `to` (the version and the reserved items have none).
void CopyItem(const NoteItemKind& item, const NoteData& from, NoteData& to) {
  std::visit(
      [&](const auto& kind) {
        if constexpr (requires { kind.field; }) kind.field.Of(to) = kind.field.Of(from);
      },
      item);
}

TEST_F(NoteFileTest, EveryItemRoundTripsAndACutFileLoadsAsFarAsItGoes) {
  const std::string path = Path("table.kli");
  ASSERT_TRUE(SaveNoteFile(path, SmallNote(), kUsPictures));
  const Bytes whole = ReadBytes(path);
  std::vector<bool> reached(kNoteItems.size(), false);
  int lastRead = 0;
  for (size_t length = 0; length <= whole.size(); ++length) {
    WriteBytes(path, Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)));
    NoteData loaded;
    int itemsRead = -1;
    LoadExpectingError(path, loaded, itemsRead);
    ASSERT_GE(itemsRead, lastRead) << length;
    lastRead = itemsRead;
    reached[static_cast<size_t>(itemsRead)] = true;
    NoteData expected = Untouched();
    for (const NoteItem& item : kNoteItems)
      if (ItemRead(itemsRead, item.id)) CopyItem(item.kind, SmallNote(), expected);
    ExpectSameNote(loaded, expected);
  }
  EXPECT_EQ(lastRead, static_cast<int>(NoteItemId::MailRecipients));
  // Every item was reached on its own: a file cut right after it loads exactly that far.
  for (size_t read = 0; read < reached.size(); ++read) EXPECT_TRUE(reached[read]) << read;
}

}  // namespace

namespace {

TEST_F(NoteFileTest, GroupsAfterTheLastItemCountOnlyWhileTheOlderItemsAgree) {
  NoteData displaced = SmallNote();
  displaced.UserPlaceKept = true;
  displaced.UserLeft = -3000;
  displaced.UserTop = 5000;
  displaced.UserWidth = 400;
  displaced.UserHeight = 300;
  const std::string plain = Path("plain.kli"), grouped = Path("grouped.kli");
  ASSERT_TRUE(SaveNoteFile(plain, SmallNote(), kUsPictures));
  ASSERT_TRUE(SaveNoteFile(grouped, displaced, kUsPictures));
  const Bytes older = ReadBytes(plain), whole = ReadBytes(grouped);
  ASSERT_TRUE(std::equal(older.begin(), older.end(), whole.begin())) << "older readers read the same items";
  EXPECT_EQ(Bytes(whole.begin() + static_cast<std::ptrdiff_t>(older.size()), whole.end()),
            Cat({Hex({0x04, 0x01}), Hex({0x05, 0x48, 0xF4, 0x05, 0x88, 0x13, 0x05, 0x90, 0x01, 0x05, 0x2C, 0x01}),
                 Hex({0x05, 0x96, 0x00, 0x05, 0x64, 0x00, 0x05, 0x0A, 0x00, 0x05, 0x14, 0x00})}));

  struct Row {
    const char* what;
    Bytes bytes;
    bool kept;
  };
  Bytes movedByAnOlderProgram = whole;
  movedByAnOlderProgram[Find(whole, std::string_view("\x05\x0A\x00\x05\x14\x00", 6)) + 1] = 0x0B;  // item 8, written over in place
  Bytes unknownGroup = whole;
  unknownGroup.insert(unknownGroup.begin() + static_cast<std::ptrdiff_t>(older.size()), {0x04, 0x09});
  const Row rows[] = {
      {"whole", whole, true},
      {"an older program moved the note since", movedByAnOlderProgram, false},
      {"cut inside the group", Bytes(whole.begin(), whole.end() - 5), false},
      {"a newer writer's group first", unknownGroup, false},
      {"nothing after item 21", Bytes(older.begin(), older.end() - 20), false},
  };
  for (const Row& row : rows) {
    WriteBytes(grouped, row.bytes);
    NoteData loaded = displaced;
    int itemsRead = 0;
    EXPECT_EQ(LoadExpectingError(grouped, loaded, itemsRead), "") << row.what;
    loaded.Alarm.When = SmallNote().Alarm.When;
    EXPECT_EQ(loaded.UserPlaceKept, row.kept) << row.what;
    if (row.kept) {
      EXPECT_EQ(loaded, displaced) << row.what;
    }
    EXPECT_EQ(loaded.Lines, SmallNote().Lines) << row.what;
  }
}

}  // namespace
