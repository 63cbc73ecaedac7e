// Files dropped on a note: the first is read into it, the others open as notes of their own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "notes/dropped_files.h"

namespace {

struct DropCase {
  std::vector<std::string> dropped;
  std::string intoNote;  // empty: none
  std::vector<std::string> asNewNotes;
};

TEST(DroppedFiles, FirstIntoTheNoteTheOthersAsNewNotesInOrder) {
  const std::string longPath = "C:\\" + std::string(300, 'x') + ".txt";
  const DropCase cases[] = {
      {{}, "", {}},
      {{"C:\\one.kli"}, "C:\\one.kli", {}},
      {{"C:\\one.kli", "C:\\two.txt", "C:\\three.kli"}, "C:\\one.kli", {"C:\\two.txt", "C:\\three.kli"}},
      {{"C:\\a.kli", longPath}, "C:\\a.kli", {longPath}},
  };
  for (const DropCase& c : cases) {
    const DroppedFileRoute route = RouteDroppedFiles(c.dropped);
    EXPECT_EQ(route.IntoNote.value_or(""), c.intoNote);
    EXPECT_EQ(route.AsNewNotes, c.asNewNotes);
  }
}

}  // namespace
