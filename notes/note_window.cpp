#include "notes/note_window.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

#include <utility>

#include "notes/documents_folder.h"
#include "notes/note_file.h"
#include "notes/note_host.h"
#include "res/resource_ids.h"
#include "storage/date_time_text.h"
#include "storage/file_io.h"
#include "win/error_box.h"
#include "win/program_folder.h"

namespace {

constexpr const char kNoteClass[] = "TTFoglio";
constexpr UINT kTrayMessage = WM_APP + 1;
constexpr UINT kTrayId = 1;
// SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE
constexpr UINT kOnTopFlags = 0x13;

HICON NoteIcon() {
  // Icons loaded from the program's resources are shared and never destroyed.
  HICON icon = LoadIconA(win::ProgramInstance(), MAKEINTRESOURCEA(IDI_NOTE));
  return icon != nullptr ? icon : LoadIconA(nullptr, IDI_APPLICATION);
}

}  // namespace

TTFoglio::TTFoglio(bool stampOnCreate, bool ownTrayIcon, std::string storeFolder,
                   std::string storeName, TQuorSkin& skin, StoredVisibility storedVisibility)
    : skin_(skin),
      storeFolder_(std::move(storeFolder)),
      applyShown_(storedVisibility == StoredVisibility::Apply) {
  data_.FileName = DocumentsFolder() + "\\noname.kli";
  data_.StoreName = std::move(storeName);
  data_.OwnTrayIcon = ownTrayIcon;
  // A new note's alarm is set to the moment of creation, inactive, so the alarm dialog opens
  // on that date and time. An alarm time has no seconds.
  const QDateTime now = NowDateTime();
  alarm_.SetAlarmDate(now);
  alarm_.SetAlarmTime(now);
  restored_ = !data_.StoreName.empty();
  listItem_.SetCaption(data_.FileName);

  create({.className = kNoteClass,
          .caption = "",
          .style = WS_POPUP | WS_CLIPCHILDREN,
          .exStyle = WS_EX_TOOLWINDOW,
          .width = skin_.Options().Width,
          .height = skin_.Options().Height,
          .owner = GetDesktopWindow(),
          .classStyle = CS_HREDRAW | CS_VREDRAW});
  text_ = CreateWindowExA(0, "EDIT", "",
                          WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, 0,
                          0, hwnd(), nullptr, win::ProgramInstance(), nullptr);
  if (text_ == nullptr) throw std::runtime_error("Cannot create the note's edit box");
  SendMessageA(text_, EM_SETLIMITTEXT, kTextCapacity, 0);
  // Subclassed by hand, its own procedure kept in its user data: the common controls' subclass
  // looks its chain up in a window property on every message, and under Wine each such lookup
  // is a round trip to the server (a note's edit box gets dozens of messages while it is made
  // and read back). The wide calls keep the edit box a Unicode window, as it was created.
  SetWindowLongPtrW(text_, GWLP_USERDATA, GetWindowLongPtrW(text_, GWLP_WNDPROC));
  SetWindowLongPtrW(text_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TTFoglio::TextBoxProcedure));
  tray_ = std::make_unique<win::TrayIcon>(hwnd(), kTrayId, kTrayMessage);
  FormCreate(stampOnCreate);
  made_ = true;
}

TTFoglio::~TTFoglio() {
  if (NoteHost* host = AttachedController(); host != nullptr && made_) win::ShowingErrors([&] { host->NoteGone(*this); });
  win::ShowingErrors([&] { StoreOnClose(); });
  tray_.reset();
  listItem_.Remove();
  // The window goes while this object is whole, so the messages of its destruction still
  // reach this note's handlers.
  destroy();
}

