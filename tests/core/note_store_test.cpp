// A note's store file: written with the whole text beside it when the text does not fit, written
// again only when changed, put aside when damaged, named so that two notes never share one.
#include "notes/note_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
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
  // A file saved from another note names that note's store; a copied file names its original:
  // a note takes only the spelling of its own name.
  for (const auto& [own, stored, kept] : {std::tuple{"\\5.kli", "5.KLI", "5.KLI"}, {"5.kli", "/\\5.kli", "/\\5.kli"},
                                          {"\\3.kli", "\\77.kli", "\\3.kli"}, {"copy.kli", "\\12.kli", "copy.kli"}}) {
    NoteStore store("C:\\cache", own);
    store.TakeSpelling(stored);
    EXPECT_EQ(store.Name(), kept) << own << " " << stored;
  }
  for (const auto& [note, beside] : {std::pair{"C:\\p\\cache\\\\5.kli", "C:\\p\\cache\\\\5-full-text.txt"},
                                     {"C:\\docs\\Todo.KLI.bak", "C:\\docs\\Todo-full-text.txt"},
                                     {"plain", "plain-full-text.txt"}}) {
    EXPECT_EQ(NoteStore::FullTextPath(note), beside);
    EXPECT_FALSE(IsNoteFilePath(beside));
  }
  EXPECT_EQ(NoteStore("C:\\p\\cache", "\\5.kli").Path(), "C:\\p\\cache\\\\5.kli");

  // A fresh name is neither a file of the folder nor one another open note holds.
  const ScratchFolder scratch;
  // Natively the backslash is a character of the name: the files stay in the scratch folder.
  std::filesystem::create_directories(scratch.file("cache"));
  WritePlainFile(scratch.file("cache") + "\\0.kli", "taken by a file");
  const uint32_t draws[] = {0u, 0x80000000u, 0xFFFFFFFFu};
  size_t next = 0;
  NoteStore fresh(scratch.file("cache"), "");
  fresh.TakeFreshName([](const std::string& name) { return name == "\\499999.kli"; }, [&] { return draws[next++]; });
  EXPECT_EQ(fresh.Name(), "\\999998.kli");
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
  // Another note file is written, but is not what the store file holds.
  store.Save(scratch.file("other.kli"), TextNote({"other"}), wholeText);
  EXPECT_FALSE(store.SaveIfChanged(TextNote({"changed"}), wholeText));
  store.Remember(TextNote({"read back"}));
  EXPECT_TRUE(store.SaveIfChanged(TextNote({"changed"}), wholeText));
}

TEST(NoteStore, TextThatDoesNotFitIsKeptWholeBesideTheFileUntilItFits) {
  const ScratchFolder scratch;
  NoteStore store(scratch.file("cache"), "\\5.kli");
  std::string text;
  std::vector<std::string> lines;
  for (int i = 1; i <= 300; ++i) text += lines.emplace_back("line " + std::to_string(i)) + "\r\n";
  const std::string beside = NoteStore::FullTextPath(store.Path());
  for (const auto& tooLong : {lines, std::vector<std::string>{std::string(256, 'x')}}) {
    store.Save(store.Path(), TextNote(tooLong), [&] { return text; });
    EXPECT_EQ(store.WholeTextBeside(1 << 20), text);
    EXPECT_EQ(store.WholeTextBeside(text.size() - 1), std::nullopt) << "more than the edit box takes";
  }
  store.Save(store.Path(), TextNote({"short now"}), [&] { return text; });
  EXPECT_FALSE(FileExists(beside));
  store.Save(store.Path(), TextNote(lines), [&] { return text; });
  store.Delete();
  EXPECT_FALSE(FileExists(store.Path()));
  EXPECT_FALSE(FileExists(beside)) << "the whole text goes with the note";
}

TEST(NoteStore, DamagedFilesGoAsideUnderNamesNoOtherFileHas) {
  const ScratchFolder scratch;
  std::filesystem::create_directories(scratch.file("cache"));
  NoteStore store(scratch.file("cache"), "7.kli");
  WritePlainFile(store.Path(), "damaged");
  WritePlainFile(store.Path() + ".damaged", "an older damaged file");
  EXPECT_EQ(store.PutDamagedAside(), store.Path() + ".2.damaged");
  EXPECT_EQ(ReadWholeFile(store.Path() + ".damaged"), "an older damaged file");
  EXPECT_EQ(ReadWholeFile(store.Path() + ".2.damaged"), "damaged");
  EXPECT_EQ(store.PutDamagedAside(), "") << "nothing left to put aside";
}

}  // namespace
