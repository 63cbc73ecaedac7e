#pragma once
// What a note needs of its owner, the controller: the note list hands it to every note it makes.
// Tests give the notes a fake.
#include <span>
#include <string>

#include "notes/note_reach.h"

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
  // `editing` starts editing: every other note switches to its display.
  virtual void EndNoteEditing(TTFoglio& editing) = 0;
  virtual bool DeleteToRecycleBin() const = 0;
  // A closed note's store file, written as the note was: kept for a while among the closed notes,
  // so that it can come back. Throws when it cannot be kept; the note then deletes it.
  virtual void KeepClosedNote(const std::string& storePath) = 0;
  // A store file could not be read and went aside as `asidePath`; `message` says why.
  virtual void StoreDamaged(const std::string& asidePath, const std::string& message) = 0;
  // True when another open note than `asking` already uses this store file name.
  virtual bool StoreNameInUse(const std::string& storeName, const TTFoglio* asking) const = 0;
  // The monitors' work areas a note must be reachable on; the controller reads them again when
  // the displays change.
  virtual std::span<const ScreenArea> WorkAreas() const = 0;
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

// SuspendNotes for one scope: ResumeNotes runs however the scope ends, so a dialog that fails
// part-way never leaves the notes hidden and the tray deaf.
class NoteSuspension {
 public:
  explicit NoteSuspension(NoteHost& host) : host_(host) { host_.SuspendNotes(); }
  NoteSuspension(const NoteSuspension&) = delete;
  NoteSuspension& operator=(const NoteSuspension&) = delete;
  ~NoteSuspension();

 private:
  NoteHost& host_;
};
