#pragma once
// The note window TTFoglio: one sticky note on the desktop. It owns the window and routes its
// messages to the parts of the note: the surface painted from the shared skin, the text box,
// the mouse, the alarm clock, the commands and the store file. Its model is NoteData; the note
// list owns the notes, and a note reaches the controller through the NoteHost it was given.
#include <windows.h>

#include <memory>
#include <optional>
#include <span>
#include <string>

#include "look/skin.h"
#include "notes/note_alarm_clock.h"
#include "notes/note_commands.h"
#include "notes/note_data.h"
#include "notes/note_geometry.h"
#include "notes/note_menu_entry.h"
#include "notes/note_mouse.h"
#include "notes/note_reach.h"
#include "notes/note_store.h"
#include "notes/note_surface.h"
#include "notes/note_text_box.h"
#include "win/tray_icon.h"
#include "win/window.h"

class NoteHost;
class SendMailDialog;
class TTmailSend;
struct TQuorMailAccount;

class TTFoglio : public win::Window {
 public:
  // What a restored note does with the visibility its file stored: shows itself as the file
  // says, or only keeps it in Shown() for whoever shows the note later. Kept, the window is
  // mapped once, when it already has its final place, size and text, instead of being shown
  // here and hidden again by its owner (each costs a round trip to the display server).
  enum class StoredVisibility { Apply, Keep };
  // A new note passes empty `storeFolder` and `storeName` (it takes the program's "cache"
  // folder and a fresh store name); a restored note passes the notes folder and the name of
  // the file found there, which it reads at once. The note is created hidden. Its alarm ticks
  // every `alarmTickMs`.
  TTFoglio(NoteHost& host, bool stampOnCreate, bool ownTrayIcon, std::string storeFolder, std::string storeName,
           TQuorSkin& skin, StoredVisibility storedVisibility = StoredVisibility::Apply,
           unsigned alarmTickMs = TQuorAlarm::AlarmInterval);
  // A note that is not closed writes itself to its store file first.
  ~TTFoglio() override;

  // A restored note's store file as read before its window is made: the window is created at
  // its place, and restoring it moves nothing.
  struct StoreRead {
    NoteData data;
    int itemsRead = 0;
    std::optional<std::string> failure;
  };

  // Showing and hiding; a closed note is never shown again. A note shown by a command comes to
  // the front with the focus in its text. Notes restored at start-up leave the focus where it
  // is, each activation costing a round of messages, and the last one shown then takes it.
  enum class Focus { Take, Leave };
  void SetShown(bool visible, Focus focus = Focus::Take);
  void TakeFocus();
  void SetOnTop(bool on);
  void setOnFront();
  // Switches a note of an Activable skin between editing (edit box) and display (text label).
  void SetEditing(bool on);
  void SetFileName(const std::string& path);
  void SetOwnTrayIcon(bool on);
  // Around a modal dialog: hidden without touching Shown(), then given back what it had. A
  // visibility set meanwhile (a command that shows the note) is the one it gets back.
  void Suspend();
  void Resume();
  void MoveTo(int left, int top);
  // A shown note whose grip lies on none of `workAreas` moves into the nearest one, keeping the
  // place the user gave it; it goes back there once that place can be reached again.
  void KeepWithinReach(std::span<const ScreenArea> workAreas);
  // Reads a note file or a text file into the note and takes its path as the note's name.
  void OpenFileInNote(const std::string& path);
  void ApplyNoteSkin();
  void LayoutFrame();
  // The format follows the path (notes/note_file.h). A failing load leaves applied what was
  // read before the failure and rethrows.
  void LoadNote(const std::string& path);
  void SaveNote(const std::string& path);
  // Writes the store file when the note's data differs from what the note last wrote there or
  // read from it; the controller calls it while the user works (notes/save_scheduler.h).
  void SaveStoreIfChanged();
  // The note is closed for good: hidden, its store file, alarm, tray icon and menu entry gone,
  // its text in the recycle bin when the controller asks for that. Every step runs even when
  // one before it failed; the first failure is thrown at the end.
  void CloseNote();
  void Printklinote1Click() { commands_.Printklinote1Click(); }
  // "Mail K-lI" for this note: when it has a To address or recipients, writes its store file
  // (the attachment), sends its text through `dialog` and logs the outcome; the mail fields are
  // emptied once the server accepted the message and kept for a later try otherwise.
  void MailOneNote(const TQuorMailAccount& account, TTmailSend& log, SendMailDialog& dialog);
  // The text, and the change it is for whoever saves the note.
  void SetText(const std::string& text);

  const NoteData& Data() const { return data_; }
  bool Shown() const { return data_.Shown; }
  bool OnTop() const { return data_.OnTop; }
  bool Closed() const { return closed_; }
  // The window's place and size on the screen.
  WindowBox Bounds() const;
  const NoteStore& Store() const { return store_; }
  NoteTextBox& TextBox() { return textBox_; }
  const NoteTextBox& TextBox() const { return textBox_; }
  const NoteAlarmClock& AlarmClock() const { return alarm_; }
  NoteCommands& Commands() { return commands_; }
  NoteMenuEntry& ListItem() { return listItem_; }
  // The text of the caption label (the name, or its file part when the skin asks for that).
  const std::string& CaptionText() const { return surface_.CaptionText(); }

 protected:
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;
  bool PreTranslateMessage(MSG& msg) override;

 private:
  friend class NoteCommands;

  TTFoglio(const StoreRead& read, NoteHost& host, bool stampOnCreate, bool ownTrayIcon, const std::string& storeFolder,
           const std::string& storeName, TQuorSkin& skin, StoredVisibility storedVisibility, unsigned alarmTickMs);
  void FormCreate(bool stampOnCreate, const StoreRead& read);
  void FormActivate();
  // The pictures and the text box where the skin puts them in the window's size.
  void PlacePieces();
  void FormDeactivate();
  void RestoreFromStore(const StoreRead& read);
  void StoreOnClose();
  void ApplyItems(const NoteData& loaded, int itemsRead);
  // The data with the alarm, the text box's lines and the window's bounds as they are now.
  NoteData Snapshot() const;
  void TakeFreshStoreName();
  void PlaceWindow(const WindowBox& box);
  void WindowMoved();
  // Tells the controller that something the store file holds changed (once the note is made:
  // what the note does while it is being built or restored is no change).
  void NoteChanged();
  void AppendStampLine();
  void onAlarm();
  void SetTextFont(const FontValue& font);
  // Colours as the note file holds them (system colours have the high bit set).
  void SetTextBackColor(int32_t color);
  void SetWindowColor(int32_t color);

  NoteHost& host_;
  TQuorSkin& skin_;
  NoteData data_;
  NoteStore store_;
  bool closed_ = false;
  bool made_ = false;
  // False only while the constructor reads a store file whose visibility is to be kept.
  bool applyShown_ = true;
  // While the notes are suspended: the visibility the note gets back.
  std::optional<bool> suspendedShown_;
  // Where the note last placed itself (as read, or within reach): no place of the user's.
  std::optional<WindowBox> placedAt_;

  UINT taskbarCreated_ = win::TrayIcon::TaskbarCreatedMessage();
  NoteSurface surface_;
  // The window exists before the parts: they are made on it, and what it is sent meanwhile
  // reaches only the members above.
  NoteTextBox textBox_;
  NoteMouse mouse_;
  NoteAlarmClock alarm_;
  NoteCommands commands_;
  NoteMenuEntry listItem_;
  win::TrayIcon tray_;
};
