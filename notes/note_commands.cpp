#include "notes/note_commands.h"

#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "mail/mail_to_form.h"
#include "notes/dropped_files.h"
#include "notes/note_host.h"
#include "notes/note_window.h"
#include "win/dib_section.h"
#include "win/error_box.h"
#include "win/printer.h"
#include "win/unicode.h"

namespace {

using Row = win::CommandRow<NoteCommands>;

// The two menus' command ids, apart so that one WM_COMMAND names one command.
constexpr UINT kGeneralMenuFirstId = 100;
constexpr UINT kTextMenuFirstId = 200;

}  // namespace

constexpr win::CommandRow<NoteCommands> NoteCommands::kFileMenuRows[2] = {
    {"Open ", "Ctrl+F12", &NoteCommands::OpenFile2Click},
    {"Save as", "Shift+F12", &NoteCommands::SaveFile1Click},
};

std::span<const win::CommandRow<NoteCommands>> NoteCommands::GeneralMenuRows() {
  static constexpr Row kPrint[] = {
      {"Print ", "Ctrl+P", &NoteCommands::Printklinote1Click},
      {"Printer setup", nullptr, &NoteCommands::Printersetup1Click},
  };
  static constexpr Row kApparence[] = {
      {"Select font style and color", "Ctrl+Alt+F", &NoteCommands::Selectfont1Click},
      {"Select Background color", "Ctrl+Alt+B", &NoteCommands::SelectBackgroundcolor1Click},
      {"Insert date/time", "Ctrl+I", &NoteCommands::Insertdatetime1Click},
      {"-"},
      {"Always on top", "Ctrl+Alt+T", &NoteCommands::Alwaysontop1Click, &NoteCommands::OnTop},
      {"Tray icon area", nullptr, &NoteCommands::TrayIconArea1Click, &NoteCommands::OwnTrayIcon},
  };
  static constexpr Row kRows[] = {
      {"File", nullptr, nullptr, nullptr, kFileMenuRows},
      {"Print", nullptr, nullptr, nullptr, kPrint},
      {"Apparence", nullptr, nullptr, nullptr, kApparence},
      {"-"},
      {"Set alarm", nullptr, &NoteCommands::Setalarm1Click},
      {"Mail to", nullptr, &NoteCommands::Mailthisnote1Click},
      {"-"},
      {"Hide", nullptr, &NoteCommands::Closethisnote2Click},
      {"Close", "F4", &NoteCommands::Deletethisnote2Click},
  };
  static_assert(win::AllShortcutsParse(kRows));
  return kRows;
}

std::span<const win::CommandRow<NoteCommands>> NoteCommands::TextMenuRows() {
  // Never shown: here so that these shortcuts work while the user types in the edit box.
  static constexpr Row kInvisible[] = {
      {"print_inv", "Ctrl+P", &NoteCommands::Printklinote1Click},
      {"font", "Ctrl+Alt+F", &NoteCommands::Selectfont1Click},
      {"date", "Ctrl+I", &NoteCommands::Insertdatetime1Click},
      {"ontop", "Ctrl+Alt+T", &NoteCommands::Alwaysontop1Click},
      {"back", "Ctrl+Alt+B", &NoteCommands::SelectBackgroundcolor1Click},
  };
  static constexpr Row kRows[] = {
      {"Undo", "Ctrl+Z", &NoteCommands::Undo1Click},
      {"-"},
      {"Cut", "Ctrl+X", &NoteCommands::Cut1Click},
      {"Copy", "Ctrl+C", &NoteCommands::Copy1Click},
      {"Paste", "Ctrl+V", &NoteCommands::Past1Click},
      {"Delete", "Ctrl+Del", &NoteCommands::Delete1Click},
      {"-"},
      {"Select All", "Ctrl+A", &NoteCommands::SelectAll1Click},
      {"-"},
      {"File", nullptr, nullptr, nullptr, kFileMenuRows},
      {"-"},
      {"Hide", nullptr, &NoteCommands::Closethisnote2Click},
      {"Close", "F4", &NoteCommands::Deletethisnote2Click},
      {"inv", nullptr, nullptr, nullptr, kInvisible, 0, true},
  };
  static_assert(win::AllShortcutsParse(kRows));
  return kRows;
}

win::CommandMenu<NoteCommands>& NoteCommands::GeneralMenu() {
  if (!PopMenuGeneral) {
    PopMenuGeneral.emplace(GeneralMenuRows(), kGeneralMenuFirstId);
    PopMenuGeneral->UpdateChecks(*this);
  }
  return *PopMenuGeneral;
}

