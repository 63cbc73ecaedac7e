// The controller window's messages: the open interface for other processes, the tray icon's
// notifications, the session's end and the loss of focus.
#include "app/main_window.h"
#include "notes/note_window.h"
#include "win/error_box.h"

#include <algorithm>
#include <utility>

LRESULT TKliMain::handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == taskbarCreated_ && msg != 0) {
    if (tray_) tray_->Restore();
    return 0;
  }
  switch (msg) {
    case UM_PING: return kPingAnswer;
    case UM_OPENLIST:
      // A list that cannot be read is shown as an error and answers 0.
      OpenHandOverList();
      return 1;
    case UM_FILENAMECHAR: return FileNameChar(wp, lp);
    case UM_COMMAND:
      if (const auto command = DecodeCommand(wp, static_cast<std::int64_t>(lp)))
        win::ShowingErrors([&] { RunCommand(*command, lp); });
      return 1;
    case UM_OPTIONS:
      // The sender waits until the dialog closes.
      MainOptions();
      return 0;
    case WM_COPYDATA: return CopyData(reinterpret_cast<const COPYDATASTRUCT*>(lp));
    case WM_TIMER:
      if (wp == kSaveTimerId) CarryOut(saves_.Tick(static_cast<SaveMoment>(GetTickCount64())));
      if (wp == kKeysTimerId) KeysTimer();
      return 0;
    case WM_HOTKEY:
      HotKeyPressed(wp);
      return 0;
    case WM_DISPLAYCHANGE:
      DisplaysChanged();
      return 0;
    case WM_SETTINGCHANGE:
      if (wp == SPI_SETWORKAREA) DisplaysChanged();
      return 0;
    case WM_POWERBROADCAST:
      if (wp == PBT_APMSUSPEND) SaveUnsavedNotes();
      return TRUE;
    case kTrayMessage:
      TrayNotification(lp);
      return 0;
    case WM_ACTIVATEAPP:
      // The program lost the focus: notes of an Activable skin go back to their display.
      if (!wp && trayAttached_ && !closing_ && notes_) notes_->EndEditing();
      return 0;
    case WM_QUERYENDSESSION:
      // The session may end without another word: every note is on disk before we agree.
      SaveAllNotes();
      return TRUE;
    case WM_ENDSESSION:
      if (wp) {
        // While a dialog is open its note is still in use: only save; otherwise close as at Exit.
        if (busy_ > 0) SaveAllNotes();
        else CloseSequence();
      }
      return 0;
    case WM_COMMAND:
      // The commands deferred while the controller was busy come back this way.
      if (lp == 0 && HIWORD(wp) == 0) menu_.Run(*this, LOWORD(wp));
      return 0;
    case WM_CLOSE:
      Exit();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default: return defaultHandling(msg, wp, lp);
  }
}

LRESULT TKliMain::FileNameChar(WPARAM wp, LPARAM lp) {
  switch (PendingFileName::Classify(wp, static_cast<std::int64_t>(lp))) {
    case PendingFileName::Step::Clear: pendingFileName_.Clear(); return 1;
    case PendingFileName::Step::Open:
      win::ShowingErrors([this] { OpenNote(pendingFileName_.Text()); });
      return 1;
    case PendingFileName::Step::Append:
      return static_cast<LRESULT>(pendingFileName_.Append(static_cast<unsigned char>(lp & 0xFF)));
    case PendingFileName::Step::Ignore: break;
  }
  return 1;
}

LRESULT TKliMain::CopyData(const COPYDATASTRUCT* data) {
  if (data == nullptr) return 0;
  if (data->dwData != kCopyDataOpen && data->dwData != kCopyDataOpenAndPrint) return 0;
  const std::string path = CopyDataPath(data->lpData, data->cbData);
  const bool print = data->dwData == kCopyDataOpenAndPrint;
  win::ShowingErrors([&] {
    if (TTFoglio* note = OpenNote(path); note != nullptr && print) note->Printklinote1Click();
  });
  return 1;
}

void TKliMain::TrayNotification(LPARAM mouseMessage) {
  if (!trayAttached_ || suspended_ > 0 || closing_) return;
  switch (LOWORD(mouseMessage)) {
    case WM_LBUTTONUP:
      if (notes_) notes_->EndEditing();
      switch (settings_.TrayClickAction) {
        case taNewNote: NewNote(); break;
        case taShowAll: SetAllVisible(true); break;
        case taToggleAll: SetAllVisible(!allShown_); break;
        case taShowMenu: {
          POINT at{};
          GetCursorPos(&at);
          ShowTrayMenu(at);
          break;
        }
        default: break;
      }
      break;
    case WM_RBUTTONUP: {
      if (notes_) notes_->EndEditing();
      POINT at{};
      GetCursorPos(&at);
      ShowTrayMenu(at);
      break;
    }
    default: break;
  }
}

void TKliMain::Defer(void (TKliMain::*command)()) {
  if (std::find(deferred_.begin(), deferred_.end(), command) == deferred_.end()) deferred_.push_back(command);
}

void TKliMain::LeaveBusy() {
  if (--busy_ > 0 || closing_ || hwnd() == nullptr) return;
  // Posted, not run here: the caller that was busy (a note's dialog) is still on the stack.
  for (const auto command : std::exchange(deferred_, {})) PostMessageA(hwnd(), WM_COMMAND, menu_.IdOf(command), 0);
}
