#pragma once
// The open notes, in the order they were made, with one current index. The list owns the
// note windows: it makes them (each with the controller as its host), deletes them one by one,
// carries out what the controller does to every note at once, and closes the rest when it goes.
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "notes/note_reach.h"

class NoteHost;
class TTFoglio;
class TQuorSkin;

class EQuorListError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TQuorLista {
 public:
  explicit TQuorLista(NoteHost& host);
  TQuorLista(const TQuorLista&) = delete;
  TQuorLista& operator=(const TQuorLista&) = delete;
  // Closes the notes from the first on; each note that is not Closed saves itself.
  ~TQuorLista();

  int Count() const { return static_cast<int>(notes_.size()); }
  int CurrentIndex() const { return current_; }
  // The note at the current index (the controller reads it right after an add).
  TTFoglio& Current() const { return Note(current_); }
  // Throws EQuorListError "TQuorList.form(index):tFoglio: out of index" outside 0..Count-1.
  TTFoglio& Note(int index) const;
  // Closes the note (its store file goes) and removes it; the notes after it move down.
  // Throws EQuorListError "TQuorList.delete(index):tFoglio:Out of index" outside 0..Count-1.
  void Delete(int index);
  // A new note: a store name of its own in the notes folder; hidden. Returns its index.
  int AddNew(TQuorSkin& skin, bool showInTrayArea, bool insertDateTime);
  // A note read from `folder` + "\" + `fileName`; both empty make a new note. Hidden, keeping
  // the visibility its file stored for the controller to apply. Returns the note itself:
  // anything that runs while it is read (an error box) may add notes after it.
  TTFoglio& AddFromFile(TQuorSkin& skin, const std::string& fileName, const std::string& folder);

  // True when a note other than `except` that is still open keeps its store in `storeName`
  // (compared as the notes folder's file names are, with or without the leading backslash).
  bool UsesStoreName(const std::string& storeName, const TTFoglio* except) const;

  // What the controller does to every note at once, visiting them from index 0 up. Each ends
  // the editing of the notes once, at its end, not once per note.
  // Shows or hides every note; a Closed note is never shown again.
  void SetAllVisible(bool visible);
  void SetAllOnTop(bool on);
  // Moves every note to its cascade position on a screen `screenWidth` wide.
  void Cascade(int screenWidth);
  // Deletes every note; their store files go with them.
  void CloseAll();
  // Hides every note, remembering its visibility, while a modal dialog is open; and gives each
  // back what it had (a shown note gets the focus in its text box).
  void Suspend();
  void Resume();
  // Every shown note within reach on `workAreas` (notes/note_reach.h).
  void KeepWithinReach(std::span<const ScreenArea> workAreas);
  // Every open note but `editing` whose text box shows switches to its display.
  void EndEditing(const TTFoglio* editing = nullptr);

 private:
  class BulkScope;
  TTFoglio& Append(std::unique_ptr<TTFoglio> note);

  NoteHost& host_;
  std::vector<std::unique_ptr<TTFoglio>> notes_;
  int current_ = 0;
  // While a bulk operation runs: the last note that started editing, whose request to end the
  // editing of the others waits for the operation's end. Only compared, never followed: the
  // operation may have closed it.
  int bulk_ = 0;
  bool editingAsked_ = false;
  const TTFoglio* lastEditing_ = nullptr;
};
