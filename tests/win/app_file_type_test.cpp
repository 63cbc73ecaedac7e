// The association of ".kli" files in Wine's registry: made when missing, never changed after.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/file_type.h"
#include "win/registry.h"

namespace {

// A root of its own under the current user, so tests never touch the real classes root that
// a running qkli (end-to-end tests) uses at the same time.
class FileTypeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = "Software\\QkliTests\\FileType" + std::to_string(GetCurrentProcessId());
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root_,
                              nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(root_);
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
  }
  std::string Value(const std::string& key) const {
    auto opened = win::RegistryKey::Open(root_, key);
    if (!opened) return "<no key>";
    return opened.readString("").value_or("<no value>");
  }

  std::string path_;
  HKEY root_ = nullptr;
};

}  // namespace

TEST_F(FileTypeTest, CreatesTheWholeAssociationWhenNothingIsThere) {
  RegisterFileType("c:\\program files\\qkli\\qkli.exe", root_);
  EXPECT_EQ(Value(".kli"), "Quor K-lI pro");
  EXPECT_EQ(Value("Quor K-lI pro\\DefaultIcon"), "c:\\program files\\qkli\\qkli.exe,0");
  EXPECT_TRUE(win::RegistryKey::Exists(root_, "Quor K-lI pro\\Shell"));
  EXPECT_TRUE(win::RegistryKey::Exists(root_, "Quor K-lI pro\\Shell\\Open"));
  // Quoted: a blank in the program's path or in a note's path must not split the arguments.
  EXPECT_EQ(Value("Quor K-lI pro\\Shell\\Open\\Command"), "\"c:\\program files\\qkli\\qkli.exe\" \"%1\"");
}

TEST_F(FileTypeTest, ExistingKeysAreNeverUpdated) {
  RegisterFileType("c:\\old\\qkli.exe", root_);
  win::RegistryKey::Open(root_, ".kli", true).writeString("", "SomeOtherEditor");
  RegisterFileType("c:\\new\\qkli.exe", root_);
  EXPECT_EQ(Value(".kli"), "SomeOtherEditor");
  EXPECT_EQ(Value("Quor K-lI pro\\DefaultIcon"), "c:\\old\\qkli.exe,0");

  // Only the missing part comes back: ".kli" again, the type as it was.
  RegDeleteTreeA(root_, ".kli");
  RegisterFileType("c:\\new\\qkli.exe", root_);
  EXPECT_EQ(Value(".kli"), "Quor K-lI pro");
  EXPECT_EQ(Value("Quor K-lI pro\\Shell\\Open\\Command"), "\"c:\\old\\qkli.exe\" \"%1\"");

  // A type key that exists but is empty is left alone too: the user's own association.
  RegDeleteTreeA(root_, "Quor K-lI pro");
  win::RegistryKey::Create(root_, "Quor K-lI pro");
  RegisterFileType("c:\\new\\qkli.exe", root_);
  EXPECT_FALSE(win::RegistryKey::Exists(root_, "Quor K-lI pro\\DefaultIcon"));
}
