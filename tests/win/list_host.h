#pragma once
// A controller stand-in for notes made by a note list: it answers the notes from the list and
// asks nothing of the user.
#include <string>

#include "app/note_list.h"
#include "notes/note_host.h"
#include "storage/file_io.h"
#include "win/printer.h"

class ListHost final : public NoteHost {
 public:
  void OpenNoteFile(const std::string&) override {}
  void SuspendNotes() override {}
  void ResumeNotes() override {}
  void EndNoteEditing(TTFoglio& editing) override { notes->EndEditing(&editing); }
  bool DeleteToRecycleBin() const override { return false; }
  void KeepClosedNote(const std::string& storePath) override { DeleteFileIfPresent(storePath); }
  void StoreDamaged(const std::string&, const std::string&) override {}
  bool StoreNameInUse(const std::string& storeName, const TTFoglio* asking) const override {
    return notes->UsesStoreName(storeName, asking);
  }
  win::PrinterSetup& Printer() override { return printer_; }
  // Tests place their notes anywhere; the notes within reach are the controller's business.
  std::span<const ScreenArea> WorkAreas() const override { return {&kEverywhere, 1}; }
  static constexpr ScreenArea kEverywhere{-32768, -32768, 32767, 32767};
  void NoteChanged(TTFoglio&) override {}
  void NoteHidden(TTFoglio&) override {}
  void NoteGone(TTFoglio&) override {}

  TQuorLista* notes = nullptr;  // set once the list is made with this host

 private:
  win::PrinterSetup printer_;
};
