// The note window's side of its files: what it hands the store and the note file, and how it
// applies what it reads back.
#include <random>
#include <tuple>
#include <stdexcept>

#include "notes/note_file.h"
#include "notes/note_host.h"
#include "notes/note_window.h"
#include "storage/file_io.h"
#include "win/error_box.h"

NoteData TTFoglio::Snapshot() const {
  NoteData note = data_;
  note.StoreName = store_.Name();
  note.Alarm = alarm_.Fields();
  note.Lines = LinesToStore(textBox_.DisplayedLines());
  const WindowBox box = Bounds();
  note.Left = box.Left;
  note.Top = box.Top;
  note.Width = box.Width;
  note.Height = box.Height;
  return note;
}

void TTFoglio::TakeFreshStoreName() {
  std::random_device device;
  std::mt19937 generator(device() ^ GetTickCount() ^ static_cast<uint32_t>(reinterpret_cast<uintptr_t>(this)));
  // A name is taken when its file exists or when another open note, not yet saved, holds it.
  store_.TakeFreshName([this](const std::string& name) { return host_.StoreNameInUse(name, this); },
                       [&] { return static_cast<uint32_t>(generator()); });
}

void TTFoglio::SaveNote(const std::string& path) {
  if (!IsNoteFilePath(path)) return SavePlainTextFile(path, textBox_.Text());
  store_.Save(path, Snapshot(), [this] { return textBox_.Text(); });
}

void TTFoglio::SaveStoreIfChanged() {
  if (closed_ || hwnd() == nullptr) return;
  store_.SaveIfChanged(Snapshot(), [this] { return textBox_.Text(); });
}

void TTFoglio::StoreOnClose() {
  if (closed_ || hwnd() == nullptr) return;
  SaveNote(store_.Path());
}

void TTFoglio::OpenFileInNote(const std::string& path) {
  LoadNote(path);
  SetFileName(path);
}

void TTFoglio::LoadNote(const std::string& path) {
  if (!IsNoteFilePath(path)) {
    // Refused before it is read: a huge file must not be pulled into memory only to be refused.
    if (FileSize(path).value_or(0) > NoteTextBox::kCapacityInFileBytes)
      throw std::runtime_error("Text exceeds memo capacity.");
    SetText(LoadPlainTextFile(path));
    SetFileName(path);
    return LayoutFrame();
  }
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
  LayoutFrame();
}

void TTFoglio::ApplyItems(const NoteData& loaded, int itemsRead) {
  // Each row applies once the first item it needs was read; `loaded` starts as the note's own
  // snapshot, so an item not read yet keeps the note's value (the size without the place).
  using Id = NoteItemId;
  using Apply = void (*)(TTFoglio&, const NoteData&);
  static constexpr std::pair<Id, Apply> kApplyRows[] = {
      {Id::Font, [](TTFoglio& n, const NoteData& d) { n.SetTextFont(d.Font); }},
      {Id::TextColor, [](TTFoglio& n, const NoteData& d) { n.SetTextBackColor(d.TextColor); }},
      {Id::Lines, [](TTFoglio& n, const NoteData& d) { n.SetText(EditTextFromLines(d.Lines)); }},
      {Id::BackColor, [](TTFoglio& n, const NoteData& d) { n.SetWindowColor(d.BackColor); }},
      // Where the note stood, and where the user put it when that was elsewhere.
      {Id::Width,
       [](TTFoglio& n, const NoteData& d) {
         n.PlaceWindow({d.Left, d.Top, d.Width, d.Height});
         std::tie(n.data_.UserPlaceKept, n.data_.UserLeft, n.data_.UserTop, n.data_.UserWidth, n.data_.UserHeight) =
             std::tie(d.UserPlaceKept, d.UserLeft, d.UserTop, d.UserWidth, d.UserHeight);
       }},
      {Id::FileName, [](TTFoglio& n, const NoteData& d) { n.SetFileName(d.FileName); }},
      {Id::StoreName, [](TTFoglio& n, const NoteData& d) { n.store_.TakeSpelling(d.StoreName); }},
      {Id::AlarmWhen, [](TTFoglio& n, const NoteData& d) { n.alarm_.SetWhen(d.Alarm.When); }},
      {Id::AlarmEveryDay, [](TTFoglio& n, const NoteData& d) { n.alarm_.SetEveryDay(d.Alarm.EveryDay); }},
      {Id::AlarmActive, [](TTFoglio& n, const NoteData& d) { n.alarm_.SetActive(d.Alarm.Active); }},
      {Id::AlarmIsSet, [](TTFoglio& n, const NoteData& d) { n.alarm_.SetIsSet(d.Alarm.IsSet); }},
      {Id::Shown,
       [](TTFoglio& n, const NoteData& d) {
         if (n.applyShown_) return n.SetShown(d.Shown);
         n.data_.Shown = d.Shown;
       }},
      {Id::OnTop, [](TTFoglio& n, const NoteData& d) { n.SetOnTop(d.OnTop); }},
      {Id::OwnTrayIcon, [](TTFoglio& n, const NoteData& d) { n.SetOwnTrayIcon(d.OwnTrayIcon); }},
      {Id::MailSubject, [](TTFoglio& n, const NoteData& d) { n.data_.MailSubject = d.MailSubject; }},
      {Id::MailTo, [](TTFoglio& n, const NoteData& d) { n.data_.MailTo = d.MailTo; }},
      {Id::MailRecipients, [](TTFoglio& n, const NoteData& d) { n.data_.MailRecipients = d.MailRecipients; }},
  };
  for (const auto& [needs, apply] : kApplyRows)
    if (ItemRead(itemsRead, needs)) apply(*this, loaded);
}

void TTFoglio::RestoreFromStore(const StoreRead& read) {
  // What was read before a failure is applied too.
  ApplyItems(read.data, read.itemsRead);
  if (read.failure) {
    // The damaged file is put aside and the note moves to a store file of its own before the
    // message box runs its loop, in which an end of session could already save the note.
    const std::string aside = store_.PutDamagedAside();
    TakeFreshStoreName();
    host_.StoreDamaged(aside.empty() ? store_.Path() : aside, *read.failure);
    return;
  }
  // A text that did not fit the note file was kept whole beside it.
  win::ShowingErrors([&] {
    if (const auto whole = store_.WholeTextBeside(NoteTextBox::kCapacityInFileBytes)) SetText(*whole);
  });
  store_.Remember(Snapshot());
}
