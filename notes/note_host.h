#pragma once
// What a note needs of the controller. The program has exactly one controller; notes reach it
// through this process-wide reference, the one piece of global mutable state the program has
// (a note window is created by the note list and has no other path back to its owner). Tests
// attach a fake host.
#include <string>

class TTFoglio;
namespace win {
class PrinterSetup;
}

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
  // The printer every note prints on; the printer setup of one note holds for all of them.
  virtual win::PrinterSetup& Printer() = 0;
  // Saving while the user works. Something the store file holds changed: the note is written
  // a moment after its last change. It was hidden: written at once. It is closed or its
  // window goes: nothing is written for it any more.
  virtual void NoteChanged(TTFoglio& note) = 0;
  virtual void NoteHidden(TTFoglio& note) = 0;
  virtual void NoteGone(TTFoglio& note) = 0;

 protected:
  ~NoteHost() = default;
};

// The attached controller; throws std::logic_error when none is attached.
NoteHost& Controller();
// The attached controller, or null (a note that goes after the controller let go of the notes).
NoteHost* AttachedController();
// nullptr detaches (the controller does so in its close sequence, after the notes are gone).
void AttachController(NoteHost* host);

// The controller's SuspendNotes for one scope: ResumeNotes runs however the scope ends, so a
// dialog that fails part-way never leaves the notes hidden and the tray deaf.
class NoteSuspension {
 public:
  NoteSuspension() { Controller().SuspendNotes(); }
  NoteSuspension(const NoteSuspension&) = delete;
  NoteSuspension& operator=(const NoteSuspension&) = delete;
  ~NoteSuspension();
};
