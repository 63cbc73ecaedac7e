#include "notes/note_text_box.h"

#include <algorithm>
#include <stdexcept>

#include "win/window.h"

COLORREF NoteColorRef(int32_t color) {
  if (color < 0) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color) & 0xFFFFFF;
}

NoteTextBox::NoteTextBox(HWND note)
    : edit_(CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, 0, 0, note,
                            nullptr, win::ProgramInstance(), nullptr)) {
  if (edit_ == nullptr) throw std::runtime_error("Cannot create the note's edit box");
  SendMessageA(edit_, EM_SETLIMITTEXT, kCapacity, 0);
  // Subclassed by hand, its own procedure kept in its user data: the common controls' subclass
  // looks its chain up in a window property on every message, and under Wine each such lookup
  // is a round trip to the server (a note's edit box gets dozens of messages while it is made
  // and read back). The wide calls keep the edit box a Unicode window, as it was created.
  SetWindowLongPtrW(edit_, GWLP_USERDATA, GetWindowLongPtrW(edit_, GWLP_WNDPROC));
  SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NoteTextBox::Procedure));
}

LRESULT CALLBACK NoteTextBox::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  // The note handles the move in its own window procedure, where an error is caught and shown.
  if (msg == WM_MOUSEMOVE) SendMessageA(GetParent(hwnd), kMouseMoveMessage, wp, lp);
  // The note's text menu replaces the edit box's own.
  if (msg == WM_CONTEXTMENU) return SendMessageA(GetParent(hwnd), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), lp);
  const auto own = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return CallWindowProcW(own, hwnd, msg, wp, lp);
}

std::string NoteTextBox::Text() const {
  const int length = GetWindowTextLengthA(edit_);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(edit_, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied));
  return text;
}

void NoteTextBox::SetText(const std::string& text) {
  if (text.size() > static_cast<size_t>(kCapacity) || !SetWindowTextA(edit_, text.c_str())) {
    throw std::runtime_error("Text exceeds memo capacity.");
  }
}

std::vector<std::string> NoteTextBox::DisplayedLines() const {
  const int count = static_cast<int>(SendMessageA(edit_, EM_GETLINECOUNT, 0, 0));
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const auto start = SendMessageA(edit_, EM_LINEINDEX, static_cast<WPARAM>(i), 0);
    const auto length = static_cast<size_t>(SendMessageA(edit_, EM_LINELENGTH, static_cast<WPARAM>(start), 0));
    // EM_GETLINE takes the buffer size in its first word and writes no terminating NUL.
    std::string line(std::max<size_t>(length, sizeof(WORD)), '\0');
    *reinterpret_cast<WORD*>(line.data()) = static_cast<WORD>(std::min<size_t>(line.size(), 0xFFFF));
    const auto copied = static_cast<size_t>(
        SendMessageA(edit_, EM_GETLINE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line.data())));
    line.resize(std::min(copied, length));
    lines.push_back(std::move(line));
  }
  return lines;
}

bool NoteTextBox::Visible() const { return (GetWindowLongPtrA(edit_, GWL_STYLE) & WS_VISIBLE) != 0; }

void NoteTextBox::Show(bool visible) { ShowWindow(edit_, visible ? SW_SHOW : SW_HIDE); }

void NoteTextBox::Place(const PixelRect& box) {
  SetWindowPos(edit_, nullptr, box.Left, box.Top, box.Width, box.Height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void NoteTextBox::SetBorder(bool line) {
  const LONG_PTR style = GetWindowLongPtrA(edit_, GWL_STYLE);
  const LONG_PTR wanted = line ? style | WS_BORDER : style & ~static_cast<LONG_PTR>(WS_BORDER);
  if (wanted == style) return;
  SetWindowLongPtrA(edit_, GWL_STYLE, wanted);
  SetWindowPos(edit_, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LOGFONTA NoteTextBox::LogFontOf(const FontValue& font) {
  LOGFONTA log{};
  log.lfHeight = -MulDiv(font.size, 96, 72);
  log.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  log.lfItalic = font.italic;
  log.lfUnderline = font.underline;
  log.lfStrikeOut = font.strikeOut;
  log.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(log.lfFaceName, font.name.c_str(), LF_FACESIZE);
  return log;
}

void NoteTextBox::SetFont(const FontValue& font) {
  const LOGFONTA log = LogFontOf(font);
  win::UniqueFont made(CreateFontIndirectA(&log));
  // The edit box lets go of the old font before it is released.
  SendMessageA(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), TRUE);
  font_ = std::move(made);
  SetTextColor(font.color);
}

void NoteTextBox::ShowBackColor(int32_t color) {
  shownBackColor_ = color;
  backColor_ = NoteColorRef(color);
  backBrush_.reset(CreateSolidBrush(backColor_));
  InvalidateRect(edit_, nullptr, TRUE);
}

LRESULT NoteTextBox::Colors(HDC dc) const {
  ::SetTextColor(dc, textColor_);
  SetBkColor(dc, backColor_);
  return reinterpret_cast<LRESULT>(backBrush_.get());
}

RECT NoteTextBox::LabelRect() const {
  RECT box{};
  GetWindowRect(edit_, &box);
  const HWND note = GetParent(edit_);
  MapWindowPoints(nullptr, note, reinterpret_cast<POINT*>(&box), 2);
  RECT client{};
  GetClientRect(note, &client);
  return {box.left, box.top, client.right, client.bottom};
}

void NoteTextBox::PrintInto(HDC dc) const {
  POINT origin{0, 0};
  MapWindowPoints(edit_, GetParent(edit_), &origin, 1);
  const int saved = SaveDC(dc);
  SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
  SendMessageA(edit_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  RestoreDC(dc, saved);
}

void NoteTextBox::Undo() const { SendMessageA(edit_, WM_UNDO, 0, 0); }
void NoteTextBox::Cut() const { SendMessageA(edit_, WM_CUT, 0, 0); }
void NoteTextBox::Copy() const { SendMessageA(edit_, WM_COPY, 0, 0); }
void NoteTextBox::Paste() const { SendMessageA(edit_, WM_PASTE, 0, 0); }
void NoteTextBox::Clear() const { SendMessageA(edit_, WM_CLEAR, 0, 0); }
void NoteTextBox::Select(size_t start, size_t end) const {
  SetFocus(edit_);
  SendMessageW(edit_, EM_SETSEL, start, static_cast<LPARAM>(end));
  SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
}

void NoteTextBox::SelectAll() const { SendMessageA(edit_, EM_SETSEL, 0, -1); }
