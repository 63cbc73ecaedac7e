#pragma once
// The commands a user gives one note: its picture buttons, its two menus with their shortcuts,
// its own tray icon and files dropped on it. Every command that opens a dialog hides the notes
// for the dialog's time (NoteSuspension) and owns the dialog by the note window. Win32.
#include <windows.h>
// After <windows.h>: drops of files (HDROP).
#include <shellapi.h>

#include <optional>
#include <span>
#include <string>

#include "notes/note_surface.h"
#include "win/file_dialog.h"
#include "win/menu.h"

class TTFoglio;

class NoteCommands {
 public:
  explicit NoteCommands(TTFoglio& note) : note_(note) {}
  NoteCommands(const NoteCommands&) = delete;
  NoteCommands& operator=(const NoteCommands&) = delete;

  // The two menus (PopMenuGeneral, PopMenuText) as command tables: captions, shortcuts and the
  // command each runs.
  static std::span<const win::CommandRow<NoteCommands>> GeneralMenuRows();
  static std::span<const win::CommandRow<NoteCommands>> TextMenuRows();
  // Made at their first use: a note that is never given a command costs no menu handles.
  win::CommandMenu<NoteCommands>& GeneralMenu();
  win::CommandMenu<NoteCommands>& TextMenu();
  // The shortcuts of the text menu while the edit box has the focus, else those of the general
  // menu.
  HACCEL Accelerators(bool inTextBox) { return inTextBox ? TextMenu().Accelerators() : GeneralMenu().Accelerators(); }
  // A command id from a menu or an accelerator; false when neither menu handed it out.
  bool Run(UINT id);
  void UpdateChecks();

  void PictureClicked(NotePart part);
  void PictureContextMenu(NotePart part);
  void TrayNotification(LPARAM mouseMessage);
  // The edit box's context menu: the text menu at the mouse, or from the keyboard (-1) at the
  // edit box's top-left corner.
  void TextBoxContextMenu(LPARAM at);
  void DropFiles(HDROP drop);

  // Print: the client area on the printer the controller holds, one page, no dialog.
  void Printklinote1Click();
  // Draws the client area into `dc` at its top-left corner, scaled by dpi / 96 in each direction,
  // so that it has the size it has on a 96 dpi screen.
  void DrawPrintPicture(HDC dc, int dpiX, int dpiY) const;

 private:
  // The File submenu, the same in both menus.
  static const win::CommandRow<NoteCommands> kFileMenuRows[2];
  // Open and Save as: the file dialog, then `action` with the path chosen, which becomes the
  // note's name. False when the user cancelled.
  bool WithChosenFile(win::FileDialogKind kind, void (TTFoglio::*action)(const std::string&));
  void ShowGeneralMenu(POINT at);
  bool OnTop() const;
  bool OwnTrayIcon() const;

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

  TTFoglio& note_;
  std::optional<win::CommandMenu<NoteCommands>> PopMenuGeneral;
  std::optional<win::CommandMenu<NoteCommands>> PopMenuText;
};