win::CommandMenu<NoteCommands>& NoteCommands::TextMenu() {
  if (!PopMenuText) PopMenuText.emplace(TextMenuRows(), kTextMenuFirstId);
  return *PopMenuText;
}

bool NoteCommands::Run(UINT id) {
  // Only a menu that exists has handed out the id.
  return (PopMenuGeneral && PopMenuGeneral->Run(*this, id)) || (PopMenuText && PopMenuText->Run(*this, id));
}

void NoteCommands::UpdateChecks() {
  if (PopMenuGeneral) PopMenuGeneral->UpdateChecks(*this);
}

bool NoteCommands::OnTop() const { return note_.OnTop(); }

bool NoteCommands::OwnTrayIcon() const { return note_.Data().OwnTrayIcon; }

void NoteCommands::ShowGeneralMenu(POINT at) { GeneralMenu().TrackAndRun(*this, note_.hwnd(), at); }

void NoteCommands::TextBoxContextMenu(LPARAM at) {
  POINT where{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
  if (at == -1) {
    // From the keyboard: at the edit box's top-left corner.
    where = {0, 0};
    ClientToScreen(note_.textBox_.hwnd(), &where);
  }
  TextMenu().TrackAndRun(*this, note_.hwnd(), where);
}

void NoteCommands::PictureClicked(NotePart part) {
  switch (part) {
    case NotePart::MenuButton: {
      note_.SetEditing(true);
      note_.skin_.Events().PlayEvent(evMenu);
      // The menu's top-left corner at the picture's bottom-right corner.
      const PixelRect& picture = note_.surface_.PictureRect(SkinElement::Menu);
      POINT at{picture.Left + picture.Width, picture.Top + picture.Height};
      ClientToScreen(note_.hwnd(), &at);
      ShowGeneralMenu(at);
      break;
    }
    case NotePart::DeleteButton: Deletethisnote2Click(); break;
    case NotePart::MinButton: Closethisnote2Click(); break;
    case NotePart::AlarmButton: Setalarm1Click(); break;
    default: break;
  }
}

void NoteCommands::PictureContextMenu(NotePart part) {
  if (part != NotePart::MenuButton) return;
  POINT at{};
  GetCursorPos(&at);
  ShowGeneralMenu(at);
}

void NoteCommands::TrayNotification(LPARAM mouseMessage) {
  if (mouseMessage == WM_LBUTTONUP) {
    note_.setOnFront();
  } else if (mouseMessage == WM_RBUTTONUP) {
    POINT at{};
    GetCursorPos(&at);
    ShowGeneralMenu(at);
  }
}

void NoteCommands::DropFiles(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    // As long as the path is: a long path is not cut to some buffer's size.
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
    paths.push_back(win::Utf8(path));
  }
  DragFinish(drop);
  // Each file on its own: one that cannot be read costs only itself.
  const DroppedFileRoute route = RouteDroppedFiles(std::move(paths));
  if (route.IntoNote) win::ShowingErrors([&] { note_.OpenFileInNote(*route.IntoNote); });
  for (const std::string& path : route.AsNewNotes) win::ShowingErrors([&] { note_.host_.OpenNoteFile(path); });
}

bool NoteCommands::WithChosenFile(win::FileDialogKind kind, void (TTFoglio::*action)(const std::string&)) {
  const NoteSuspension suspended(note_.host_);
  const auto path = win::AskFileName(note_.hwnd(), kind, win::kNoteFileFilter, "kli");
  if (!path) return false;
  (note_.*action)(*path);
  note_.SetFileName(*path);
  note_.LayoutFrame();
  return true;
}

void NoteCommands::OpenFile2Click() {
  if (WithChosenFile(win::FileDialogKind::Open, &TTFoglio::LoadNote)) note_.SetShown(true);
}

void NoteCommands::SaveFile1Click() {
  // Written with the name the note had before; the store file is not written here.
  WithChosenFile(win::FileDialogKind::Save, &TTFoglio::SaveNote);
}

void NoteCommands::Printklinote1Click() {
  const win::UniquePrinterDc printer = note_.host_.Printer().CreateDc();
  win::PrintOnePage(printer.get(), note_.Data().FileName.c_str(), [this](HDC dc) {
    DrawPrintPicture(dc, GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY));
  });
}

