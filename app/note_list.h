#pragma once
// The open notes, in the order they were made, with one current index. The list owns the
// note windows: it makes them, deletes them one by one, and closes the rest when it goes.
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class TTFoglio;
class TQuorSkin;

class EQuorListError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TQuorLista {
 public:
  TQuorLista();
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
  // A note read from `folder` + "\" + `fileName`; both empty make a new note. Hidden. Returns the
  // note itself: anything that runs while it is read (an error box) may add notes after it.
  TTFoglio& AddFromFile(TQuorSkin& skin, const std::string& fileName, const std::string& folder);

  // True when a note other than `except` that is still open keeps its store in `storeName`
  // (compared as Windows compares file names, with or without the leading backslash).
  bool UsesStoreName(const std::string& storeName, const TTFoglio* except) const;

 private:
  TTFoglio& Append(std::unique_ptr<TTFoglio> note);
  std::vector<std::unique_ptr<TTFoglio>> notes_;
  int current_ = 0;
};
