// The commands a user gives one note: its picture buttons, its two menus with their shortcuts,
// its own tray icon and files dropped on it. Every command that opens a dialog hides the notes
// for the dialog's time (NoteSuspension) and owns the dialog by the note window.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <exception>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <utility>

#include "alarms/alarm_dialog.h"
#include "mail/mail_to_form.h"
#include "notes/dropped_files.h"
#include "notes/note_file.h"
#include "notes/note_host.h"
#include "notes/note_window.h"
#include "storage/file_io.h"
#include "win/error_box.h"
#include "win/file_dialog.h"
#include "win/printer.h"
#include "win/recycle_bin.h"

namespace {

using Row = win::CommandRow<TTFoglio>;

// The two menus' command ids, apart so that one WM_COMMAND names one command.
constexpr UINT kGeneralMenuFirstId = 100;
constexpr UINT kTextMenuFirstId = 200;

}  // namespace

constexpr win::CommandRow<TTFoglio> TTFoglio::kFileMenuRows[2] = {
    {"Open ", "Ctrl+F12", &TTFoglio::OpenFile2Click},
    {"Save as", "Shift+F12", &TTFoglio::SaveFile1Click},
};

std::span<const win::CommandRow<TTFoglio>> TTFoglio::GeneralMenuRows() {
  static constexpr Row kPrint[] = {
      {"Print ", "Ctrl+P", &TTFoglio::Printklinote1Click},
      {"Printer setup", nullptr, &TTFoglio::Printersetup1Click},
  };
  static constexpr Row kApparence[] = {
      {"Select font style and color", "Ctrl+Alt+F", &TTFoglio::Selectfont1Click},
      {"Select Background color", "Ctrl+Alt+B", &TTFoglio::SelectBackgroundcolor1Click},
      {"Insert date/time", "Ctrl+I", &TTFoglio::Insertdatetime1Click},
      {"-"},
      {"Always on top", "Ctrl+Alt+T", &TTFoglio::Alwaysontop1Click, &TTFoglio::OnTop},
      {"Tray icon area", nullptr, &TTFoglio::TrayIconArea1Click, &TTFoglio::OwnTrayIcon},
  };
  static constexpr Row kRows[] = {
      {"File", nullptr, nullptr, nullptr, kFileMenuRows},
      {"Print", nullptr, nullptr, nullptr, kPrint},
      {"Apparence", nullptr, nullptr, nullptr, kApparence},
      {"-"},
      {"Set alarm", nullptr, &TTFoglio::Setalarm1Click},
      {"Mail to", nullptr, &TTFoglio::Mailthisnote1Click},
      {"-"},
      {"Hide", nullptr, &TTFoglio::Closethisnote2Click},
      {"Close", "F4", &TTFoglio::Deletethisnote2Click},
  };
  static_assert(win::AllShortcutsParse(kRows));
  return kRows;
}

std::span<const win::CommandRow<TTFoglio>> TTFoglio::TextMenuRows() {
  // Never shown: here so that these shortcuts work while the user types in the edit box.
  static constexpr Row kInvisible[] = {
      {"print_inv", "Ctrl+P", &TTFoglio::Printklinote1Click},
      {"font", "Ctrl+Alt+F", &TTFoglio::Selectfont1Click},
      {"date", "Ctrl+I", &TTFoglio::Insertdatetime1Click},
      {"ontop", "Ctrl+Alt+T", &TTFoglio::Alwaysontop1Click},
      {"back", "Ctrl+Alt+B", &TTFoglio::SelectBackgroundcolor1Click},
  };
  static constexpr Row kRows[] = {
      {"Undo", "Ctrl+Z", &TTFoglio::Undo1Click},
      {"-"},
      {"Cut", "Ctrl+X", &TTFoglio::Cut1Click},
      {"Copy", "Ctrl+C", &TTFoglio::Copy1Click},
      {"Paste", "Ctrl+V", &TTFoglio::Past1Click},
      {"Delete", "Ctrl+Del", &TTFoglio::Delete1Click},
      {"-"},
      {"Select All", "Ctrl+A", &TTFoglio::SelectAll1Click},
      {"-"},
      {"File", nullptr, nullptr, nullptr, kFileMenuRows},
      {"-"},
      {"Hide", nullptr, &TTFoglio::Closethisnote2Click},
      {"Close", "F4", &TTFoglio::Deletethisnote2Click},
      {"inv", nullptr, nullptr, nullptr, kInvisible, 0, true},
  };
  static_assert(win::AllShortcutsParse(kRows));
  return kRows;
}

win::CommandMenu<TTFoglio>& TTFoglio::GeneralMenu() {
  if (!PopMenuGeneral) {
    PopMenuGeneral.emplace(GeneralMenuRows(), kGeneralMenuFirstId);
    PopMenuGeneral->UpdateChecks(*this);
  }
  return *PopMenuGeneral;
}

