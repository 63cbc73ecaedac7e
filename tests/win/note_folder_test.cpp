// Note files in the notes folder whatever their names: found, read and written again by the
// program's ANSI calls, and none replaced by an empty stand-in when it cannot be opened.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <random>
#include <set>
#include <string>

#include "app/note_folder.h"
#include "notes/note_file.h"
#include "storage/file_io.h"
#include "storage/io_error.h"

namespace {

class NotesFolder : public ::testing::Test {
 protected:
  NotesFolder() {
    std::random_device random;
    folder_ = std::filesystem::temp_directory_path() / ("qkli-names-" + std::to_string(random()));
    std::filesystem::create_directories(folder_);
  }
  ~NotesFolder() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  std::string Path(const std::string& name) const { return folder_.string() + "\\" + name; }
  std::wstring WidePath(const std::wstring& name) const { return folder_.wstring() + L"\\" + name; }

  void WriteWide(const std::wstring& name, const std::string& bytes) const {
    const HANDLE file = CreateFileW(WidePath(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
  }

  std::string ReadWide(const std::wstring& name) const {
    const HANDLE file =
        CreateFileW(WidePath(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "(cannot open)";
    std::string bytes(4096, '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
  }

  std::set<std::wstring> FolderContent() const {
    std::set<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) names.insert(entry.path().filename().wstring());
    return names;
  }

  // The bytes of a note file holding `note`.
  std::string NoteBytes(const NoteData& note) const {
    const std::string scratch = Path("scratch.tmp");
    SaveNoteFile(scratch, note, LocalePictures{});
    std::string bytes = ReadWholeFile(scratch);
    DeleteFileA(scratch.c_str());
    return bytes;
  }

  std::filesystem::path folder_;
};

const std::wstring kWideName = L"a-uni-\U0001F600-\u540D.kli";

TEST_F(NotesFolder, ANameOutsideTheCodePageIsFoundReadAndWrittenBackUnderItself) {
  NoteData note;
  note.Lines = {"written elsewhere"};
  WriteWide(kWideName, NoteBytes(note));
  SaveNoteFile(Path("b-plain.kli"), note, LocalePictures{});

  const std::vector<std::string> names = NoteFileNames(folder_.string());
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[1], "b-plain.kli");  // an ordinary name comes as it is, after "a-..."

  NoteData loaded;
  int itemsRead = 0;
  LoadNoteFile(Path(names[0]), loaded, itemsRead, LocalePictures{});
  EXPECT_EQ(loaded.Lines, note.Lines);

  loaded.Lines = {"written again"};
  SaveNoteFile(Path(names[0]), loaded, LocalePictures{});
  EXPECT_EQ(ReadWide(kWideName), NoteBytes(loaded));
  EXPECT_EQ(FolderContent(), (std::set<std::wstring>{kWideName, L"b-plain.kli"}));
}

TEST_F(NotesFolder, ANoteWithNoNameInTheCodePageIsRenamedBesideTakenNames) {
  const std::wstring name = L"\u0100-\u540D.kli";  // "Ā" must not become a look-alike "A"
  WriteWide(name, "note bytes");
  WriteWide(L"_-_.kli", "another note");
  EXPECT_EQ(GiveAnsiName(folder_.string(), name), "_-_-2.kli");
  EXPECT_EQ(ReadWide(L"_-_-2.kli"), "note bytes");
  EXPECT_EQ(ReadWide(L"_-_.kli"), "another note");
  EXPECT_EQ(FolderContent(), (std::set<std::wstring>{L"_-_.kli", L"_-_-2.kli"}));
}

TEST_F(NotesFolder, AFileAnotherProgramHoldsIsReportedBeforeANoteIsBuiltOnIt) {
  WriteWide(L"held.kli", "note bytes");
  const HANDLE holder =
      CreateFileW(WidePath(L"held.kli").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  try {
    RequireReadableFile(Path("held.kli"));
    ADD_FAILURE() << "a file held without sharing was taken as readable";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.code(), ERROR_SHARING_VIOLATION);
  }
  CloseHandle(holder);
  EXPECT_NO_THROW(RequireReadableFile(Path("held.kli")));
}

}  // namespace
