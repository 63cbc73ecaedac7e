#pragma once
// What a note needs of the controller. The program has exactly one controller; notes reach it
// through this process-wide reference, the one piece of global mutable state the program has
// (a note window is created by the note list and has no other path back to its owner). Tests
// attach a fake host.
#include <string>

class TTFoglio;

class NoteHost {
 public:
  // A file dropped on a note opens as a note of its own.
  virtual void OpenNoteFile(const std::string& path) = 0;
  // Around every modal dialog a note opens: all notes hidden, tray clicks ignored.
  virtual void SuspendNotes() = 0;
  virtual void ResumeNotes() = 0;
  // A note that starts editing asks every other note to switch to its display.
  virtual void EndNoteEditing() = 0;
  virtual bool DeleteToRecycleBin() const = 0;
  // True when another open note than `asking` already uses this store file name.
  virtual bool StoreNameInUse(const std::string& storeName, const TTFoglio* asking) const = 0;

 protected:
  ~NoteHost() = default;
};

// The attached controller; throws std::logic_error when none is attached.
NoteHost& Controller();
// nullptr detaches (the controller does so in its close sequence, after the notes are gone).
void AttachController(NoteHost* host);