win::CommandMenu<TTFoglio>& TTFoglio::TextMenu() {
  if (!PopMenuText) PopMenuText.emplace(TextMenuRows(), kTextMenuFirstId);
  return *PopMenuText;
}

bool TTFoglio::PreTranslateMessage(MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  const HACCEL shortcuts = msg.hwnd == text_ ? TextMenu().Accelerators() : GeneralMenu().Accelerators();
  return shortcuts != nullptr && TranslateAcceleratorA(hwnd(), shortcuts, &msg) != 0;
}

bool TTFoglio::RunMenuCommand(UINT id) {
  // Only a menu that exists has handed out the id.
  return (PopMenuGeneral && PopMenuGeneral->Run(*this, id)) || (PopMenuText && PopMenuText->Run(*this, id));
}

void TTFoglio::UpdateMenuChecks() {
  if (PopMenuGeneral) PopMenuGeneral->UpdateChecks(*this);
}

void TTFoglio::ShowGeneralMenu(POINT at) { GeneralMenu().TrackAndRun(*this, hwnd(), at); }

void TTFoglio::ShowTextMenu(POINT at) { TextMenu().TrackAndRun(*this, hwnd(), at); }

void TTFoglio::PictureClicked(NotePart part) {
  switch (part) {
    case NotePart::MenuButton: {
      SetEditing(true);
      skin_.Events().PlayEvent(evMenu);
      // The menu's top-left corner at the picture's bottom-right corner.
      const PixelRect& picture = surface_.PictureRect(SkinElement::Menu);
      POINT at{picture.Left + picture.Width, picture.Top + picture.Height};
      ClientToScreen(hwnd(), &at);
      ShowGeneralMenu(at);
      break;
    }
    case NotePart::DeleteButton:
      Deletethisnote2Click();
      break;
    case NotePart::MinButton:
      Closethisnote2Click();
      break;
    case NotePart::AlarmButton:
      Setalarm1Click();
      break;
    default:
      break;
  }
}

void TTFoglio::PictureContextMenu(NotePart part) {
  if (part != NotePart::MenuButton) return;
  POINT at{};
  GetCursorPos(&at);
  ShowGeneralMenu(at);
}

void TTFoglio::TrayNotification(LPARAM mouseMessage) {
  if (mouseMessage == WM_LBUTTONUP) {
    setOnFront();
  } else if (mouseMessage == WM_RBUTTONUP) {
    POINT at{};
    GetCursorPos(&at);
    ShowGeneralMenu(at);
  }
}

void TTFoglio::DropFiles(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    // As long as the path is: a long path is not cut to some buffer's size.
    const UINT length = DragQueryFileA(drop, i, nullptr, 0);
    std::string path(length + 1, '\0');
    path.resize(DragQueryFileA(drop, i, path.data(), length + 1));
    paths.push_back(std::move(path));
  }
  DragFinish(drop);
  // Each file on its own: one that cannot be read costs only itself.
  const DroppedFileRoute route = RouteDroppedFiles(std::move(paths));
  if (route.IntoNote) win::ShowingErrors([&] { OpenFileInNote(*route.IntoNote); });
  for (const std::string& path : route.AsNewNotes) win::ShowingErrors([&] { Controller().OpenNoteFile(path); });
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
  if (made_) step([&] { Controller().NoteGone(*this); });
  step([&] {
    // The text goes to the recycle bin under the note's file name; the file of that name (the
    // user's document, or the last note saved as noname.kli) is left as it is.
    if (Controller().DeleteToRecycleBin()) {
      win::RecycleCopy(FileNamePart(data_.FileName), [&](const std::string& copy) { SaveNote(copy); });
    }
  });
  step([&] { DeleteStoreFiles(); });
  step([&] { SetAlarmActive(false); });
  listItem_.Remove();
  step([&] { SetShown(false); });
  if (failure) std::rethrow_exception(failure);
}

void TTFoglio::OpenFile2Click() {
  const NoteSuspension suspended;
  const auto path = win::AskFileName(hwnd(), win::FileDialogKind::Open, win::kNoteFileFilter, "kli");
  if (!path) return;
  LoadNote(*path);
  SetFileName(*path);
  LayoutFrame();
  SetShown(true);
  // Shown by the command: the end of the suspension must not hide it again.
  SuspendedShown = true;
}

void TTFoglio::SaveFile1Click() {
  const NoteSuspension suspended;
  const auto path = win::AskFileName(hwnd(), win::FileDialogKind::Save, win::kNoteFileFilter, "kli");
  if (!path) return;
  // Written with the name the note had before; the store file is not written here.
  SaveNote(*path);
  SetFileName(*path);
  LayoutFrame();
}

void TTFoglio::Printklinote1Click() {
  const win::UniquePrinterDc printer = Controller().Printer().CreateDc();
  win::PrintOnePage(printer.get(), data_.FileName.c_str(), [this](HDC dc) {
    DrawPrintPicture(dc, GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY));
  });
}

