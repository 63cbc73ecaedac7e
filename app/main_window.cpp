#include "app/main_window.h"

#include <chrono>

#include "app/closed_notes.h"
#include "app/file_type.h"
#include "app/note_folder.h"
#include "app/settings_file.h"
#include "app/tray_menu.h"
#include "look/skin.h"
#include "notes/note_window.h"
#include "res/resource_ids.h"
#include "storage/file_io.h"
#include "win/error_box.h"
#include "win/program_folder.h"
#include "win/unicode.h"

namespace {

constexpr UINT kTrayIconId = 1;

// New notes land at random places; one generator seeded from the clock at start serves them all
// (seeding again per note would put notes made within one clock tick on the same spot).
std::mt19937 ClockSeededGenerator() {
  const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  return std::mt19937(static_cast<std::mt19937::result_type>(ticks ^ GetCurrentProcessId()));
}

}  // namespace

TKliMain::TKliMain(std::vector<std::string> arguments, std::string programFolder)
    : programFolder_(std::move(programFolder)),
      notesFolder_(NotesFolderOf(programFolder_)),
      random_(ClockSeededGenerator()),
      closedNotes_(ClosedNotesFolderOf(programFolder_)),
      menu_(TrayMenuRows(), kTrayFirstCommandId),
      noteMenu_(menu_.Submenu(kNoteSubmenu)) {
  // The extended style comes at the end of the start-up; until then the window is a plain
  // hidden one of size 0 that other processes can already find.
  SendMailDialog1.Border = bsSingle;
  SendMailDialog1.Color = 0x8080FF;
  SendMailDialog1.Font = {.Name = "MS Sans Serif", .Height = -12, .Color = 0x000000};
  create({.className = kControllerClass, .caption = kControllerCaption, .style = WS_POPUP});
  keys_ = std::make_unique<GlobalKeys>(hwnd());
  {
    BusyScope starting(*this);
    StartUp(arguments);
  }
  AttachTray();
  starting_ = false;
  ReportDamagedNotes();
  ApplyKeys(3);
}

TKliMain::~TKliMain() { CloseSequence(); }

void TKliMain::StartUp(const std::vector<std::string>& arguments) {
  // Any step may fail (a damaged skin, a registry that refuses keys); its error is shown and
  // the start goes on, so the program always ends up with its tray icon and menu.
  settings_.ConfigName = std::string(kConfigFileName);
  settings_.ConfigFolder = win::LowerCase(programFolder_);
  programPath_ = win::LowerCase(win::ProgramFilePath());
  // A damaged configuration file is shown and the program runs on the defaults. Nothing is
  // written here: the file is first written again by the next SaveSettings.
  win::ShowingErrors([this] { LoadSettings(settings_); });
  // The icon shows from here on; clicks on it do nothing until the start-up is complete.
  tray_ = std::make_unique<win::TrayIcon>(hwnd(), kTrayIconId, kTrayMessage);
  win::ShowingErrors([this] { LoadTrayIcon(); });
  tray_->Show(trayImage_.get(), kTrayHint);
  allShown_ = settings_.StartupShow != ssShowNone;

  if (!win::ShowingErrors([this] { skin_ = std::make_unique<TQuorSkin>(settings_.SkinName, programFolder_); }) &&
      settings_.SkinName != "default") {
    win::ShowingErrors([this] { skin_ = std::make_unique<TQuorSkin>("default", programFolder_); });
  }
  workAreas_ = MonitorWorkAreas();
  notes_ = std::make_unique<TQuorLista>(*this);
  // Before any note is read or written: the folder exists, and what an interrupted save left
  // there is gone (the store files themselves are intact).
  win::ShowingErrors([this] { PrepareNotesFolder(notesFolder_); });
  if (skin_) RestoreNotes();
  OpenPaths(arguments);
  win::ShowingErrors([this] { RegisterFileType(programPath_); });
}

