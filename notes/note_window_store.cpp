// A note's files: loading and saving in both formats, its store file in the notes folder, and
// what happens when that file is damaged or the text does not fit it.
#include <windows.h>

#include <cctype>
#include <random>
#include <stdexcept>

#include "notes/note_file.h"
#include "notes/note_host.h"
#include "notes/note_window.h"
#include "notes/store_name.h"
#include "storage/file_io.h"
#include "win/error_box.h"

namespace {

constexpr size_t kMostStoredLines = 255;
constexpr size_t kLongestStoredLine = 255;

// Whether the note file can hold these lines whole.
bool TextFitsNoteFile(const std::vector<std::string>& lines) {
  if (lines.size() > kMostStoredLines) return false;
  for (const std::string& line : lines) {
    if (line.size() > kLongestStoredLine) return false;
  }
  return true;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// A store name as it names a file: without the leading separator, without regard to case.
std::string StoreFileKey(const std::string& storeName) {
  const auto start = storeName.find_first_not_of("\\/");
  return Lower(start == std::string::npos ? std::string() : storeName.substr(start));
}

void CreateFolderPath(const std::string& folder) {
  for (size_t i = 0; i <= folder.size(); ++i) {
    if (i == folder.size() || folder[i] == '\\' || folder[i] == '/') {
      const std::string prefix = folder.substr(0, i);
      if (!prefix.empty() && prefix.back() != ':') CreateDirectoryA(prefix.c_str(), nullptr);
    }
  }
}

// A damaged store file goes aside under a name that "*.kli" does not match, so it is neither
// overwritten by the note's next save nor restored again as a note.
void KeepDamagedAside(const std::string& path) {
  if (!FileExists(path)) return;
  std::string aside = path + ".damaged";
  for (int n = 2; FileExists(aside); ++n) aside = path + "." + std::to_string(n) + ".damaged";
  MoveFileExA(path.c_str(), aside.c_str(), MOVEFILE_WRITE_THROUGH);
}

uint64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

std::string TTFoglio::StorePath() const { return storeFolder_ + "\\" + data_.StoreName; }

std::string TTFoglio::FullTextPath(const std::string& path) {
  const auto slash = path.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const auto kli = Lower(name).find(".kli");
  if (kli != std::string::npos) name.resize(kli);
  return folder + name + "-full-text.txt";
}

std::string TTFoglio::FreshStoreName() const {
  std::random_device device;
  std::mt19937 generator(device() ^ GetTickCount() ^ static_cast<uint32_t>(reinterpret_cast<uintptr_t>(this)));
  const size_t folderLength = storeFolder_.size();
  // A name is taken when its file exists or when another open note, not yet saved, holds it.
  return NewStoreName(
      storeFolder_,
      [&](const std::string& path) {
        return FileExists(path) || Controller().StoreNameInUse(path.substr(folderLength), this);
      },
      [&] { return static_cast<uint32_t>(generator()); });
}

NoteData TTFoglio::Snapshot() const {
  NoteData note = data_;
  note.Alarm = Alarm();
  note.Lines = LinesToStore(DisplayedLines());
  RECT r{};
  GetWindowRect(hwnd(), &r);
  note.Left = r.left;
  note.Top = r.top;
  note.Width = r.right - r.left;
  note.Height = r.bottom - r.top;
  return note;
}

void TTFoglio::SaveNote(const std::string& path) {
  if (!IsNoteFilePath(path)) {
    SavePlainTextFile(path, Text());
    return;
  }
  const NoteData note = Snapshot();
  const bool textFits = TextFitsNoteFile(note.Lines);
  // The whole text goes beside the note file first, so that it exists whenever the note file
  // holds a cut text.
  if (!textFits) WriteFullTextBeside(path);
  SaveNoteFile(path, note);
  if (path != StorePath()) return;
  stored_ = note;
  if (textFits) DeleteFileA(FullTextPath(path).c_str());
}

void TTFoglio::SaveStoreIfChanged() {
  if (closed_ || hwnd() == nullptr || (stored_ && *stored_ == Snapshot())) return;
  CreateFolderPath(storeFolder_);
  SaveNote(StorePath());
}

void TTFoglio::WriteFullTextBeside(const std::string& path) const {
  SavePlainTextFile(FullTextPath(path), Text());
}

void TTFoglio::LoadNote(const std::string& path) {
  if (IsNoteFilePath(path)) {
    NoteData loaded = Snapshot();
    int itemsRead = 0;
    try {
      LoadNoteFile(path, loaded, itemsRead);
    } catch (...) {
      // What was read before the failure stays applied.
      ApplyItems(loaded, itemsRead);
      LayoutFrame();
      throw;
    }
    ApplyItems(loaded, itemsRead);
  } else {
    LoadPlainText(path);
  }
  LayoutFrame();
}

void TTFoglio::LoadPlainText(const std::string& path) {
  // Refused before it is read: a huge file must not be pulled into memory only to be refused.
  if (FileSize(path) > static_cast<uint64_t>(kTextCapacity)) throw std::runtime_error("Text exceeds memo capacity.");
  SetText(LoadPlainTextFile(path));
  SetFileName(path);
}

void TTFoglio::ApplyItems(const NoteData& loaded, int itemsRead) {
  if (itemsRead >= 2) SetTextFont(loaded.Font);
  if (itemsRead >= 3) SetTextBackColor(loaded.TextColor);
  if (itemsRead >= 4) SetText(EditTextFromLines(loaded.Lines));
  if (itemsRead >= 5) SetWindowColor(loaded.BackColor);
  if (itemsRead >= 6) {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    const int width = loaded.Width;
    const int height = itemsRead >= 7 ? loaded.Height : r.bottom - r.top;
    const int left = itemsRead >= 8 ? loaded.Left : r.left;
    const int top = itemsRead >= 9 ? loaded.Top : r.top;
    SetWindowPos(hwnd(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (itemsRead >= 10) SetFileName(loaded.FileName);
  if (itemsRead >= 11) {
    // A note keeps the store file it has: the name in a loaded file may belong to another open
    // note (a file saved from it) or be the stale name of a file copied into the notes folder,
    // and taking it would make two notes write one file, or leave this note's old file behind
    // to come back as a duplicate at the next start. Only the way it is written is taken.
    if (StoreFileKey(loaded.StoreName) == StoreFileKey(data_.StoreName)) data_.StoreName = loaded.StoreName;
  }
  if (itemsRead >= 12) alarm_.SetAlarmDateTime(loaded.Alarm.When);
  if (itemsRead >= 13) alarm_.EveryDay = loaded.Alarm.EveryDay;
  if (itemsRead >= 14) SetAlarmActive(loaded.Alarm.Active);
  if (itemsRead >= 15) alarm_.IsSet = loaded.Alarm.IsSet;
  if (itemsRead >= 16) {
    if (applyShown_) {
      SetShown(loaded.Shown);
    } else {
      data_.Shown = loaded.Shown;
    }
  }
  if (itemsRead >= 17) SetOnTop(loaded.OnTop);
  if (itemsRead >= 18) SetOwnTrayIcon(loaded.OwnTrayIcon);
  if (itemsRead >= 19) data_.MailSubject = loaded.MailSubject;
  if (itemsRead >= 20) data_.MailTo = loaded.MailTo;
  if (itemsRead >= 21) data_.MailRecipients = loaded.MailRecipients;
}

void TTFoglio::RestoreFromStore() {
  const std::string path = StorePath();
  try {
    LoadNote(path);
  } catch (const std::exception& e) {
    // The damaged file is put aside and the note moves to a store file of its own before the
    // message box runs its loop, in which an end of session could already save the note.
    KeepDamagedAside(path);
    data_.StoreName = FreshStoreName();
    win::ShowErrorBox(e.what());
    return;
  }
  // A text that did not fit the note file was kept whole beside it.
  const std::string fullText = FullTextPath(path);
  if (FileExists(fullText) && FileSize(fullText) <= static_cast<uint64_t>(kTextCapacity)) {
    win::ShowingErrors([&] { SetText(LoadPlainTextFile(fullText)); });
  }
  stored_ = Snapshot();
}

void TTFoglio::DeleteStoreFiles() const {
  const std::string store = StorePath();
  DeleteFileA(FullTextPath(store).c_str());
  if (!DeleteFileA(store.c_str()) && FileExists(store)) throw std::runtime_error("Can't delete " + store);
}

void TTFoglio::StoreOnClose() {
  if (closed_ || hwnd() == nullptr) return;
  CreateFolderPath(storeFolder_);
  SaveNote(StorePath());
}
