// The controller's commands: the tray menu, the tray click, UM_COMMAND and what the notes ask.
#include <windows.h>
#include <shellapi.h>

#include <exception>

#include "app/closed_notes.h"
#include "app/hand_over_list.h"
#include "app/home_page.h"
#include "app/main_window.h"
#include "app/note_placement.h"
#include "app/options_dialog.h"
#include "app/run_at_startup.h"
#include "app/settings_file.h"
#include "app/tray_menu.h"
#include "look/about_box.h"
#include "look/skin.h"
#include "look/skin_selector.h"
#include "mail/mail_send_log.h"
#include "notes/note_menu_entry.h"
#include "notes/note_window.h"
#include "storage/file_io.h"
#include "storage/os_file.h"
#include "win/error_box.h"
#include "win/file_dialog.h"
#include "win/program_folder.h"
#include "win/unicode.h"

namespace {

constexpr const char* kHelpPage = "quorkli5.htm";

// The mail part of the settings, with the program's line and headers in every mailed note.
TQuorMailAccount MailAccountFrom(const TQuorSettings& settings) {
  return {.SmtpServer = settings.SmtpServer,
          .SmtpPort = settings.SmtpPort,
          .UserName = settings.UserName,
          .UserMail = settings.UserMail,
          .Security = static_cast<MailSecurity>(settings.SmtpSecurity),
          .SignInName = settings.SmtpSignInName,
          .StoredPassword = settings.SmtpPassword,
          .TrustedCertificate = {settings.SmtpTrustedServer, settings.SmtpTrustedFingerprint},
          .Signature = {"----", std::string("Message sended with Quor K-lI pro 5.") + kHomePage},
          .Headers = {"X-Mailer: Quor K-lI 5.0", std::string("Quor K-lI hp: ") + kHomePage},
          .TrustCertificate = {}};
}

}  // namespace

void TKliMain::RunCommand(ControllerCommand command, LPARAM lParam) {
  using Command = void (TKliMain::*)();
  static constexpr std::pair<ControllerCommand, Command> kCommandsByCode[] = {
      {ControllerCommand::NewNote, &TKliMain::NewNote},
      {ControllerCommand::Exit, &TKliMain::Exit},
      {ControllerCommand::Options, &TKliMain::MainOptions},
      {ControllerCommand::SkinSelector, &TKliMain::SkinSelector},
      {ControllerCommand::ShowAll, &TKliMain::ShowAllNotes},
      {ControllerCommand::HideAll, &TKliMain::HideAllNotes},
      {ControllerCommand::CloseAll, &TKliMain::CloseAllCommand},
      {ControllerCommand::Cascade, &TKliMain::CascadeNotes},
  };
  if (command == ControllerCommand::MenuAt) {
    const MenuPoint at = DecodeMenuPoint(lParam);
    return ShowTrayMenu({at.X, at.Y});
  }
  for (const auto& [code, run] : kCommandsByCode)
    if (code == command) return (this->*run)();
}

void TKliMain::NewNote() {
  if (!notes_) return;
  TTFoglio& note = notes_->Note(notes_->AddNew(Skin(), settings_.ShowInTrayArea, settings_.InsertDateTime));
  Skin().Events().PlayEvent(evNewNote);
  const WindowBox box = note.Bounds();
  const ScreenPoint at = RandomNotePlacement(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), box.Width,
                                             box.Height, [this] { return random_(); });
  note.MoveTo(at.X, at.Y);
  note.SetShown(true);
  note.SetOnTop(settings_.AllOnTop);
  InsertMenuEntry(note);
  if (settings_.ShowAllOnAdd) SetAllVisible(true);
}

void TKliMain::OpenNoteFile(const std::string& path) { OpenNote(path); }

TTFoglio* TKliMain::OpenNote(const std::string& path) {
  if (!notes_) return nullptr;
  if (!FileExists(path)) {
    win::ShowErrorBox("File not found :" + path);
    return nullptr;
  }
  NewNote();
  TTFoglio& note = notes_->Current();
  note.OpenFileInNote(path);
  return &note;
}

