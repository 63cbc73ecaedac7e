#pragma once
// The note window TTFoglio: one sticky note on the desktop, both its data and its window. The
// whole surface is painted from the shared skin; the text is a real EDIT child. The note list
// owns the notes; a note reaches the controller only through Controller() (notes/note_host.h).
#include <windows.h>
// After <windows.h>: drops of files (HDROP) and the tray icon.
#include <shellapi.h>

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "alarms/alarm.h"
#include "look/skin.h"
#include "notes/note_blink.h"
#include "notes/note_data.h"
#include "notes/note_geometry.h"
#include "notes/note_menu_entry.h"
#include "notes/note_surface.h"
#include "win/handles.h"
#include "win/menu.h"
#include "win/tray_icon.h"
#include "win/window.h"

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
  // the file found there, which it reads at once. The note is created hidden.
  TTFoglio(bool stampOnCreate, bool ownTrayIcon, std::string storeFolder, std::string storeName,
           TQuorSkin& skin, StoredVisibility storedVisibility = StoredVisibility::Apply);
  // A note that is not closed writes itself to its store file first.
  ~TTFoglio() override;

  // Showing and hiding; a closed note is never shown again.
  void SetShown(bool visible);
  void SetOnTop(bool on);
  void setOnFront();
  // Switches a note of an Activable skin between editing (edit box) and display (text label).
  void SetEditing(bool on);
  void SetFileName(const std::string& path);
  // Reads a note file or a text file into the note and takes its path as the note's name.
  void OpenFileInNote(const std::string& path);
  void ApplyNoteSkin();
  void PlacePieces();
  void LayoutFrame();
  // The format follows the path (notes/note_file.h). A failing load leaves applied what was
  // read before the failure and rethrows.
  void LoadNote(const std::string& path);
  void SaveNote(const std::string& path);
  // The note is closed for good: hidden, its store file, alarm, tray icon and menu entry gone,
  // its text in the recycle bin when the controller asks for that. Every step runs even when
  // one before it failed; the first failure is thrown at the end.
  void CloseNote();
  // Prints the client area on the printer the controller holds, one page, no dialog.
  void Printklinote1Click();
  // Writes the store file when the note's data differs from what the note last wrote there or
  // read from it; the controller calls it while the user works (notes/save_scheduler.h).
  void SaveStoreIfChanged();
  // "Mail K-lI" for this note: when it has a To address or recipients, writes its store file
  // (the attachment), sends its text through `dialog` and logs the outcome; the mail fields are
  // emptied once the server accepted the message and kept for a later try otherwise.
  void MailOneNote(const TQuorMailAccount& account, TTmailSend& log, SendMailDialog& dialog);
  // Draws the client area into `dc` at its top-left corner, scaled by dpi / 96 in each direction,
  // so that it has the size it has on a 96 dpi screen.
  void DrawPrintPicture(HDC dc, int dpiX, int dpiY) const;

  bool Shown() const { return data_.Shown; }
  bool Closed() const { return closed_; }
  bool OnTop() const { return data_.OnTop; }
  bool OwnTrayIcon() const { return data_.OwnTrayIcon; }
  void SetOwnTrayIcon(bool on);
  bool TextBoxVisible() const;
  // Visibility the controller remembers while it suspends the notes around a modal dialog.
  bool SuspendedShown = false;

  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void MoveTo(int left, int top);

  const std::string& StoreName() const { return data_.StoreName; }
  const std::string& StoreFolder() const { return storeFolder_; }
  const std::string& FileName() const { return data_.FileName; }
  // The text of the caption label (the name, or its file part when the skin asks for that).
  const std::string& CaptionText() const { return surface_.CaptionText(); }
  // StoreFolder + "\" + StoreName.
  std::string StorePath() const;
  // Where the whole text of a note goes when it does not fit the note file written at `path`:
  // beside it, named so that it is neither taken for a note file nor restored as a note.
  static std::string FullTextPath(const std::string& path);
  NoteMenuEntry& ListItem() { return listItem_; }

  // The edit box's whole text (CR LF line ends) and its lines as displayed (wrapped).
  std::string Text() const;
  void SetText(const std::string& text);
  std::vector<std::string> DisplayedLines() const;
  // The alarm as the note file holds it.
  NoteAlarmFields Alarm() const;
  bool Blinking() const { return blink_.Blinking(); }
  // Tests only: the alarm's timer ticks at this period instead of TQuorAlarm::AlarmInterval, so
  // a test sees an alarm fire without waiting ten seconds per tick.
  void SetAlarmIntervalForTests(unsigned ms);
  HWND TextBox() const { return text_; }
  COLORREF TextBackColor() const { return textBackColor_; }
  const FontValue& TextFont() const { return data_.Font; }
  const std::string& MailTo() const { return data_.MailTo; }
  const std::string& MailSubject() const { return data_.MailSubject; }
  const std::vector<std::string>& MailRecipients() const { return data_.MailRecipients; }

  // The two menus (PopMenuGeneral, PopMenuText) as command tables: captions, shortcuts and the
  // command each runs (notes/note_commands.cpp).
  static std::span<const win::CommandRow<TTFoglio>> GeneralMenuRows();
  static std::span<const win::CommandRow<TTFoglio>> TextMenuRows();
  // Made at their first use: a note that is never given a command costs no menu handles.
  win::CommandMenu<TTFoglio>& GeneralMenu();
  win::CommandMenu<TTFoglio>& TextMenu();

  // The largest text the edit box takes, in characters.
  static constexpr int kTextCapacity = 1 << 20;

 protected:
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;
  // The shortcuts of the text menu while the edit box has the focus, else those of the general
  // menu.
  bool PreTranslateMessage(MSG& msg) override;

 private:
  void FormCreate(bool stampOnCreate);
  void FormActivate();
  void FormDeactivate();
  void RestoreFromStore();
  void StoreOnClose();
  void ApplyItems(const NoteData& loaded, int itemsRead);
  void LoadPlainText(const std::string& path);
  NoteData Snapshot() const;
  void WriteFullTextBeside(const std::string& path) const;
  std::string FreshStoreName() const;
  void DeleteStoreFiles() const;
  // Tells the controller that something the store file holds changed (once the note is made:
  // what the note does while it is being built or restored is no change).
  void NoteChanged();
  void AppendStampLine();
  bool AlarmOn() const { return alarm_.Active(); }

  // The alarm and the blink it starts (note_alarm.cpp).
  void SetAlarmActive(bool on);
  void ApplyAlarmTimer(AlarmTimerChange change);
  void AlarmTick();
  void onAlarm();
  void SetBlinking(bool on);
  void onTimer();
  void Apply(const BlinkEffect& effect);

  // Painting (note_window_paint.cpp).
  void Paint();
  void PaintClientArea(HDC dc, int width, int height) const;
  void SetTextFont(const FontValue& font);
  static LOGFONTA TextLogFont(const FontValue& font);
  // Colours as the note file holds them (system colours have the high bit set).
  void SetTextBackColor(int32_t color);
  // The colour the edit box shows, without changing the colour the note stores (the blink).
  void ShowTextBackColor(int32_t color);
  void SetWindowColor(int32_t color);
  static COLORREF ToColorRef(int32_t color);
  void SetTextBoxBorder(bool line);
  RECT TextLabelRect() const;
  LRESULT TextBoxColors(HDC dc) const;

  // Mouse (note_window_mouse.cpp).
  void MousePress(NotePart part, int x, int y);
  void MouseMove(int x, int y);
  void MouseRelease();
  void Apply(const NoteMouseEffect& effect);
  WindowBox CurrentBox() const;
  void ShowCursorOf(ResizeCursor cursor);
  bool SetCursorFor(HWND over, UINT hitTest);
  void TextBoxMouseMove(int x, int y);
  static constexpr UINT_PTR kAlarmTimerId = 1;
  static constexpr UINT_PTR kBlinkTimerId = 2;
  // The edit box passes its mouse moves on to the note with kTextBoxMouseMove.
  static constexpr UINT kTextBoxMouseMove = WM_APP + 2;
  static LRESULT CALLBACK TextBoxProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  // Commands (note_commands.cpp): the picture buttons, the menus and what they run.
  void PictureClicked(NotePart part);
  void PictureContextMenu(NotePart part);
  void ShowGeneralMenu(POINT at);
  void ShowTextMenu(POINT at);
  bool RunMenuCommand(UINT id);
  void UpdateMenuChecks();
  void DropFiles(HDROP drop);
  void TrayNotification(LPARAM mouseMessage);
  // The File submenu, the same in both menus.
  static const win::CommandRow<TTFoglio> kFileMenuRows[2];
  void OpenFile2Click();
  void SaveFile1Click();
  void Printersetup1Click();
  void Selectfont1Click();
  void SelectBackgroundcolor1Click();
  void Insertdatetime1Click();
  void Alwaysontop1Click();
  void TrayIconArea1Click();
  void Setalarm1Click();
  void Mailthisnote1Click();
  void Closethisnote2Click();
  void Deletethisnote2Click();
  void Undo1Click();
  void Cut1Click();
  void Copy1Click();
  void Past1Click();
  void Delete1Click();
  void SelectAll1Click();

  TQuorSkin& skin_;
  NoteData data_;
  std::string storeFolder_;
  bool closed_ = false;
  bool restored_ = false;
  // False only while the constructor reads a store file whose visibility is to be kept.
  bool applyShown_ = true;
  HWND text_ = nullptr;

  NoteSurface surface_;
  COLORREF textBackColor_ = 0;
  win::UniqueBrush textBackBrush_;
  win::UniqueFont textFont_;

  NoteMouseState mouse_;
  bool changingBox_ = false;  // the window is being moved or sized by a mouse step
  bool pressed_ = false;
  NotePart pressedPart_ = NotePart::Window;
  ResizeCursor cursor_ = ResizeCursor::Arrow;

  std::optional<win::CommandMenu<TTFoglio>> PopMenuGeneral;
  std::optional<win::CommandMenu<TTFoglio>> PopMenuText;
  TQuorAlarm alarm_;
  win::WindowTimer alarmTimer_;
  unsigned alarmInterval_ = TQuorAlarm::AlarmInterval;
  TNoteBlink blink_;
  win::WindowTimer blinkTimer_;
  int32_t shownTextBackColor_ = 0;

  // What the store file holds, as far as this note knows: what it last wrote there or read.
  std::optional<NoteData> stored_;
  bool made_ = false;

  NoteMenuEntry listItem_;
  std::unique_ptr<win::TrayIcon> tray_;
  UINT taskbarCreated_ = win::TrayIcon::TaskbarCreatedMessage();
};
