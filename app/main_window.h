#pragma once
// The controller TKliMain: a hidden window that lives for the whole run. It owns the settings,
// the skin, the notes and the tray icon with its menu, carries out every global command (tray,
// menu, messages from other processes) and offers the notes what they need of it (NoteHost).
#include <windows.h>

#include <functional>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "app/closed_notes_folder.h"
#include "app/find_form.h"
#include "app/global_keys.h"
#include "app/note_list.h"
#include "app/settings.h"
#include "app/window_messages.h"
#include "mail/note_mail.h"
#include "mail/send_mail_dialog.h"
#include "notes/note_host.h"
#include "notes/save_scheduler.h"
#include "win/handles.h"
#include "win/menu.h"
#include "win/printer.h"
#include "win/tray_icon.h"
#include "win/window.h"

class TFOptions;
class TQuorSkin;
class TTFoglio;
class TTmailSend;

inline constexpr const char* kTrayHint = "Quor K-lI 5.00";

class TKliMain final : public win::Window, public NoteHost {
 public:
  // Creates the controller window and runs the start-up sequence: settings, skin, the notes of
  // the notes folder, the files of `arguments`, the file association, the tray icon.
  TKliMain(std::vector<std::string> arguments, std::string programFolder);
  // Runs the close sequence if the window is still open.
  ~TKliMain() override;

  // NoteHost: what the notes call.
  void OpenNoteFile(const std::string& path) override;
  void SuspendNotes() override;
  void ResumeNotes() override;
  void EndNoteEditing(TTFoglio& editing) override;
  bool DeleteToRecycleBin() const override { return settings_.DeleteToRecycleBin; }
  void KeepClosedNote(const std::string& storePath) override;
  void StoreDamaged(const std::string& asidePath, const std::string& message) override;
  bool StoreNameInUse(const std::string& storeName, const TTFoglio* asking) const override;
  win::PrinterSetup& Printer() override { return printer_; }
  std::span<const ScreenArea> WorkAreas() const override { return workAreas_; }
  void NoteChanged(TTFoglio& note) override;
  void NoteHidden(TTFoglio& note) override;
  void NoteGone(TTFoglio& note) override;

 protected:
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // Exit and "Close all" take notes away; while a modal dialog, the tray menu or the start-up is
  // under way (some caller up the stack still holds a note), they wait until it ends.
  class BusyScope;
  static constexpr UINT kTrayMessage = WM_APP + 1;
  static constexpr UINT_PTR kSaveTimerId = 1;
  static constexpr UINT_PTR kKeysTimerId = 2;

  // Start-up (main_window.cpp).
  void StartUp(const std::vector<std::string>& arguments);
  // The end of the start-up: from here on the tray icon and its menu answer the user.
  void AttachTray();
  void LoadTrayIcon();
  void ShowBuiltInTrayIcon(uint8_t index);
  void RestoreNotes();
  void CloseSequence();
  void SaveAllNotes();

  // Commands (main_window_commands.cpp). Those without arguments are the handlers of the tray
  // menu's rows (app/tray_menu_win.cpp) and of the UM_COMMAND codes.
  static std::span<const win::CommandRow<TKliMain>> TrayMenuRows();
  void RunCommand(ControllerCommand command, LPARAM lParam);
  void NewNote();
  void ShowAllNotes() { SetAllVisible(true); }
  void HideAllNotes() { SetAllVisible(false); }
  void AllOnTop();
  void AllNotOnTop();
  void CloseAllCommand();
  void MainOptions();
  void SkinSelector();
  void MailKli();
  // The options dialog's choices that act at once: the Run value and the tray icon.
  void TakeOptions(const TFOptions& dialog);
  // Loads skin `name` and re-skins every note; a skin that fails keeps the old one.
  void ApplySkin(const std::string& name);
  // The folder that holds the skin folders: the parent of the current skin's folder.
  std::string SkinsFolder() const;
  // True when the options dialog or the skin selector is open; it comes to the front.
  bool RaiseOpenSettingsDialog() const;
  // After each settings dialog, whatever it ended with.
  void SaveSettingsShowingErrors() const;
  void HomePage() { ShowHelp(true); }
  void Informations() { ShowHelp(false); }
  void About();
  TTFoglio* OpenNote(const std::string& path);  // the note made, or null when no file is there
  void OpenPaths(const std::vector<std::string>& paths);
  // `shown` becomes the window of the note the file opened in.
  void OpenPath(const std::string& path, HWND& shown);
  void OpenHandOverList();
  void OpenFileDialog();
  void SetAllVisible(bool visible);
  void CascadeNotes();
  void Exit();
  void ShowTrayMenu(POINT at);
  void ShowHelp(bool homePage) const;
  void BringNoteToFront(UINT menuId);
  void InsertMenuEntry(TTFoglio& note);
  TQuorSkin& Skin() const;