void TKliMain::OpenPaths(const std::vector<std::string>& paths) {
  // Each note opened comes to the front in turn without the focus, and the last one takes it:
  // focus handed on from note to note lets Wine raise an earlier note again when the display
  // server's late focus event for it arrives. Found again by its window, as a note may be
  // closed while an error box runs.
  HWND last = nullptr;
  for (const std::string& path : paths) win::ShowingErrors([&] { OpenPath(path, last); });
  for (int i = 0; notes_ && i < notes_->Count(); ++i)
    if (notes_->Note(i).hwnd() == last) notes_->Note(i).TakeFocus();
}

void TKliMain::OpenPath(const std::string& path, HWND& shown) {
  if (!notes_) return;
  // Checked first: a path that names no file would otherwise leave an empty hidden note that
  // comes back at every start.
  if (!FileExists(path)) {
    win::ShowErrorBox("File not found :" + path);
    return;
  }
  TTFoglio& note = notes_->AddFromFile(Skin(), std::string(), std::string());
  // A file that fails half-way still leaves a visible note with what was read, so the user
  // sees it (and can delete it) instead of an invisible note that persists.
  std::exception_ptr failure;
  try {
    note.OpenFileInNote(path);
  } catch (...) {
    failure = std::current_exception();
  }
  note.SetShown(true, TTFoglio::Focus::Leave);
  shown = note.hwnd();
  InsertMenuEntry(note);
  if (failure) std::rethrow_exception(failure);
  note.setOnFront();
}

void TKliMain::OpenHandOverList() {
  const std::string list = HandOverListPath(programFolder_);
  const std::vector<std::string> paths = ReadHandOverList(list);
  // Gone before the files open: a file that fails must not leave the list for the next start.
  os_file::RemoveQuietly(list);
  OpenPaths(paths);
}

void TKliMain::OpenFileDialog() {
  const NoteSuspension suspended(*this);
  if (const auto file = win::AskFileName(hwnd(), win::FileDialogKind::Open, win::kNoteFileFilter, "kli")) OpenNote(*file);
}

void TKliMain::SetAllVisible(bool visible) {
  allShown_ = visible;
  if (notes_) notes_->SetAllVisible(visible);
}

void TKliMain::AllOnTop() {
  if (notes_) notes_->SetAllOnTop(true);
}

void TKliMain::AllNotOnTop() {
  if (notes_) notes_->SetAllOnTop(false);
}

void TKliMain::CascadeNotes() {
  if (notes_) notes_->Cascade(GetSystemMetrics(SM_CXSCREEN));
}

void TKliMain::CloseAllCommand() {
  if (busy_ > 0) return Defer(&TKliMain::CloseAllCommand);
  if (!notes_) return;
  // Here and not before the deferral: a deferred "Close all " comes in twice.
  if (skin_) skin_->Events().PlayEvent(evClose);
  notes_->CloseAll();
}

void TKliMain::Exit() {
  if (busy_ > 0) return Defer(&TKliMain::Exit);
  CloseSequence();
}

bool TKliMain::RaiseOpenSettingsDialog() const {
  if (settingsDialog_ == nullptr) return false;
  SetForegroundWindow(settingsDialog_);
  return true;
}

void TKliMain::MainOptions() {
  if (RaiseOpenSettingsDialog()) return;
  win::ShowingErrors([this] {
    const NoteSuspension suspended(*this);
    TFOptions dialog(hwnd(), settings_);
    settingsDialog_ = dialog.hwnd();
    const bool ok = dialog.ShowModal() == win::ModalResult::Ok;
    settingsDialog_ = nullptr;
    if (ok) TakeOptions(dialog);
  });
  SaveSettingsShowingErrors();
}

void TKliMain::TakeOptions(const TFOptions& dialog) {
  const uint8_t shownIcon = settings_.TrayIconIndex;
  dialog.TakeSettings(settings_);
  ApplyKeys();
  // A Run key the registry refuses costs that switch only: the other choices still count.
  win::ShowingErrors([this] { ApplyRunAtStartup(settings_.RunAtStartup, programPath_); });
  if (settings_.TrayIconIndex != shownIcon && tray_) ShowBuiltInTrayIcon(settings_.TrayIconIndex);
}

void TKliMain::SkinSelector() {
  if (RaiseOpenSettingsDialog()) return;
  win::ShowingErrors([this] {
    const NoteSuspension suspended(*this);
    std::string chosen;
    {
      TSkinSelector selector(hwnd(), SkinsFolder());
      settingsDialog_ = selector.hwnd();
      if (selector.ShowModal() == win::ModalResult::Ok) chosen = selector.SelectedSkin();
      settingsDialog_ = nullptr;
    }
    if (!chosen.empty()) ApplySkin(chosen);
  });
  SaveSettingsShowingErrors();
}