void NoteCommands::DrawPrintPicture(HDC dc, int dpiX, int dpiY) const {
  RECT client{};
  GetClientRect(note_.hwnd(), &client);
  const int width = client.right, height = client.bottom;
  if (width <= 0 || height <= 0) return;
  const win::DibSection picture(width, height);
  const win::UniqueMemoryDc memory(CreateCompatibleDC(nullptr));
  if (!picture || !memory) throw std::runtime_error("Not enough memory for the picture to print");
  {
    const win::SelectedObject selected(memory.get(), picture.get());
    note_.surface_.Paint(memory.get(), width, height, note_.textBox_);
    // The edit box paints its text into the picture, at the place of its client area.
    if (note_.textBox_.Visible()) note_.textBox_.PrintInto(memory.get());
  }
  GdiFlush();
  StretchDIBits(dc, 0, 0, MulDiv(width, dpiX, 96), MulDiv(height, dpiY, 96), 0, 0, width, height, picture.Bits(),
                &picture.Info(), DIB_RGB_COLORS, SRCCOPY);
}

void NoteCommands::Printersetup1Click() {
  const NoteSuspension suspended(note_.host_);
  note_.host_.Printer().Choose(note_.hwnd());
}

void NoteCommands::Selectfont1Click() {
  {
    const NoteSuspension suspended(note_.host_);
    const FontValue& current = note_.Data().Font;
    LOGFONTW log = NoteTextBox::LogFontOf(current);
    CHOOSEFONTW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = note_.hwnd();
    dialog.lpLogFont = &log;
    dialog.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    dialog.rgbColors = NoteColorRef(current.color);
    if (ChooseFontW(&dialog)) {
      note_.SetTextFont({.name = win::Utf8(log.lfFaceName),
                         .size = (dialog.iPointSize + 5) / 10,
                         .bold = log.lfWeight >= FW_BOLD,
                         .italic = log.lfItalic != 0,
                         .underline = log.lfUnderline != 0,
                         .strikeOut = log.lfStrikeOut != 0,
                         .color = static_cast<int32_t>(dialog.rgbColors & 0xFFFFFF)});
    }
  }
  note_.SetEditing(true);
}

void NoteCommands::SelectBackgroundcolor1Click() {
  {
    const NoteSuspension suspended(note_.host_);
    COLORREF custom[16];
    std::fill(std::begin(custom), std::end(custom), RGB(255, 255, 255));
    CHOOSECOLORA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = note_.hwnd();
    dialog.rgbResult = note_.textBox_.BackColor();
    dialog.lpCustColors = custom;
    dialog.Flags = CC_RGBINIT;
    // Only the edit box takes the colour; the window keeps its own.
    if (ChooseColorA(&dialog)) note_.SetTextBackColor(static_cast<int32_t>(dialog.rgbResult & 0xFFFFFF));
  }
  note_.SetEditing(true);
}

void NoteCommands::Insertdatetime1Click() { note_.AppendStampLine(); }

void NoteCommands::Alwaysontop1Click() { note_.SetOnTop(!note_.OnTop()); }

void NoteCommands::TrayIconArea1Click() { note_.SetOwnTrayIcon(!OwnTrayIcon()); }

void NoteCommands::Setalarm1Click() {
  const NoteSuspension suspended(note_.host_);
  note_.SetEditing(true);
  if (note_.alarm_.Edit(note_.hwnd())) note_.NoteChanged();
  note_.LayoutFrame();
}

void NoteCommands::Mailthisnote1Click() {
  const NoteSuspension suspended(note_.host_);
  NoteData& data = note_.data_;
  TTMailTo form(note_.hwnd());
  form.SetFields(data.MailTo, data.MailSubject, data.MailRecipients);
  if (form.ShowModal() != win::ModalResult::Ok) return;
  data.MailTo = form.To();
  data.MailSubject = form.Subject();
  data.MailRecipients = form.Recipients();
  note_.NoteChanged();
}

void NoteCommands::Closethisnote2Click() {
  note_.SetShown(false);
  note_.skin_.Events().PlayEvent(evMinimize);
}

void NoteCommands::Deletethisnote2Click() {
  note_.CloseNote();
  note_.skin_.Events().PlayEvent(evClose);
}

void NoteCommands::Undo1Click() { note_.textBox_.Undo(); }
void NoteCommands::Cut1Click() { note_.textBox_.Cut(); }
void NoteCommands::Copy1Click() { note_.textBox_.Copy(); }
void NoteCommands::Past1Click() { note_.textBox_.Paste(); }
void NoteCommands::Delete1Click() { note_.textBox_.Clear(); }
void NoteCommands::SelectAll1Click() { note_.textBox_.SelectAll(); }
