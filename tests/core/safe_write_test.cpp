// Writes go to a temporary file and reach the target only through one rename after a flush:
// an abandoned or failed write leaves the old file as it was.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <utility>

#include "scratch_folder.h"
#include "storage/file_io.h"
#include "storage/record_file.h"

#if defined(__linux__)
#include <sys/resource.h>

#include <csignal>
#endif

namespace {

using namespace std::string_literals;

const std::string kOldNote("\x04\x31", 2);

class SafeWrite : public ::testing::Test {
 protected:
  void SetUp() override { WriteFileAtomically(target_, kOldNote); }

  ScratchFolder folder_;
  std::string target_ = folder_.file("note.kli");
  std::string temporary_ = TemporaryPathFor(target_);
};

TEST_F(SafeWrite, TheTargetChangesOnlyAtClose) {
  TQuorFile file(target_, LocalePictures{});
  file.OpenWrite();
  file.writeByte(50);
  file.writeString("new text");
  EXPECT_EQ(ReadWholeFile(target_), kOldNote);
  file.Close();
  EXPECT_EQ(ReadWholeFile(target_).substr(0, 2), "\x04\x32");
  EXPECT_FALSE(FileExists(temporary_));

  // A new file appears the same way.
  TQuorFile fresh(folder_.file("new.kli"), LocalePictures{});
  fresh.OpenWrite();
  EXPECT_FALSE(FileExists(folder_.file("new.kli")));
  fresh.writeBool(true);
  fresh.Close();
  EXPECT_EQ(ReadWholeFile(folder_.file("new.kli")), std::string("\x01\x01", 2));
}

TEST_F(SafeWrite, TheSameBytesAgainLeaveTheFileUntouched) {
  namespace fs = std::filesystem;
  // Whole seconds: not every file system keeps a finer time.
  const auto longAgo =
      std::chrono::floor<std::chrono::seconds>(fs::file_time_type::clock::now() - std::chrono::hours(48));
  fs::last_write_time(target_, longAgo);
  WriteFileAtomically(target_, kOldNote);
  EXPECT_EQ(fs::last_write_time(target_), longAgo);
  EXPECT_FALSE(FileExists(temporary_));
  for (const std::string& other : {"\x04\x32"s, kOldNote + "x"}) {
    WriteFileAtomically(target_, other);
    EXPECT_EQ(ReadWholeFile(target_), other);
    EXPECT_NE(fs::last_write_time(target_), longAgo);
    fs::last_write_time(target_, longAgo);
  }
}

TEST_F(SafeWrite, AnAbandonedWriteLeavesTheOldFile) {
  {
    TQuorFile file(target_, LocalePictures{});
    file.OpenWrite();
    for (int i = 0; i < 2000; ++i) file.writeString("more than one buffer of text, so some of it reached the disk");
  }  // destroyed without Close
  EXPECT_EQ(ReadWholeFile(target_), kOldNote);
  EXPECT_FALSE(FileExists(temporary_));

  TQuorFile reopened(target_, LocalePictures{});
  reopened.OpenWrite();
  reopened.writeByte(99);
  reopened.OpenRead();  // opening again drops the unfinished write
  EXPECT_EQ(reopened.readByte(), 0x31);
  EXPECT_FALSE(FileExists(temporary_));
}

TEST_F(SafeWrite, AFailedRenameLeavesTheTargetAndNoTemporary) {
  TQuorFile file(target_, LocalePictures{});
  file.OpenWrite();
  file.writeByte(50);
  // Something else puts a folder where the file was; the rename must fail, not half-succeed.
  std::filesystem::remove(target_);
  std::filesystem::create_directory(target_);
  std::filesystem::create_directory(target_ + "/inside");
  EXPECT_THROW(file.Close(), EInOutError);
  EXPECT_TRUE(std::filesystem::is_directory(target_ + "/inside"));
  EXPECT_FALSE(FileExists(temporary_));
  file.Close();  // nothing is left to fail
}

#if defined(__linux__)
// A file-size limit makes write() fail part-way as a full disk would.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) : oldSignal_(std::signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limited = old_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldSignal_);
  }

 private:
  rlimit old_{};
  void (*oldSignal_)(int);
};