void TKliMain::ApplySkin(const std::string& name) {
  // The skin object keeps the skin it had when the new one fails, and so do the notes and the
  // setting: the error leaves before any of them changes.
  if (skin_) {
    skin_->ReloadSkin(name, programFolder_);
  } else {
    skin_ = std::make_unique<TQuorSkin>(name, programFolder_);
  }
  if (notes_)
    for (int i = 0; i < notes_->Count(); ++i) notes_->Note(i).ApplyNoteSkin();
  settings_.SkinName = name;
}

std::string TKliMain::SkinsFolder() const {
  if (!skin_) return programFolder_ + "\\skins";
  const std::string& folder = skin_->SkinFolder();
  const size_t slash = folder.find_last_of('\\');
  return slash == std::string::npos ? folder : folder.substr(0, slash);
}

void TKliMain::SaveSettingsShowingErrors() const {
  win::ShowingErrors([this] { SaveSettings(settings_, programFolder_, win::LowerCase); });
}

void TKliMain::MailKli() {
  if (!notes_ || closing_) return;
  const NoteSuspension suspended(*this);
  // Exit and "Close all " wait until the last note has been mailed.
  BusyScope mailing(*this);
  TTmailSend log(hwnd());
  log.Show();
  TQuorMailAccount account = MailAccountFrom(settings_);
  // A certificate the user declined is not asked about again for each further note.
  account.TrustCertificate = [this, &account, declined = std::string()](const CertificatePin& pin,
                                                                       const std::string& problems) mutable {
    if (pin.Fingerprint == declined) return false;
    if (!AskToTrustCertificate(hwnd(), pin, problems)) {
      declined = pin.Fingerprint;
      return false;
    }
    account.TrustedCertificate = pin;
    settings_.SmtpTrustedServer = pin.Server;
    settings_.SmtpTrustedFingerprint = pin.Fingerprint;
    SaveSettingsShowingErrors();
    return true;
  };
  const NoteMailing notes{
      .Count = [this] { return notes_ ? notes_->Count() : 0; },
      .HasRecipients = [this](int i) { return !notes_->Note(i).Data().MailRecipients.empty(); },
      .MailNote = [&](int i, TTmailSend& sendLog) { notes_->Note(i).MailOneNote(account, sendLog, SendMailDialog1); },
  };
  MailAllNotes(notes, log);
}

void TKliMain::About() {
  // Not a suspension: the notes stay. Exit waits until the box is closed.
  BusyScope showing(*this);
  TAboutBox box(hwnd());
  box.ShowModal();
}

void TKliMain::ShowTrayMenu(POINT at) {
  if (!trayAttached_ || suspended_ > 0 || closing_) return;
  UINT chosen = 0;
  {
    BusyScope tracking(*this);
    menu_.UpdateChecks(*this);
    FillRecentlyClosed();
    chosen = menu_.Track(hwnd(), at);
  }
  if (chosen == 0 || closing_ || menu_.Run(*this, chosen)) return;
  if (chosen >= kNoteMenuFirstId && chosen <= kNoteMenuLastId) BringNoteToFront(chosen);
  if (chosen >= kClosedMenuFirstId && chosen < kClosedMenuFirstId + kClosedNotesInMenu) BringBackClosedNote(chosen);
}

void TKliMain::ShowHelp(bool homePage) const {
  const std::string folder = programFolder_ + "\\help";
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(hwnd(), L"open", win::Wide(homePage ? kHomePage : kHelpPage).c_str(), nullptr,
                    homePage ? nullptr : win::Wide(folder).c_str(), SW_SHOWMAXIMIZED));
  if (result <= 32) win::ShowErrorBox(std::string("Can't open ") + (homePage ? kHomePage : folder + "\\" + kHelpPage));
}

void TKliMain::BringNoteToFront(UINT menuId) {
  if (!notes_) return;
  for (int i = 0; i < notes_->Count(); ++i) {
    TTFoglio& note = notes_->Note(i);
    if (note.ListItem().Id() == menuId) return note.setOnFront();
  }
}
