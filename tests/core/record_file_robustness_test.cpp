// Damaged files: every cut and many random mutations of a valid note-like file must end in one
// of the record file's own errors (or read through), never in anything else.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "scratch_folder.h"
#include "storage/file_io.h"
#include "storage/record_file.h"

namespace {

struct NoteLike {
  FontValue font{"Tahoma", -11, true, false, false, true, 0x00112233};
  int32_t textColour = 0xFFFFE0;
  std::vector<std::string> lines{"Buy milk", "", "Call Anna at 5", std::string(255, '#')};
  int32_t backColour = static_cast<int32_t>(0x8000000F);
  uint16_t width = 150, height = 100, left = 10, top = 20;
  std::string fileName = "C:\\notes\\shopping.kli", storeName = "note7.kli";
  QDateTime alarm = EncodeDateTime(2026, 12, 6, 14, 26, 0);
  bool flags[6] = {true, false, true, true, false, true};
  std::string subject = "Shopping", mailTo = "anna@example.org";
  std::vector<std::string> recipients{"anna@example.org", "bob@example.org"};

  bool operator==(const NoteLike&) const = default;
};

void Write(TQuorFile& f, const NoteLike& n) {
  f.writeByte(50);
  f.writeFont(n.font);
  f.writeColor(n.textColour);
  f.writeStrings(n.lines);
  f.writeColor(n.backColour);
  for (uint16_t word : {n.width, n.height, n.left, n.top}) f.writeWord(word);
  f.writeString(n.fileName);
  f.writeString(n.storeName);
  f.writeDateTime(n.alarm);
  for (bool flag : n.flags) f.writeBool(flag);
  f.writeString(n.subject);
  f.writeString(n.mailTo);
  f.writeStrings(n.recipients);
  for (int i = 0; i < 10; ++i) f.writeByte(0);
}

NoteLike Read(TQuorFile& f) {
  NoteLike n;
  f.readByte();
  n.font = f.readFont();
  n.textColour = f.readColor();
  f.readStrings(n.lines);
  n.backColour = f.readColor();
  for (uint16_t* word : {&n.width, &n.height, &n.left, &n.top}) *word = f.readWord();
  n.fileName = f.readString();
  n.storeName = f.readString();
  n.alarm = f.readDateTime();
  for (bool& flag : n.flags) flag = f.readBool();
  n.subject = f.readString();
  n.mailTo = f.readString();
  f.readStrings(n.recipients);
  for (int i = 0; i < 10; ++i) f.readByte();
  return n;
}

enum class Outcome { kRead, kTypeError, kShortFile, kConversionError };

Outcome ReadBack(const std::string& path) {
  TQuorFile file(path, LocalePictures{});
  file.OpenRead();
  try {
    Read(file);
    return Outcome::kRead;
  } catch (const EQuorFileError&) {
    return Outcome::kTypeError;
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.code(), io_code::kReadBeyondEnd) << error.what();
    return Outcome::kShortFile;
  } catch (const EConvertError&) {
    return Outcome::kConversionError;
  }
}

class DamagedFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    TQuorFile file(path_, LocalePictures{});
    file.OpenWrite();
    const NoteLike note;
    Write(file, note);
    file.Close();
    valid_ = ReadWholeFile(path_);
  }

  ScratchFolder folder_;
  std::string path_ = folder_.file("damaged.kli");
  std::string valid_;
};

TEST_F(DamagedFiles, EveryCutReadsBeyondTheEnd) {
  TQuorFile whole(path_, LocalePictures{});
  whole.OpenRead();
  const NoteLike expected;
  EXPECT_EQ(Read(whole), expected);
  whole.Close();

  for (std::size_t cut = 0; cut < valid_.size(); ++cut) {
    WritePlainFile(path_, valid_.substr(0, cut));
    EXPECT_EQ(ReadBack(path_), Outcome::kShortFile) << "cut at " << cut;
  }
}

TEST_F(DamagedFiles, RandomMutationsEndInTheRecordFilesOwnErrors) {
  std::mt19937 random(20261206);
  int seen[4] = {};
  for (int round = 0; round < 3000; ++round) {
    std::string bytes = valid_;
    const int changes = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < changes; ++i) {
      const std::size_t at = random() % bytes.size();
      switch (random() % 4) {
        case 0: bytes[at] = static_cast<char>(random()); break;
        case 1: bytes[at] ^= static_cast<char>(1u << (random() % 8)); break;
        case 2: bytes.erase(at, 1 + random() % 8); break;
        default: bytes.insert(at, 1 + random() % 4, static_cast<char>(random() % 10)); break;
      }
      if (bytes.empty()) bytes.assign(1, '\x04');
    }
    WritePlainFile(path_, bytes);
    try {
      ++seen[static_cast<int>(ReadBack(path_))];
    } catch (const std::exception& error) {
      ADD_FAILURE() << "round " << round << ": unexpected " << error.what();
    }
  }
  // The mutations reach every way of failing, so the loop above really tested them.
  EXPECT_GT(seen[static_cast<int>(Outcome::kRead)], 0);
  EXPECT_GT(seen[static_cast<int>(Outcome::kTypeError)], 0);
  EXPECT_GT(seen[static_cast<int>(Outcome::kShortFile)], 0);
  EXPECT_GT(seen[static_cast<int>(Outcome::kConversionError)], 0);
}

}  // namespace