void TKliMain::AttachTray() {
  // Nothing between these two lets a message in: once the style shows, clicks are served.
  SetWindowLongPtrA(hwnd(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);
  trayAttached_ = true;
}

void TKliMain::LoadTrayIcon() {
  const TrayIconChoice choice = ChooseTrayIcon(settings_, FileExists(settings_.TrayIconFile));
  HICON icon = nullptr;
  if (!choice.file.empty()) {
    icon = static_cast<HICON>(
        LoadImageW(nullptr, win::Wide(choice.file).c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
  }
  // An icon file that exists but will not load shows the built-in icon chosen with it.
  if (icon == nullptr) return ShowBuiltInTrayIcon(choice.builtIn);
  trayImage_.reset(icon);
  tray_->SetIcon(trayImage_.get());
}

void TKliMain::ShowBuiltInTrayIcon(uint8_t index) {
  trayImage_.reset(static_cast<HICON>(LoadImageA(win::ProgramInstance(), MAKEINTRESOURCEA(IDI_TRAY0 + index),
                                                 IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), 0)));
  tray_->SetIcon(trayImage_.get());
}

void TKliMain::RestoreNotes() {
  TTFoglio* lastShown = nullptr;
  for (const std::string& name : NoteFileNames(notesFolder_)) {
    // One unreadable note file costs that note only; the others are restored. A file that cannot
    // even be opened makes no note at all: an empty stand-in would be saved under a new name.
    win::ShowingErrors([&] {
      RequireReadableFile(notesFolder_ + "\\" + name);
      TTFoglio& note = notes_->AddFromFile(Skin(), name, notesFolder_);
      using enum TTFoglio::Focus;
      switch (settings_.StartupShow) {
        case ssLastState: note.SetShown(note.Shown(), Leave); break;
        case ssShowAll: note.SetShown(true, Leave); break;
        case ssShowNone: note.SetShown(false); break;
        default: break;
      }
      if (IsWindowVisible(note.hwnd())) lastShown = &note;
      InsertMenuEntry(note);
    });
  }
  if (lastShown != nullptr) lastShown->TakeFocus();
}

void TKliMain::SaveAllNotes() {
  if (!notes_) return;
  for (int i = 0; i < notes_->Count(); ++i) {
    TTFoglio& note = notes_->Note(i);
    if (!note.Closed()) win::ShowingErrors([&] { note.SaveNote(note.Store().Path()); });
  }
}

void TKliMain::CloseSequence() {
  if (closing_) return;
  closing_ = true;
  trayAttached_ = false;
  {
    // Out of the member first, so that whatever the closing notes set off finds no list.
    std::unique_ptr<TQuorLista> notes = std::move(notes_);
    notes.reset();
  }
  skin_.reset();
  tray_.reset();
  destroy();
}

TQuorSkin& TKliMain::Skin() const {
  if (!skin_) throw std::runtime_error("No skin is loaded: notes cannot be made");
  return *skin_;
}

void TKliMain::InsertMenuEntry(TTFoglio& note) { note.ListItem().InsertInto(noteMenu_, 0); }

bool TKliMain::StoreNameInUse(const std::string& storeName, const TTFoglio* asking) const {
  return notes_ && notes_->UsesStoreName(storeName, asking);
}

void TKliMain::SuspendNotes() {
  ++busy_;
  // A dialog opened while another one is open must not take the hidden state for the real one.
  if (suspended_++ > 0) return;
  SaveUnsavedNotes();
  if (notes_) notes_->Suspend();
}

void TKliMain::ResumeNotes() {
  if (suspended_ == 0) return;
  if (--suspended_ == 0 && notes_) notes_->Resume();
  LeaveBusy();
}

void TKliMain::DisplaysChanged() {
  workAreas_ = MonitorWorkAreas();
  if (notes_) notes_->KeepWithinReach(workAreas_);
}

void TKliMain::EndNoteEditing(TTFoglio& editing) {
  if (notes_) notes_->EndEditing(&editing);
}
