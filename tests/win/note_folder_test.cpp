// Note files in the notes folder whatever their names: found, read and written again by the
// program's ANSI calls under their own names.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>

#include "app/note_folder.h"
#include "notes/note_file.h"
#include "storage/file_io.h"

namespace {

class NotesFolder : public ::testing::Test {
 protected:
  NotesFolder() { std::filesystem::create_directories(folder_); }
  ~NotesFolder() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  std::string Path(const std::string& name) const { return folder_.string() + "\\" + name; }
  // Through the wide calls (std::filesystem), as the ANSI ones cannot name these files.
  void Write(const std::wstring& name, const std::string& bytes) const {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
  }
  std::string Read(const std::wstring& name) const {
    std::ifstream file(folder_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }
  std::set<std::wstring> Content() const {
    std::set<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) names.insert(entry.path().filename());
    return names;
  }

  std::filesystem::path folder_ =
      std::filesystem::temp_directory_path() / ("qkli-names-" + std::to_string(std::random_device()()));
};

TEST_F(NotesFolder, ANameOutsideTheCodePageIsFoundReadAndWrittenBackUnderItself) {
  const std::wstring wide = L"a-uni-\U0001F600-\u540D.kli";
  NoteData note;
  note.Lines = {"written elsewhere"};
  SaveNoteFile(Path("b-plain.kli"), note, LocalePictures{});
  Write(wide, ReadWholeFile(Path("b-plain.kli")));

  const std::vector<std::string> names = NoteFileNames(folder_.string());
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[1], "b-plain.kli");  // an ordinary name comes as it is, after "a-..."
  NoteData loaded;
  int itemsRead = 0;
  LoadNoteFile(Path(names[0]), loaded, itemsRead, LocalePictures{});
  EXPECT_EQ(loaded.Lines, note.Lines);

  loaded.Lines = {"written again"};
  SaveNoteFile(Path(names[0]), loaded, LocalePictures{});
  SaveNoteFile(Path("b-plain.kli"), loaded, LocalePictures{});
  EXPECT_EQ(Read(wide), ReadWholeFile(Path("b-plain.kli")));
  EXPECT_EQ(Content(), (std::set<std::wstring>{wide, L"b-plain.kli"}));
}

TEST_F(NotesFolder, ANoteWithNoNameInTheCodePageIsRenamedBesideTakenNames) {
  Write(L"\u0100-\u540D.kli", "note");  // "Ā" becomes "_", not a look-alike "A"
  Write(L"_-_.kli", "another note");
  EXPECT_EQ(GiveAnsiName(folder_.string(), L"\u0100-\u540D.kli"), "_-_-2.kli");
  EXPECT_EQ(Read(L"_-_-2.kli"), "note");
  EXPECT_EQ(Content(), (std::set<std::wstring>{L"_-_.kli", L"_-_-2.kli"}));
}

}  // namespace
