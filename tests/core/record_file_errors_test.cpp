// How the record file fails: type errors, short and missing files, closed files, read-only
// files and texts that do not convert.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "scratch_folder.h"
#include "storage/file_io.h"
#include "storage/record_file.h"

namespace {

using namespace std::string_literals;

class RecordFileErrors : public ::testing::Test {
 protected:
  TQuorFile& openOn(std::string_view bytes) {
    file_.Close();  // Windows cannot make a new file under a name that is still open
    WritePlainFile(path_, bytes);
    file_.OpenRead();
    return file_;
  }

  ScratchFolder folder_;
  std::string path_ = folder_.file("broken.kli");
  TQuorFile file_{path_, LocalePictures{}};
};

template <typename Read>
void ExpectInOutError(Read read, int code, const std::string& text) {
  try {
    read();
    ADD_FAILURE() << "no error, expected " << text;
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.code(), code);
    EXPECT_EQ(std::string(error.what()), text);
  }
}

struct TypedRead {
  const char* message;
  std::function<void(TQuorFile&)> read;
};

const std::vector<TypedRead>& EveryTypedRead() {
  static const std::vector<TypedRead> reads{
      {"Error at readString:type", [](TQuorFile& f) { f.readString(); }},
      {"Error at readBool:type", [](TQuorFile& f) { f.readBool(); }},
      {"Error at readInt:type", [](TQuorFile& f) { f.readInt(); }},
      {"Error at readByte:type", [](TQuorFile& f) { f.readByte(); }},
      {"Error at readWord:type", [](TQuorFile& f) { f.readWord(); }},
      {"Error at readDateTime:type", [](TQuorFile& f) { f.readDateTime(); }},
      {"Error at readFont:type", [](TQuorFile& f) { f.readFont(); }},
      {"Error at readStrings:type",
       [](TQuorFile& f) {
         std::vector<std::string> list;
         f.readStrings(list);
       }},
      {"Error at readColor:type", [](TQuorFile& f) { f.readColor(); }},
  };
  return reads;
}

TEST_F(RecordFileErrors, AWrongTagRaisesTheReadersMessageAndConsumesOnlyTheTag) {
  for (const TypedRead& typed : EveryTypedRead()) {
    for (char wrongTag : {'\x03', '\x0A', '\xFF'}) {
      openOn(std::string{wrongTag, '\x04', '\x32'});
      try {
        typed.read(file_);
        ADD_FAILURE() << typed.message << " not raised";
      } catch (const EQuorFileError& error) {
        EXPECT_EQ(std::string(error.what()), typed.message);
      }
      EXPECT_EQ(file_.readByte(), 50) << typed.message;  // the next value is intact
    }
  }
  // A boolean where a string is stored.
  EXPECT_THROW(openOn(std::string("\x00\x03" "abc", 5)).readBool(), EQuorFileError);
  EXPECT_EQ(file_.readRawByte(), 3);
}

TEST_F(RecordFileErrors, AWrongInnerTagRaisesThePartsMessage) {
  const auto expectMessage = [&](std::string_view bytes, const std::function<void()>& read, const char* message) {
    openOn(bytes);
    try {
      read();
      ADD_FAILURE() << message << " not raised";
    } catch (const EQuorFileError& error) {
      EXPECT_EQ(std::string(error.what()), message);
    }
  };
  // A font whose size is stored as a word.
  expectMessage(std::string("\x07\x00\x01" "A\x05\x08\x00", 7), [&] { file_.readFont(); }, "Error at readInt:type");
  expectMessage(std::string("\x07\x01\x01", 3), [&] { file_.readFont(); }, "Error at readString:type");
  expectMessage(std::string("\x06\x01\x01", 3), [&] { file_.readDateTime(); }, "Error at readString:type");
  expectMessage(std::string("\x09\x02\x01\x00\x00", 5), [&] { file_.readColor(); }, "Error at readWord:type");
  expectMessage(std::string("\x09\x05\x01\x00\x04\x00", 6), [&] { file_.readColor(); }, "Error at readWord:type");

  // A list whose count is not tagged as a byte: the list is already emptied.
  std::vector<std::string> list{"old"};
  expectMessage(std::string("\x08\x05\x01\x00", 4), [&] { file_.readStrings(list); }, "Error at readByte:type");
  EXPECT_TRUE(list.empty());
  // A list whose second entry is broken keeps the entries read before it.
  list = {"old"};
  expectMessage(std::string("\x08\x04\x02\x00\x01" "a\x01\x01", 8), [&] { file_.readStrings(list); },
                "Error at readString:type");
  EXPECT_EQ(list, std::vector<std::string>{"a"});
  // A list with the wrong tag of its own is left alone.
  list = {"old"};
  expectMessage(std::string("\x00\x00", 2), [&] { file_.readStrings(list); }, "Error at readStrings:type");
  EXPECT_EQ(list, std::vector<std::string>{"old"});
}