void TTFoglio::FormCreate(bool stampOnCreate) {
  SetFileName(data_.FileName);
  SetShown(false);
  SetWindowLongPtrA(hwnd(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);
  DragAcceptFiles(hwnd(), TRUE);
  // The window was created at the skin's size.
  ApplyNoteSkin();
  if (skin_.Options().TextBox.BackColor >= 254) SetTextBackColor(data_.BackColor);
  if (storeFolder_.empty()) storeFolder_ = win::ProgramFolder() + "\\cache";
  if (restored_) {
    RestoreFromStore();
  } else {
    data_.StoreName = FreshStoreName();
  }
  if (stampOnCreate) AppendStampLine();
  SetOwnTrayIcon(data_.OwnTrayIcon);
  LayoutFrame();
  applyShown_ = true;
}

void TTFoglio::SetShown(bool visible) {
  if (closed_ && visible) return;
  if ((IsWindowVisible(hwnd()) != FALSE) == visible) return;
  ShowWindow(hwnd(), visible ? SW_SHOW : SW_HIDE);
  const bool changed = data_.Shown != visible;
  data_.Shown = visible;
  if (visible) {
    SetFocus(TextBoxVisible() ? text_ : hwnd());
    if (changed) NoteChanged();
  } else if (made_ && !closed_) {
    Controller().NoteHidden(*this);
  }
}

void TTFoglio::SetOnTop(bool on) {
  // Out of the topmost band is no move at all for a window that is not in it; skipped, every
  // restored note spares a trip to the window server.
  const bool topmost = (GetWindowLongPtrA(hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  if (on || topmost) SetWindowPos(hwnd(), on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, kOnTopFlags);
  const bool changed = data_.OnTop != on;
  data_.OnTop = on;
  UpdateMenuChecks();
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

bool TTFoglio::TextBoxVisible() const {
  // The edit box's own visibility, not whether it can be seen: a hidden note's edit box still
  // counts as showing.
  return (GetWindowLongPtrA(text_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void TTFoglio::SetEditing(bool on) {
  if (!skin_.Options().Activable || TextBoxVisible() == on) return;
  if (on) {
    FormActivate();
  } else {
    FormDeactivate();
  }
}

void TTFoglio::FormActivate() {
  if (TextBoxVisible()) return;
  Controller().EndNoteEditing();
  ShowWindow(text_, SW_SHOW);
  surface_.HideTextLabel();
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void TTFoglio::FormDeactivate() {
  if (skin_.Options().Activable) {
    ShowWindow(text_, SW_HIDE);
    surface_.ShowTextLabel(JoinEditLines(LinesToStore(DisplayedLines())));
    InvalidateRect(hwnd(), nullptr, FALSE);
  } else if (!TextBoxVisible()) {
    ShowWindow(text_, SW_SHOW);
    surface_.HideTextLabel();
    InvalidateRect(hwnd(), nullptr, FALSE);
  }
}

void TTFoglio::SetFileName(const std::string& path) {
  data_.FileName = path;
  const TSkinOptions& look = skin_.Options();
  const std::string caption = look.Caption.OnlyFileName ? FileNamePart(path) : path;
  SetWindowTextA(hwnd(), look.WindowTitle.Standard ? look.WindowTitle.Title.c_str() : path.c_str());
  if (!closed_) listItem_.SetCaption(path);
  surface_.SetCaptionText(caption);
  if (tray_) tray_->SetHint(path);
  InvalidateRect(hwnd(), nullptr, FALSE);
  NoteChanged();
}

void TTFoglio::OpenFileInNote(const std::string& path) {
  LoadNote(path);
  SetFileName(path);
}

void TTFoglio::SetOwnTrayIcon(bool on) {
  data_.OwnTrayIcon = on;
  UpdateMenuChecks();
  if (on) {
    tray_->Show(NoteIcon(), data_.FileName);
  } else {
    tray_->Hide();
  }
  NoteChanged();
}

void TTFoglio::NoteChanged() {
  if (made_ && !closed_) Controller().NoteChanged(*this);
}

void TTFoglio::AppendStampLine() {
  std::string text = Text();
  if (!text.empty() && !text.ends_with("\r\n")) text += "\r\n";
  SetText(text + DateTimeStamp(NowDateTime(), UserLocalePictures()));
}

int TTFoglio::Left() const {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  return r.left;
}

int TTFoglio::Top() const {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  return r.top;
}

int TTFoglio::Width() const {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  return r.right - r.left;
}

int TTFoglio::Height() const {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  return r.bottom - r.top;
}

void TTFoglio::MoveTo(int left, int top) {
  SetWindowPos(hwnd(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string TTFoglio::Text() const {
  const int length = GetWindowTextLengthA(text_);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(text_, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied));
  return text;
}

void TTFoglio::SetText(const std::string& text) {
  if (text.size() > static_cast<size_t>(kTextCapacity) || !SetWindowTextA(text_, text.c_str())) {
    throw std::runtime_error("Text exceeds memo capacity.");
  }
  // A multi-line edit box reports no change of a text set by the program.
  NoteChanged();
}

std::vector<std::string> TTFoglio::DisplayedLines() const {
  const int count = static_cast<int>(SendMessageA(text_, EM_GETLINECOUNT, 0, 0));
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const auto start = SendMessageA(text_, EM_LINEINDEX, static_cast<WPARAM>(i), 0);
    const auto length = static_cast<size_t>(SendMessageA(text_, EM_LINELENGTH, static_cast<WPARAM>(start), 0));
    // EM_GETLINE takes the buffer size in its first word and writes no terminating NUL.
    std::string line(std::max<size_t>(length, sizeof(WORD)), '\0');
    *reinterpret_cast<WORD*>(line.data()) = static_cast<WORD>(std::min<size_t>(line.size(), 0xFFFF));
    const auto copied = static_cast<size_t>(
        SendMessageA(text_, EM_GETLINE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line.data())));
    line.resize(std::min(copied, length));
    lines.push_back(std::move(line));
  }
  return lines;
}

LRESULT TTFoglio::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_SIZE:
      PlacePieces();
      return 0;
    case WM_CTLCOLOREDIT:
      if (reinterpret_cast<HWND>(lp) == text_) return TextBoxColors(reinterpret_cast<HDC>(wp));
      break;
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        FormDeactivate();
      } else {
        FormActivate();
        if (TextBoxVisible() && HIWORD(wp) == 0) SetFocus(text_);
      }
      return 0;
    case WM_SETFOCUS:
      if (TextBoxVisible()) SetFocus(text_);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
      const NotePart part = surface_.PartAt(x, y);
      const POINT origin = surface_.PartOrigin(part);
      MousePress(part, x - origin.x, y - origin.y);
      return 0;
    }
    case WM_MOUSEMOVE: {
      const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
      // While a button is held the part that got the press keeps getting the moves.
      const POINT origin = surface_.PartOrigin(pressed_ ? pressedPart_ : surface_.PartAt(x, y));
      MouseMove(x - origin.x, y - origin.y);
      return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const bool wasPressed = pressed_;
      const NotePart part = pressedPart_;
      MouseRelease();
      if (wasPressed && surface_.PartAt(GET_X_LPARAM(lp), GET_Y_LPARAM(lp)) == part) {
        if (msg == WM_LBUTTONUP) PictureClicked(part);
        if (msg == WM_RBUTTONUP) PictureContextMenu(part);
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      // Another window took the mouse (a menu, a message box): the press is over.
      if (reinterpret_cast<HWND>(lp) != hwnd() && pressed_) {
        pressed_ = false;
        mouse_.Release();
      }
      return 0;
    case WM_SETCURSOR:
      if (SetCursorFor(reinterpret_cast<HWND>(wp), LOWORD(lp))) return TRUE;
      break;
    case WM_TIMER:
      if (wp == kAlarmTimerId) {
        AlarmTick();
        return 0;
      }
      if (wp == kBlinkTimerId) {
        onTimer();
        return 0;
      }
      break;
    case WM_DROPFILES:
      DropFiles(reinterpret_cast<HDROP>(wp));
      return 0;
    case WM_COMMAND:
      // Menus and accelerators, and the edit box telling of the user's typing.
      if (lp == 0 && RunMenuCommand(LOWORD(wp))) return 0;
      if (reinterpret_cast<HWND>(lp) == text_ && HIWORD(wp) == EN_CHANGE) {
        NoteChanged();
        return 0;
      }
      break;
    case WM_WINDOWPOSCHANGED:
      if ((reinterpret_cast<const WINDOWPOS*>(lp)->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE))
        NoteChanged();
      break;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wp) == text_) {
        POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        if (lp == -1) {
          // From the keyboard: at the edit box's top-left corner.
          at = {0, 0};
          ClientToScreen(text_, &at);
        }
        ShowTextMenu(at);
        return 0;
      }
      break;
    case WM_CLOSE:
      // A note closed by the system is hidden and saved, never destroyed: the note list owns it.
      StoreOnClose();
      ShowWindow(hwnd(), SW_HIDE);
      return 0;
    case kTextBoxMouseMove:
      TextBoxMouseMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return 0;
    case kTrayMessage:
      TrayNotification(lp);
      return 0;
    default:
      if (msg == taskbarCreated_ && tray_) {
        tray_->Restore();
        return 0;
      }
      break;
  }
  return defaultHandling(msg, wp, lp);
}
