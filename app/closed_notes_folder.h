#pragma once
// The folder of closed notes on the disk (rules: app/closed_notes.h). Win32.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "storage/date_time.h"

struct ClosedNoteEntry {
  std::string Name;     // the file's name in the folder
  std::string Caption;  // for the menu: the note's first line
};

class ClosedNotesFolder {
 public:
  explicit ClosedNotesFolder(std::string folder) : folder_(std::move(folder)) {}
  const std::string& Folder() const { return folder_; }

  // Moves a closed note's store file into the folder (made when missing) under the name that
  // tells when it was closed, and returns that name. Throws std::runtime_error when the file
  // cannot be moved; the store file then stays where it was.
  std::string Keep(const std::string& storePath, QDateTime now);

  // Removes what the keep rules let go at `now` and returns what the menu offers, newest
  // first. A note whose file cannot be read is offered by its name.
  std::vector<ClosedNoteEntry> Tidy(QDateTime now);

  // Moves the closed note `name` back into `notesFolder` under the store name it had, or a new
  // one (`random` draws it) when an open note has taken that name meanwhile. Returns the store
  // name ("\123.kli") the note must take: its file may still hold the old one. Throws
  // std::runtime_error when the file cannot be moved.
  std::string TakeBack(const std::string& name, const std::string& notesFolder,
                       const std::function<uint32_t()>& random);

 private:
  std::string folder_;
};
