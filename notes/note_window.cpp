#include "notes/note_window.h"

#include <windowsx.h>

#include <exception>
#include <random>
#include <tuple>
#include <utility>

#include "notes/documents_folder.h"
#include "notes/note_file.h"
#include "notes/note_host.h"
#include "res/resource_ids.h"
#include "storage/date_time_text.h"
#include "storage/file_io.h"
#include "win/error_box.h"
#include "win/program_folder.h"
#include "win/recycle_bin.h"

namespace {

constexpr UINT kTrayMessage = WM_APP + 1;
constexpr UINT kTrayId = 1;
// SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE
constexpr UINT kOnTopFlags = 0x13;

// A new note has the skin's size; a restored one is made where its file places it.
TTFoglio::StoreRead ReadStoreFile(const std::string& folder, const std::string& name, const TSkinOptions& look) {
  TTFoglio::StoreRead read;
  read.data.Width = look.Width;
  read.data.Height = look.Height;
  if (name.empty()) return read;
  try {
    NoteStore(folder, name).Load(read.data, read.itemsRead);
  } catch (const std::exception& e) {
    read.failure = e.what();
  }
  return read;
}

win::WindowSpec NoteWindowSpec(const NoteData& place) {
  return {.className = "TTFoglio",
          .caption = "",
          .style = WS_POPUP | WS_CLIPCHILDREN,
          .exStyle = WS_EX_TOOLWINDOW,
          .x = place.Left,
          .y = place.Top,
          .width = place.Width,
          .height = place.Height,
          .owner = GetDesktopWindow(),
          .classStyle = CS_HREDRAW | CS_VREDRAW};
}

NoteData NewNoteData(bool ownTrayIcon) {
  NoteData data;
  data.FileName = DocumentsFolder() + "\\noname.kli";
  data.OwnTrayIcon = ownTrayIcon;
  return data;
}

HICON NoteIcon() {
  // Icons loaded from the program's resources are shared and never destroyed.
  HICON icon = LoadIconA(win::ProgramInstance(), MAKEINTRESOURCEA(IDI_NOTE));
  return icon != nullptr ? icon : LoadIconA(nullptr, IDI_APPLICATION);
}

}  // namespace

TTFoglio::TTFoglio(NoteHost& host, bool stampOnCreate, bool ownTrayIcon, std::string storeFolder,
                   std::string storeName, TQuorSkin& skin, StoredVisibility storedVisibility, unsigned alarmTickMs)
    : TTFoglio(ReadStoreFile(storeFolder, storeName, skin.Options()), host, stampOnCreate, ownTrayIcon, storeFolder,
               storeName, skin, storedVisibility, alarmTickMs) {}

TTFoglio::TTFoglio(const StoreRead& read, NoteHost& host, bool stampOnCreate, bool ownTrayIcon,
                   const std::string& storeFolder, const std::string& storeName, TQuorSkin& skin,
                   StoredVisibility storedVisibility, unsigned alarmTickMs)
    : win::Window(NoteWindowSpec(read.data)),
      host_(host),
      skin_(skin),
      data_(NewNoteData(ownTrayIcon)),
      store_(storeFolder.empty() ? win::ProgramFolder() + "\\cache" : storeFolder, storeName),
      applyShown_(storedVisibility == StoredVisibility::Apply),
      textBox_(hwnd(), PlaceTextBox(skin.Options(), read.data.Width, read.data.Height)),
      mouse_(hwnd(), surface_),
      alarm_(hwnd(), textBox_, NowDateTime(), alarmTickMs),
      commands_(*this),
      listItem_(data_.FileName),
      tray_(hwnd(), kTrayId, kTrayMessage) {
  FormCreate(stampOnCreate, read);
  made_ = true;
}

TTFoglio::~TTFoglio() {
  if (made_) win::ShowingErrors([&] { host_.NoteGone(*this); });
  win::ShowingErrors([&] { StoreOnClose(); });
  tray_.Hide();
  listItem_.Remove();
  // The window goes while this object is whole, so the messages of its destruction still
  // reach this note's handlers.
  destroy();
}

void TTFoglio::FormCreate(bool stampOnCreate, const StoreRead& read) {
  // A restored note takes the name its file holds.
  if (!ItemRead(read.itemsRead, NoteItemId::FileName)) SetFileName(data_.FileName);
  SetShown(false);
  DragAcceptFiles(hwnd(), TRUE);
  // The window was made at the skin's size, or at the place and size its file holds.
  ApplyNoteSkin();
  if (skin_.Options().TextBox.BackColor >= 254) SetTextBackColor(data_.BackColor);
  if (store_.Name().empty()) {
    TakeFreshStoreName();
  } else {
    RestoreFromStore(read);
  }
  if (stampOnCreate) AppendStampLine();
  SetOwnTrayIcon(data_.OwnTrayIcon);
  LayoutFrame();
  applyShown_ = true;
}