TEST_F(RecordFileErrors, AFileThatEndsInsideAValueReadsBeyondItsEnd) {
  const std::vector<std::string> complete{
      std::string("\x00\x03" "abc", 5),
      std::string("\x01\x01", 2),
      std::string("\x02\x01\x08\x00", 4),
      std::string("\x04\x32", 2),
      std::string("\x05\x2C\x01", 3),
      std::string("\x06\x00\x01" "1\x00\x01" "2", 7),
      std::string("\x07\x00\x00\x02\x01\x08\x00\x01\x00\x01\x00\x01\x00\x01\x00\x09\x05\x00\x00\x05\x00\x00", 22),
      std::string("\x08\x04\x02\x00\x01" "a\x00\x01" "b", 9),
      std::string("\x09\x05\xFF\x00\x05\x00\x00", 7),
  };
  ASSERT_EQ(complete.size(), EveryTypedRead().size());
  for (std::size_t i = 0; i < complete.size(); ++i) {
    for (std::size_t cut = 0; cut < complete[i].size(); ++cut) {
      openOn(complete[i].substr(0, cut));
      const TypedRead& typed = EveryTypedRead()[i];
      ExpectInOutError([&] { typed.read(file_); }, io_code::kReadBeyondEnd, "Read beyond end of file");
    }
  }
  openOn("");
  ExpectInOutError([&] { file_.readRawByte(); }, io_code::kReadBeyondEnd, "Read beyond end of file");
}

TEST_F(RecordFileErrors, MissingFilesAndFoldersAreReportedWithTheirCodes) {
  TQuorFile missing(folder_.file("nothing.kli"), LocalePictures{});
  ExpectInOutError([&] { missing.OpenRead(); }, io_code::kFileNotFound, "File not found");
  TQuorFile nowhere(folder_.file("no-such-folder/a.kli"), LocalePictures{});
  ExpectInOutError([&] { nowhere.OpenRead(); }, io_code::kPathNotFound, "Path not found");
  ExpectInOutError([&] { nowhere.OpenWrite(); }, io_code::kPathNotFound, "Path not found");
  ExpectInOutError([&] { ReadWholeFile(folder_.file("nothing.txt")); }, io_code::kFileNotFound, "File not found");
  TQuorFile unnamed("", LocalePictures{});
  EXPECT_THROW(unnamed.OpenRead(), EInOutError);
  EXPECT_THROW(unnamed.OpenWrite(), EInOutError);
  TQuorFile folderItself(folder_.path(), LocalePictures{});
  ExpectInOutError([&] { folderItself.OpenRead(); }, io_code::kAccessDenied, "File access denied");
  ExpectInOutError([&] { folderItself.OpenWrite(); }, io_code::kAccessDenied, "File access denied");
}

TEST_F(RecordFileErrors, AClosedFileNeitherReadsNorWrites) {
  ExpectInOutError([&] { file_.readByte(); }, io_code::kFileNotOpen, "File not open");
  ExpectInOutError([&] { file_.writeByte(1); }, io_code::kFileNotOpen, "File not open");
  file_.OpenWrite();
  ExpectInOutError([&] { file_.readRawByte(); }, io_code::kFileNotOpen, "File not open");
  file_.Close();
  file_.Close();  // closing twice is harmless
  ExpectInOutError([&] { file_.writeRawByte(1); }, io_code::kFileNotOpen, "File not open");
  file_.OpenRead();
  ExpectInOutError([&] { file_.writeRawByte(1); }, io_code::kFileNotOpen, "File not open");
}

TEST_F(RecordFileErrors, AReadOnlyFileOpensForReadingButIsNotReplaced) {
  WriteFileAtomically(path_, std::string("\x04\x32", 2));
  std::filesystem::permissions(path_,
                               std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                   std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove);
  file_.OpenRead();
  EXPECT_EQ(file_.readByte(), 50);
  file_.Close();

  ExpectInOutError([&] { file_.OpenWrite(); }, io_code::kAccessDenied, "File access denied");
  ExpectInOutError([&] { WriteFileAtomically(path_, "new"); }, io_code::kAccessDenied, "File access denied");
  EXPECT_EQ(ReadWholeFile(path_), std::string("\x04\x32", 2));
  EXPECT_FALSE(FileExists(TemporaryPathFor(path_)));
}

TEST_F(RecordFileErrors, DateTimeTextsThatDoNotConvertRaiseConversionErrors) {
  const auto expectConvert = [&](std::string_view bytes, const std::string& message) {
    openOn(bytes);
    try {
      file_.readDateTime();
      ADD_FAILURE() << message << " not raised";
    } catch (const EConvertError& error) {
      EXPECT_EQ(std::string(error.what()), message);
    }
  };
  expectConvert("\x06\x00\x09"s + "13/6/2026" + "\x00\x0A"s + "2:26:00 PM", "'13/6/2026' is not a valid date");
  expectConvert("\x06\x00\x09"s + "12/6/2026" + "\x00\x08"s + "14:26:00", "'14:26:00' is not a valid time");
  expectConvert(std::string("\x06\x00\x00\x00\x00", 5), "'' is not a valid date");

  // A file written in one locale may not read in another.
  LocalePictures german{"dd.MM.yyyy", "HH:mm:ss", "", ""};
  file_.Close();
  TQuorFile writer(path_, german);
  writer.OpenWrite();
  writer.writeDateTime(EncodeDateTime(2026, 12, 6, 14, 26, 0));
  writer.Close();
  file_.OpenRead();
  EXPECT_THROW(file_.readDateTime(), EConvertError);
  TQuorFile reader(path_, german);
  reader.OpenRead();
  EXPECT_EQ(reader.readDateTime(), EncodeDateTime(2026, 12, 6, 14, 26, 0));
}

}  // namespace
