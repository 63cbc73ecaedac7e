#include "notes/note_store.h"

#include <stdexcept>
#include <utility>

#include "notes/note_file.h"
#include "notes/store_name.h"
#include "storage/file_io.h"
#include "storage/io_error.h"

namespace {

constexpr size_t kMostStoredLines = 255;
constexpr size_t kLongestStoredLine = 255;

bool TextFitsNoteFile(const std::vector<std::string>& lines) {
  if (lines.size() > kMostStoredLines) return false;
  for (const std::string& line : lines)
    if (line.size() > kLongestStoredLine) return false;
  return true;
}

}  // namespace

std::string StoreFileKey(const std::string& storeName) {
  const auto start = storeName.find_first_not_of("\\/");
  return AsciiLowerCase(start == std::string::npos ? std::string() : storeName.substr(start));
}

NoteStore::NoteStore(std::string folder, std::string name) : folder_(std::move(folder)), name_(std::move(name)) {}

std::string NoteStore::Path() const { return folder_ + "\\" + name_; }

std::string NoteStore::FullTextPath(const std::string& path) {
  const auto slash = path.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const auto kli = AsciiLowerCase(name).find(".kli");
  if (kli != std::string::npos) name.resize(kli);
  return folder + name + "-full-text.txt";
}

void NoteStore::TakeFreshName(const std::function<bool(const std::string& name)>& heldByAnotherNote,
                              const std::function<uint32_t()>& random) {
  besideGone_ = false;
  const size_t folderLength = folder_.size();
  name_ = NewStoreName(
      folder_,
      [&](const std::string& path) { return FileExists(path) || heldByAnotherNote(path.substr(folderLength)); },
      random);
}

void NoteStore::TakeSpelling(const std::string& storedName) {
  if (StoreFileKey(storedName) == StoreFileKey(name_)) name_ = storedName;
}

void NoteStore::Save(const std::string& path, const NoteData& note, const std::function<std::string()>& wholeText) {
  const bool store = path == Path();
  const bool fits = TextFitsNoteFile(note.Lines);
  const auto write = [&] {
    if (!fits) SavePlainTextFile(FullTextPath(path), wholeText());
    SaveNoteFile(path, note);
  };
  try {
    write();
  } catch (const EInOutError& error) {
    // The store's folder is made when it is missing (never made yet, or removed meanwhile):
    // asked only then, as every save would ask in vain.
    if (!store || error.code() != io_code::kPathNotFound) throw;
    CreateFolderPath(folder_);
    write();
  }
  if (!store) return;
  stored_ = note;
  besideGone_ = fits && (besideGone_ || DeleteFileIfPresent(FullTextPath(path)));
}

bool NoteStore::SaveIfChanged(const NoteData& note, const std::function<std::string()>& wholeText) {
  if (stored_ && *stored_ == note) return false;
  Save(Path(), note, wholeText);
  return true;
}

void NoteStore::Load(NoteData& note, int& itemsRead) const { LoadNoteFile(Path(), note, itemsRead); }

std::string NoteStore::PutDamagedAside() const { return MoveAside(Path(), ".damaged"); }

std::optional<std::string> NoteStore::WholeTextBeside(uint64_t capacity) {
  const std::string beside = FullTextPath(Path());
  const auto size = FileSize(beside);
  besideGone_ = !size;
  if (!size || *size > capacity) return std::nullopt;
  return LoadPlainTextFile(beside);
}

void NoteStore::Delete() const {
  const std::string store = Path();
  DeleteFileIfPresent(FullTextPath(store));
  if (!DeleteFileIfPresent(store)) throw std::runtime_error("Can't delete " + store);
}