  // Notes within reach (main_window_reach.cpp): the keys from anywhere, Find, the notes closed
  // lately, one report of the note files put aside at start-up.
  // Takes the keys from anywhere. At start-up a key refused is asked for again a few times
  // before the user is told: the instance that ran before may still be letting go of it.
  void ApplyKeys(int attemptsLeft = 0);
  void KeysTimer();
  void HotKeyPressed(WPARAM id);
  void FindNotes();
  void ShowFoundNote(const NoteMatch& match);
  // The "Recently closed" submenu as the folder of closed notes holds it now.
  void FillRecentlyClosed();
  void BringBackClosedNote(UINT menuId);
  void ReportDamagedNotes();

  // Window messages (main_window_messages.cpp).
  LRESULT FileNameChar(WPARAM wp, LPARAM lp);
  LRESULT CopyData(const COPYDATASTRUCT* data);
  void TrayNotification(LPARAM mouseMessage);
  // Exit and "Close all " wait while the controller is busy: the command is posted to this
  // window once the last busy scope ends.
  void Defer(void (TKliMain::*command)());
  void LeaveBusy();

  std::string programFolder_;
  std::string programPath_;  // lower case, as the file association and the Run value hold it
  std::string notesFolder_;
  TQuorSettings settings_;
  bool allShown_ = true;
  PendingFileName pendingFileName_;
  std::mt19937 random_;
  win::PrinterSetup printer_;
  std::vector<ScreenArea> workAreas_;
  std::unique_ptr<GlobalKeys> keys_;
  win::WindowTimer keysTimer_;
  int keyAttemptsLeft_ = 0;
  std::unique_ptr<TFindForm> find_;
  ClosedNotesFolder closedNotes_;
  std::vector<ClosedNoteEntry> closedMenu_;
  // Store files put aside during the start-up, reported once the notes are on the screen.
  std::vector<std::pair<std::string, std::string>> damaged_;
  bool starting_ = true;
  // The displays or the task bar changed: the areas again, and every shown note within them.
  void DisplaysChanged();
  // Saving while the user works (main_window_saving.cpp): the one timer serves every note.
  SaveScheduler saves_;
  win::WindowTimer saveTimer_;
  void SaveUnsavedNotes();
  void CarryOut(const SaveEffects& effects);

  win::CommandMenu<TKliMain> menu_;
  HMENU noteMenu_ = nullptr;
  win::UniqueIcon trayImage_;
  std::unique_ptr<win::TrayIcon> tray_;
  bool trayAttached_ = false;
  UINT taskbarCreated_ = win::TrayIcon::TaskbarCreatedMessage();

  // Declared after the menu so that the notes (whose entries sit in it) go first.
  std::unique_ptr<TQuorSkin> skin_;
  std::unique_ptr<TQuorLista> notes_;

  // The one sending component; every note is mailed through it.
  SendMailDialog SendMailDialog1;

  int busy_ = 0;
  int suspended_ = 0;
  bool closing_ = false;
  // The options dialog or the skin selector while one is open: a second request brings it to
  // the front instead of opening another over it, whose choices the first would then undo.
  HWND settingsDialog_ = nullptr;
  std::vector<void (TKliMain::*)()> deferred_;
};

// Marks the controller busy for one scope (see Defer).
class TKliMain::BusyScope {
 public:
  explicit BusyScope(TKliMain& controller) : controller_(controller) { ++controller_.busy_; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;
  ~BusyScope() { controller_.LeaveBusy(); }

 private:
  TKliMain& controller_;
};

