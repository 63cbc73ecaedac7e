#pragma once
// A note's store file: the file in the notes folder that holds the note between runs. The note
// writes it a moment after each change and when it goes, reads it back at the next start, and
// deletes it when the user closes the note. A text too long for the note file is kept whole in
// a plain text file beside it. Portable: the window hands in its data and its text.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "notes/note_data.h"

// A store name as it names a file: without the leading separator, without regard to case.
std::string StoreFileKey(const std::string& storeName);

class NoteStore {
 public:
  // A restored note passes the notes folder and the name of the file found there; a new note
  // passes the folder and an empty name, then takes a fresh one.
  NoteStore(std::string folder, std::string name);

  const std::string& Folder() const { return folder_; }
  const std::string& Name() const { return name_; }
  // Folder + "\" + Name. A new note's name begins with "\" and is kept so: the doubled
  // separator names the same file.
  std::string Path() const;
  // Where the whole text of a note goes when it does not fit the note file written at `path`:
  // beside it, named so that it is neither taken for a note file nor restored as a note.
  static std::string FullTextPath(const std::string& path);

  // A new name from NewStoreName that no file in the folder has and that `heldByAnotherNote`
  // (an open note not yet written) does not claim.
  void TakeFreshName(const std::function<bool(const std::string& name)>& heldByAnotherNote,
                     const std::function<uint32_t()>& random);
  // A loaded note file names a store file. The note keeps the one it has: the name may belong
  // to another open note (a file saved from it) or be the stale name of a file copied into the
  // notes folder, and taking it would make two notes write one file, or leave this note's old
  // file behind to come back as a duplicate. Only the spelling of its own name is taken.
  void TakeSpelling(const std::string& storedName);

  // Writes `note` as a note file at `path`. When its lines do not fit the format, the whole text
  // goes beside it first, so that it exists whenever the note file holds a cut text. At Path()
  // the store's folder is made when missing, the data is remembered as stored, and a text beside
  // that is no longer needed goes.
  void Save(const std::string& path, const NoteData& note, const std::function<std::string()>& wholeText);
  // Save at Path() unless the store file already holds `note`; true when it wrote.
  bool SaveIfChanged(const NoteData& note, const std::function<std::string()>& wholeText);
  // The data read from the store file (or what a restored note made of it) is what it holds.
  void Remember(const NoteData& note) { stored_ = note; }

  // The store file read into `note` as LoadNoteFile does.
  void Load(NoteData& note, int& itemsRead) const;
  // A store file that cannot be read goes aside under a name "*.kli" does not match ("*.damaged"),
  // so that it is neither overwritten by the note's next save nor restored again as a note. The
  // note then takes a fresh name. Returns the path it went to (empty when it did not move).
  std::string PutDamagedAside() const;
  // The whole text kept beside the store file, when there is one of at most `capacity` bytes.
  std::optional<std::string> WholeTextBeside(uint64_t capacity);
  // The store file and the text beside it go; throws "Can't delete " + path when the file stays.
  void Delete() const;

 private:
  std::string folder_, name_;
  // What the store file holds, as far as this note knows: what it last wrote there or read.
  std::optional<NoteData> stored_;
  // No text is kept beside the store file (as far as this note knows): saving spares the delete.
  bool besideGone_ = false;
};