void TTFoglio::DrawPrintPicture(HDC dc, int dpiX, int dpiY) const {
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int width = client.right, height = client.bottom;
  if (width <= 0 || height <= 0) return;
  // The picture is a device-independent bitmap, which any printer driver takes.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const win::WindowDc screen(hwnd());
  void* bits = nullptr;
  const win::UniqueBitmap picture(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const win::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  if (!picture || !memory) throw std::runtime_error("Not enough memory for the picture to print");
  {
    const win::SelectedObject selected(memory.get(), picture.get());
    PaintClientArea(memory.get(), width, height);
    if (TextBoxVisible()) {
      // The edit box paints its text into the picture, at the place of its client area.
      POINT origin{0, 0};
      MapWindowPoints(text_, hwnd(), &origin, 1);
      const int saved = SaveDC(memory.get());
      SetViewportOrgEx(memory.get(), origin.x, origin.y, nullptr);
      SendMessageA(text_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT | PRF_ERASEBKGND);
      RestoreDC(memory.get(), saved);
    }
  }
  GdiFlush();
  StretchDIBits(dc, 0, 0, MulDiv(width, dpiX, 96), MulDiv(height, dpiY, 96), 0, 0, width, height, bits, &info,
                DIB_RGB_COLORS, SRCCOPY);
}

void TTFoglio::Printersetup1Click() {
  const NoteSuspension suspended;
  Controller().Printer().Choose(hwnd());
}

void TTFoglio::Selectfont1Click() {
  {
    const NoteSuspension suspended;
    LOGFONTA log = TextLogFont(data_.Font);
    CHOOSEFONTA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = hwnd();
    dialog.lpLogFont = &log;
    dialog.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    dialog.rgbColors = ToColorRef(data_.Font.color);
    if (ChooseFontA(&dialog)) {
      FontValue font;
      font.name = log.lfFaceName;
      font.size = (dialog.iPointSize + 5) / 10;
      font.bold = log.lfWeight >= FW_BOLD;
      font.italic = log.lfItalic != 0;
      font.underline = log.lfUnderline != 0;
      font.strikeOut = log.lfStrikeOut != 0;
      font.color = static_cast<int32_t>(dialog.rgbColors & 0xFFFFFF);
      SetTextFont(font);
    }
  }
  SetEditing(true);
}

void TTFoglio::SelectBackgroundcolor1Click() {
  {
    const NoteSuspension suspended;
    COLORREF custom[16];
    std::fill(std::begin(custom), std::end(custom), RGB(255, 255, 255));
    CHOOSECOLORA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = hwnd();
    dialog.rgbResult = textBackColor_;
    dialog.lpCustColors = custom;
    dialog.Flags = CC_RGBINIT;
    // Only the edit box takes the colour; the window keeps its own.
    if (ChooseColorA(&dialog)) SetTextBackColor(static_cast<int32_t>(dialog.rgbResult & 0xFFFFFF));
  }
  SetEditing(true);
}

void TTFoglio::Insertdatetime1Click() { AppendStampLine(); }

void TTFoglio::Alwaysontop1Click() { SetOnTop(!OnTop()); }

void TTFoglio::TrayIconArea1Click() { SetOwnTrayIcon(!OwnTrayIcon()); }

void TTFoglio::Setalarm1Click() {
  const NoteSuspension suspended;
  SetEditing(true);
  if (const auto change = EditAlarm(hwnd(), alarm_)) {
    ApplyAlarmTimer(*change);
    NoteChanged();
  }
  LayoutFrame();
}

void TTFoglio::Mailthisnote1Click() {
  const NoteSuspension suspended;
  TTMailTo form(hwnd());
  form.SetFields(data_.MailTo, data_.MailSubject, data_.MailRecipients);
  if (form.ShowModal() != win::ModalResult::Ok) return;
  data_.MailTo = form.To();
  data_.MailSubject = form.Subject();
  data_.MailRecipients = form.Recipients();
  NoteChanged();
}

void TTFoglio::Closethisnote2Click() {
  SetShown(false);
  skin_.Events().PlayEvent(evMinimize);
}

void TTFoglio::Deletethisnote2Click() {
  CloseNote();
  skin_.Events().PlayEvent(evClose);
}

// The edit box's own commands, asked of it by message so that its undo buffer and the
// clipboard work as in every other edit box.
void TTFoglio::Undo1Click() { SendMessageA(text_, WM_UNDO, 0, 0); }
void TTFoglio::Cut1Click() { SendMessageA(text_, WM_CUT, 0, 0); }
void TTFoglio::Copy1Click() { SendMessageA(text_, WM_COPY, 0, 0); }
void TTFoglio::Past1Click() { SendMessageA(text_, WM_PASTE, 0, 0); }
void TTFoglio::Delete1Click() { SendMessageA(text_, WM_CLEAR, 0, 0); }
void TTFoglio::SelectAll1Click() { SendMessageA(text_, EM_SETSEL, 0, -1); }
