// A note's store file: written with the whole text beside it when the text does not fit, written
// again only when changed, put aside when damaged, named so that two notes never share one.
#include "notes/note_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "notes/note_file.h"
#include "storage/file_io.h"
#include "tests/core/scratch_folder.h"

namespace {

NoteData TextNote(std::vector<std::string> lines) {
  NoteData note;
  note.Lines = std::move(lines);
  return note;
}

TEST(NoteStore, NamesAndPaths) {
  struct Row {
    const char* storeName;
    const char* key;
  };
  for (const Row& row : {Row{"\\5.kli", "5.kli"}, Row{"5.KLI", "5.kli"}, Row{"/\\Copy.Kli", "copy.kli"}, Row{"\\", ""}})
    EXPECT_EQ(StoreFileKey(row.storeName), row.key) << row.storeName;

  struct TextRow {
    const char* notePath;
    const char* beside;
  };
  for (const TextRow& row : {TextRow{"C:\\p\\cache\\\\5.kli", "C:\\p\\cache\\\\5-full-text.txt"},
                             TextRow{"C:\\docs\\Todo.KLI.bak", "C:\\docs\\Todo-full-text.txt"},
                             TextRow{"plain", "plain-full-text.txt"}}) {
    EXPECT_EQ(NoteStore::FullTextPath(row.notePath), row.beside);
    EXPECT_FALSE(IsNoteFilePath(NoteStore::FullTextPath(row.notePath)));
  }
  EXPECT_EQ(NoteStore("C:\\p\\cache", "\\5.kli").Path(), "C:\\p\\cache\\\\5.kli");
}

TEST(NoteStore, TakesOnlyTheSpellingOfItsOwnName) {
  struct Row {
    const char* own;
    const char* stored;
    const char* kept;
  };
  // A file saved from another note names that note's store; a copied file names its original.
  for (const Row& row : {Row{"\\5.kli", "5.kli", "5.kli"}, Row{"5.kli", "\\5.KLI", "\\5.KLI"},
                         Row{"\\3.kli", "\\77.kli", "\\3.kli"}, Row{"copy.kli", "\\12.kli", "copy.kli"}}) {
    NoteStore store("C:\\cache", row.own);
    store.TakeSpelling(row.stored);
    EXPECT_EQ(store.Name(), row.kept) << row.own << " " << row.stored;
  }
}

TEST(NoteStore, FreshNamesAvoidFilesAndNamesOtherNotesHold) {
  const ScratchFolder scratch;
  // Natively the backslash is a character of the name: the files stay in the scratch folder.
  std::filesystem::create_directories(scratch.file("cache"));
  WritePlainFile(scratch.file("cache") + "\\0.kli", "taken by a file");
  const std::vector<uint32_t> draws = {0u, 0x80000000u, 0xFFFFFFFFu};
  size_t next = 0;
  std::vector<std::string> asked;
  NoteStore store(scratch.file("cache"), "");
  store.TakeFreshName(
      [&](const std::string& name) {
        asked.push_back(name);
        return name == "\\499999.kli";
      },
      [&] { return draws.at(next++); });
  EXPECT_EQ(store.Name(), "\\999998.kli");
  EXPECT_EQ(asked, (std::vector<std::string>{"\\499999.kli", "\\999998.kli"}));
}

TEST(NoteStore, WritesIntoAMissingFolderAndOnlyWhatChanged) {
  const ScratchFolder scratch;
  NoteStore store(scratch.file("notes/cache"), "\\5.kli");
  int wholeTextAsked = 0;
  const auto wholeText = [&] { return ++wholeTextAsked, std::string("kept"); };
  EXPECT_TRUE(store.SaveIfChanged(TextNote({"kept"}), wholeText));
  ASSERT_TRUE(FileExists(store.Path()));
  EXPECT_FALSE(store.SaveIfChanged(TextNote({"kept"}), wholeText));
  EXPECT_TRUE(store.SaveIfChanged(TextNote({"changed"}), wholeText));
  EXPECT_EQ(wholeTextAsked, 0) << "a text that fits the note file is not asked for";

  // Another note file: written, but not what the store file holds.
  store.Save(scratch.file("other.kli"), TextNote({"other"}), wholeText);
  EXPECT_FALSE(store.SaveIfChanged(TextNote({"changed"}), wholeText));
  store.Remember(TextNote({"read back"}));
  EXPECT_TRUE(store.SaveIfChanged(TextNote({"changed"}), wholeText));

  store.Delete();
  EXPECT_FALSE(FileExists(store.Path()));
}

TEST(NoteStore, TextThatDoesNotFitIsKeptWholeBesideTheFileUntilItFits) {
  const ScratchFolder scratch;
  NoteStore store(scratch.file("cache"), "\\5.kli");
  std::string text;
  std::vector<std::string> lines;
  for (int i = 1; i <= 300; ++i) {
    lines.push_back("line " + std::to_string(i));
    text += lines.back() + "\r\n";
  }
  const std::string beside = NoteStore::FullTextPath(store.Path());
  for (const std::vector<std::string>& tooLong :
       {lines, std::vector<std::string>{std::string(256, 'x')}}) {
    store.Save(store.Path(), TextNote(tooLong), [&] { return text; });
    EXPECT_EQ(ReadWholeFile(beside), text);
    EXPECT_EQ(store.WholeTextBeside(1 << 20), text);
    EXPECT_EQ(store.WholeTextBeside(text.size() - 1), std::nullopt) << "more than the edit box takes";
    NoteData saved;
    int items = 0;
    LoadNoteFile(store.Path(), saved, items);
    EXPECT_LE(saved.Lines.size(), 255u);
  }
  store.Save(store.Path(), TextNote({"short now"}), [&] { return text; });
  EXPECT_FALSE(FileExists(beside));
  EXPECT_EQ(store.WholeTextBeside(1 << 20), std::nullopt);

  store.Save(store.Path(), TextNote(lines), [&] { return text; });
  store.Delete();
  EXPECT_FALSE(FileExists(beside)) << "the whole text goes with the note";
}

TEST(NoteStore, DamagedFilesGoAsideUnderNamesNoOtherFileHas) {
  const ScratchFolder scratch;
  std::filesystem::create_directories(scratch.file("cache"));
  NoteStore store(scratch.file("cache"), "7.kli");
  WritePlainFile(store.Path(), "damaged");
  WritePlainFile(store.Path() + ".damaged", "an older damaged file");
  store.PutDamagedAside();
  EXPECT_FALSE(FileExists(store.Path()));
  EXPECT_EQ(ReadWholeFile(store.Path() + ".damaged"), "an older damaged file");
  EXPECT_EQ(ReadWholeFile(store.Path() + ".2.damaged"), "damaged");
  store.PutDamagedAside();  // nothing left to put aside
  EXPECT_FALSE(FileExists(store.Path() + ".3.damaged"));
}

}  // namespace