void TTFoglio::SetShown(bool visible, Focus focus) {
  if (closed_ && visible) return;
  if (suspendedShown_) *suspendedShown_ = visible;
  if ((IsWindowVisible(hwnd()) != FALSE) == visible) return;
  // Checked before it shows: a note is never seen where it cannot be reached.
  if (visible) KeepWithinReach(host_.WorkAreas());
  ShowWindow(hwnd(), !visible ? SW_HIDE : focus == Focus::Take ? SW_SHOW : SW_SHOWNA);
  const bool changed = data_.Shown != visible;
  data_.Shown = visible;
  if (visible) {
    if (focus == Focus::Take) TakeFocus();
    if (changed) NoteChanged();
  } else if (made_ && !closed_) {
    host_.NoteHidden(*this);
  }
}

void TTFoglio::TakeFocus() { SetFocus(textBox_.Visible() ? textBox_.hwnd() : hwnd()); }

void TTFoglio::Suspend() {
  if (suspendedShown_) return;
  suspendedShown_ = IsWindowVisible(hwnd()) != FALSE;
  // Hidden directly: Shown, the stored visibility, stays.
  ShowWindow(hwnd(), SW_HIDE);
}

void TTFoglio::Resume() {
  if (const std::optional<bool> shown = std::exchange(suspendedShown_, std::nullopt)) SetShown(*shown);
}

