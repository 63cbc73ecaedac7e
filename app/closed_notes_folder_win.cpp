#include "app/closed_notes_folder.h"

#include <windows.h>

#include <stdexcept>

#include "app/closed_notes.h"
#include "notes/note_file.h"
#include "notes/note_store.h"
#include "notes/store_name.h"
#include "storage/file_io.h"
#include "storage/os_file.h"

namespace {

void Move(const std::string& from, const std::string& to) {
  if (!os_file::MoveWithoutReplacing(from, to))
    throw std::runtime_error("Cannot move " + from + " to " + to + " (error " + std::to_string(GetLastError()) + ")");
}

void MoveIfThere(const std::string& from, const std::string& to) {
  if (FileExists(from)) Move(from, to);
}

}  // namespace

std::string ClosedNotesFolder::Keep(const std::string& storePath, QDateTime now) {
  os_file::CreateFolder(folder_);
  // Two notes closed in the same millisecond with the same store name: the later one waits.
  std::string name = ClosedNoteName(now, FileNamePart(storePath));
  for (int step = 1; FileExists(folder_ + "\\" + name); ++step)
    name = ClosedNoteName(now + step / 86400000.0, FileNamePart(storePath));
  Move(storePath, folder_ + "\\" + name);
  // The whole text of a note too long for its file goes with it.
  MoveIfThere(NoteStore::FullTextPath(storePath), NoteStore::FullTextPath(folder_ + "\\" + name));
  return name;
}

std::vector<ClosedNoteEntry> ClosedNotesFolder::Tidy(QDateTime now) {
  const ClosedNotesPlan plan = PlanClosedNotes(os_file::FileNamesIn(folder_), now);
  for (const std::string& name : plan.Remove) {
    DeleteFileIfPresent(folder_ + "\\" + name);
    DeleteFileIfPresent(NoteStore::FullTextPath(folder_ + "\\" + name));
  }
  std::vector<ClosedNoteEntry> menu;
  for (const std::string& name : plan.Menu) {
    NoteData note;
    int itemsRead = 0;
    try {
      LoadNoteFile(folder_ + "\\" + name, note, itemsRead);
    } catch (const std::exception&) {
      // What was read before the damage still names the note, when the text was among it.
    }
    menu.push_back({name, itemsRead >= 4 ? ClosedNoteCaption(note.Lines) : name});
  }
  return menu;
}

std::string ClosedNotesFolder::TakeBack(const std::string& name, const std::string& notesFolder,
                                        const std::function<uint32_t()>& random) {
  std::string storeName = StoreNameOf(name);
  if (FileExists(notesFolder + storeName)) storeName = NewStoreName(notesFolder, FileExists, random);
  Move(folder_ + "\\" + name, notesFolder + storeName);
  MoveIfThere(NoteStore::FullTextPath(folder_ + "\\" + name), NoteStore::FullTextPath(notesFolder + "\\" + storeName));
  return storeName;
}
