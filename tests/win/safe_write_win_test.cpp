// The safe write against Windows' sharing rules: a target that another process holds open
// (as a virus scanner briefly does) is replaced once it lets go, and otherwise left alone.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "storage/file_io.h"
#include "storage/record_file.h"

namespace {

class HeldOpen {
 public:
  explicit HeldOpen(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~HeldOpen() { release(); }
  HeldOpen(const HeldOpen&) = delete;
  HeldOpen& operator=(const HeldOpen&) = delete;
  bool held() const { return handle_ != INVALID_HANDLE_VALUE; }
  void release() {
    if (held()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

class SafeWriteSharing : public ::testing::Test {
 protected:
  SafeWriteSharing() {
    std::random_device random;
    folder_ = std::filesystem::temp_directory_path() / ("qkli-sharing-" + std::to_string(random()));
    std::filesystem::create_directories(folder_);
    target_ = (folder_ / "note.kli").string();
    WriteFileAtomically(target_, "old");
  }
  ~SafeWriteSharing() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  std::filesystem::path folder_;
  std::string target_;
};

TEST_F(SafeWriteSharing, ATargetHeldOpenForAMomentIsReplacedWhenReleased) {
  HeldOpen scanner(target_);
  ASSERT_TRUE(scanner.held());
  std::thread letGo([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(80));
    scanner.release();
  });
  TQuorFile file(target_, LocalePictures{});
  file.OpenWrite();
  file.writeByte(50);
  EXPECT_NO_THROW(file.Close());
  letGo.join();
  EXPECT_EQ(ReadWholeFile(target_), std::string("\x04\x32", 2));
  EXPECT_FALSE(FileExists(TemporaryPathFor(target_)));
}

TEST_F(SafeWriteSharing, ATargetHeldOpenThroughoutStaysAsItWas) {
  HeldOpen scanner(target_);
  ASSERT_TRUE(scanner.held());
  TQuorFile file(target_, LocalePictures{});
  file.OpenWrite();
  file.writeByte(50);
  try {
    file.Close();
    ADD_FAILURE() << "replaced a file that was held open";
  } catch (const EInOutError& error) {
    EXPECT_TRUE(error.code() == ERROR_ACCESS_DENIED || error.code() == ERROR_SHARING_VIOLATION) << error.code();
  }
  scanner.release();
  EXPECT_EQ(ReadWholeFile(target_), "old");
  EXPECT_FALSE(FileExists(TemporaryPathFor(target_)));
}

}  // namespace