void TTFoglio::SetOnTop(bool on) {
  // Out of the topmost band is no move at all for a window that is not in it; skipped, every
  // restored note spares a trip to the window server.
  const bool topmost = (GetWindowLongPtrA(hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  if (on || topmost) SetWindowPos(hwnd(), on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, kOnTopFlags);
  const bool changed = data_.OnTop != on;
  data_.OnTop = on;
  commands_.UpdateChecks();
  FormActivate();
  if (changed) NoteChanged();
}

void TTFoglio::setOnFront() {
  skin_.Events().PlayEvent(evMaximize);
  SetShown(true);
  const bool onTop = data_.OnTop;
  SetOnTop(true);
  SetOnTop(onTop);
}

void TTFoglio::SetEditing(bool on) {
  if (!skin_.Options().Activable || textBox_.Visible() == on) return;
  if (on) {
    FormActivate();
  } else {
    FormDeactivate();
  }
}

void TTFoglio::FormActivate() {
  if (textBox_.Visible()) return;
  host_.EndNoteEditing(*this);
  textBox_.Show(true);
  surface_.HideTextLabel();
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void TTFoglio::FormDeactivate() {
  if (skin_.Options().Activable) {
    textBox_.Show(false);
    surface_.ShowTextLabel(JoinEditLines(LinesToStore(textBox_.DisplayedLines())));
    InvalidateRect(hwnd(), nullptr, FALSE);
  } else if (!textBox_.Visible()) {
    textBox_.Show(true);
    surface_.HideTextLabel();
    InvalidateRect(hwnd(), nullptr, FALSE);
  }
}

void TTFoglio::SetFileName(const std::string& path) {
  data_.FileName = path;
  const TSkinOptions& look = skin_.Options();
  win::SetTitle(hwnd(), look.WindowTitle.Standard ? look.WindowTitle.Title : path);
  if (!closed_) listItem_.SetCaption(path);
  surface_.SetCaptionText(look.Caption.OnlyFileName ? FileNamePart(path) : path);
  tray_.SetHint(path);
  InvalidateRect(hwnd(), nullptr, FALSE);
  NoteChanged();
}

void TTFoglio::SetOwnTrayIcon(bool on) {
  data_.OwnTrayIcon = on;
  commands_.UpdateChecks();
  if (on) {
    tray_.Show(NoteIcon(), data_.FileName);
  } else {
    tray_.Hide();
  }
  NoteChanged();
}

void TTFoglio::MoveTo(int left, int top) {
  SetWindowPos(hwnd(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

WindowBox TTFoglio::Bounds() const { return BoundsOf(hwnd()); }

void TTFoglio::PlaceWindow(const WindowBox& box) {
  placedAt_ = box;
  if (Bounds() != box)
    SetWindowPos(hwnd(), nullptr, box.Left, box.Top, box.Width, box.Height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TTFoglio::WindowMoved() {
  // Moved or sized by the user (or a command of the user's): the note's new place. The display
  // server may confirm a place the note gave itself later, and that is no move.
  if (Bounds() != placedAt_) {
    data_.UserPlaceKept = false;
    placedAt_.reset();
  }
  NoteChanged();
}

void TTFoglio::KeepWithinReach(std::span<const ScreenArea> workAreas) {
  const WindowBox now = Bounds();
  const WindowBox user = data_.UserPlaceKept ? WindowBox{data_.UserLeft, data_.UserTop, data_.UserWidth, data_.UserHeight} : now;
  const WindowBox place = ReachablePlace(workAreas, now, user, skin_.Options().MoveArea);
  if (place == now) return;
  PlaceWindow(place);
  data_.UserPlaceKept = place != user;
  std::tie(data_.UserLeft, data_.UserTop, data_.UserWidth, data_.UserHeight) =
      std::tuple(user.Left, user.Top, user.Width, user.Height);
  NoteChanged();
}

void TTFoglio::NoteChanged() {
  if (made_ && !closed_) host_.NoteChanged(*this);
}

void TTFoglio::SetText(const std::string& text) {
  textBox_.SetText(text);
  // A multi-line edit box reports no change of a text set by the program.
  NoteChanged();
}

void TTFoglio::AppendStampLine() {
  std::string text = textBox_.Text();
  if (!text.empty() && !text.ends_with("\r\n")) text += "\r\n";
  SetText(text + DateTimeStamp(NowDateTime(), UserLocalePictures()));
}

void TTFoglio::onAlarm() {
  skin_.Events().PlayEvent(evAlarm);
  SetShown(true);
  // Stays on top after the alarm, until the user says otherwise.
  SetOnTop(true);
  alarm_.SetBlinking(true);
}

void TTFoglio::CloseNote() {
  // Every step runs whatever failed before it: a note marked closed must not stay visible,
  // keep its store file (it would come back at the next start) or keep a running alarm.
  std::exception_ptr failure;
  const auto step = [&failure](auto&& action) {
    try {
      action();
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  };
  step([&] { SetEditing(true); });
  step([&] { SetOwnTrayIcon(false); });
  closed_ = true;
  // Forgotten before its store file goes: no later write may bring the file back.
  if (made_) step([&] { host_.NoteGone(*this); });
  step([&] {
    // The text goes to the recycle bin under the note's file name; the file of that name (the
    // user's document, or the last note saved as noname.kli) is left as it is.
    if (host_.DeleteToRecycleBin()) {
      win::RecycleCopy(FileNamePart(data_.FileName), [&](const std::string& copy) { SaveNote(copy); });
    }
  });
  // Kept among the closed notes as it was, alarm and all, so that it can come back; a note that
  // cannot be kept is deleted as it always was.
  step([&] {
    try {
      store_.Save(store_.Path(), Snapshot(), [this] { return textBox_.Text(); });
      host_.KeepClosedNote(store_.Path());
    } catch (...) {
      store_.Delete();
      throw;
    }
  });
  step([&] { alarm_.SetActive(false); });
  listItem_.Remove();
  step([&] { SetShown(false); });
  if (failure) std::rethrow_exception(failure);
}

LRESULT TTFoglio::handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (const auto mouse = mouse_.Handle(msg, wp, lp, skin_.Options())) {
    if (mouse->StartEditing) SetEditing(true);
    if (mouse->Relayout) LayoutFrame();
    if (mouse->Clicked) commands_.PictureClicked(*mouse->Clicked);
    if (mouse->ContextMenu) commands_.PictureContextMenu(*mouse->ContextMenu);
    return mouse->Result;
  }
  const auto fromTextBox = [&] { return reinterpret_cast<HWND>(lp) == textBox_.hwnd(); };
  bool alarmFired = false;
  switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: surface_.PaintWindow(hwnd(), textBox_); return 0;
    case WM_SIZE: PlacePieces(); return 0;
    case WM_CTLCOLOREDIT: return fromTextBox() ? textBox_.Colors(reinterpret_cast<HDC>(wp)) : defaultHandling(msg, wp, lp);
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        FormDeactivate();
      } else {
        FormActivate();
        if (textBox_.Visible() && HIWORD(wp) == 0) SetFocus(textBox_.hwnd());
      }
      return 0;
    case WM_SETFOCUS:
      if (textBox_.Visible()) SetFocus(textBox_.hwnd());
      return 0;
    case WM_TIMER:
      if (!alarm_.OnTimer(wp, alarmFired)) break;
      if (alarmFired) onAlarm();
      return 0;
    case WM_DROPFILES: commands_.DropFiles(reinterpret_cast<HDROP>(wp)); return 0;
    case WM_COMMAND:
      // Menus and accelerators, and the edit box telling of the user's typing.
      if (lp == 0 && commands_.Run(LOWORD(wp))) return 0;
      if (fromTextBox() && HIWORD(wp) == EN_CHANGE) NoteChanged();
      break;
    case WM_WINDOWPOSCHANGED:
      if ((reinterpret_cast<const WINDOWPOS*>(lp)->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE))
        WindowMoved();
      break;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wp) != textBox_.hwnd()) break;
      commands_.TextBoxContextMenu(lp);
      return 0;
    case WM_CLOSE:
      // A note closed by the system is hidden and saved, never destroyed: the note list owns it.
      StoreOnClose();
      ShowWindow(hwnd(), SW_HIDE);
      return 0;
    case NoteTextBox::kMouseMoveMessage: mouse_.TextBoxMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp), skin_.Options()); return 0;
    case kTrayMessage: commands_.TrayNotification(lp); return 0;
    default:
      if (msg == taskbarCreated_) tray_.Restore();
  }
  return defaultHandling(msg, wp, lp);
}

bool TTFoglio::PreTranslateMessage(MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  const HACCEL shortcuts = commands_.Accelerators(msg.hwnd == textBox_.hwnd());
  return shortcuts != nullptr && TranslateAcceleratorW(hwnd(), shortcuts, &msg) != 0;
}