TEST_F(SafeWrite, AFullDiskLeavesTheOldFileAndSaysSo) {
  TQuorFile file(target_, LocalePictures{});
  file.OpenWrite();
  try {
    const FileSizeLimit limit(100'000);
    for (int i = 0; i < 1000; ++i) file.writeString(std::string(255, 'z'));
    ADD_FAILURE() << "the writes did not fail";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.code(), io_code::kDiskFull);
    EXPECT_STREQ(error.what(), "Disk full");
  }
  EXPECT_FALSE(FileExists(temporary_));
  EXPECT_THROW(file.writeByte(1), EInOutError);  // the failure sticks
  try {
    file.Close();
    ADD_FAILURE() << "Close committed a failed write";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.code(), io_code::kDiskFull);
  }
  EXPECT_EQ(ReadWholeFile(target_), kOldNote);

  {
    const FileSizeLimit limit(10);
    EXPECT_THROW(WriteFileAtomically(target_, std::string(1000, 'w')), EInOutError);
  }
  EXPECT_EQ(ReadWholeFile(target_), kOldNote);
  EXPECT_FALSE(FileExists(temporary_));
}
#endif

TEST_F(SafeWrite, WholeFilesGoTheSameWay) {
  const std::string text = "line one\r\nline two\r\n\0binary\xFF"s;
  WriteFileAtomically(target_, text);
  EXPECT_EQ(ReadWholeFile(target_), text);
  WriteFileAtomically(target_, "");
  EXPECT_EQ(ReadWholeFile(target_), "");
  std::string large(300'000, '\0');
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 7919 % 251);
  WriteFileAtomically(target_, large);
  EXPECT_EQ(ReadWholeFile(target_), large);
  EXPECT_FALSE(FileExists(temporary_));
  EXPECT_THROW(WriteFileAtomically(folder_.file("missing/x.txt"), "x"), EInOutError);
}

TEST_F(SafeWrite, LeftoverTemporariesAreRecognisedAndOnlyTheyGo) {
  EXPECT_EQ(temporary_, target_ + ".tmp~");
  EXPECT_FALSE(temporary_.ends_with(".kli"));
  WriteFileAtomically(folder_.file("options.dat"), "settings");
  WriteFileAtomically(folder_.file("notes.txt"), "text");
  for (const char* leftover : {"note.kli.tmp~", "options.dat.tmp~", "other.kli.tmp~"})
    WriteFileAtomically(folder_.file(leftover), "half");
  std::filesystem::create_directory(folder_.file("folder.tmp~"));

  EXPECT_EQ(RemoveLeftoverTemporaries(folder_.path()), 3);
  EXPECT_FALSE(FileExists(folder_.file("note.kli.tmp~")));
  EXPECT_FALSE(FileExists(folder_.file("options.dat.tmp~")));
  EXPECT_EQ(ReadWholeFile(target_), kOldNote);
  EXPECT_TRUE(FileExists(folder_.file("options.dat")));
  EXPECT_TRUE(FileExists(folder_.file("notes.txt")));
  EXPECT_TRUE(std::filesystem::is_directory(folder_.file("folder.tmp~")));
  EXPECT_EQ(RemoveLeftoverTemporaries(folder_.path()), 0);
  EXPECT_EQ(RemoveLeftoverTemporaries(folder_.file("no-such-folder")), 0);
}

TEST_F(SafeWrite, FileExistsMeansAPlainFile) {
  EXPECT_TRUE(FileExists(target_));
  EXPECT_FALSE(FileExists(folder_.file("absent.kli")));
  EXPECT_FALSE(FileExists(folder_.path()));
  EXPECT_FALSE(FileExists(""));
}

TEST(FileNamePart, TakesWhatFollowsTheLastFolderOrDriveSeparator) {
  const std::pair<const char*, const char*> rows[] = {
      {"C:\\notes\\shop.kli", "shop.kli"}, {"C:/notes/shop.kli", "shop.kli"}, {"C:shop.kli", "shop.kli"},
      {"shop.kli", "shop.kli"}, {"C:\\notes\\", ""}, {"", ""},
  };
  for (const auto& [path, name] : rows) EXPECT_EQ(FileNamePart(path), name) << path;
}

}  // namespace
