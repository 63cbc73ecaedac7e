#include "notes/note_text_box.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "win/unicode.h"
#include "win/window.h"

COLORREF NoteColorRef(int32_t color) {
  if (color < 0) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color) & 0xFFFFFF;
}

NoteTextBox::NoteTextBox(HWND note, const PixelRect& box)
    : edit_(CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, box.Left, box.Top,
                            box.Width, box.Height, note, nullptr, win::ProgramInstance(), nullptr)),
      box_(box) {
  if (edit_ == nullptr) throw std::runtime_error("Cannot create the note's edit box");
  SendMessageW(edit_, EM_SETLIMITTEXT, kCapacity, 0);
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
  const int length = GetWindowTextLengthW(edit_);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(edit_, text.data(), length + 1)));
  return win::Utf8(text);
}

void NoteTextBox::SetText(const std::string& text) {
  const std::wstring wide = win::Wide(text);
  if (wide.size() > static_cast<size_t>(kCapacity) || !SetWindowTextW(edit_, wide.c_str())) {
    throw std::runtime_error("Text exceeds memo capacity.");
  }
}

std::vector<std::string> NoteTextBox::DisplayedLines() const {
  const int count = static_cast<int>(SendMessageW(edit_, EM_GETLINECOUNT, 0, 0));
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(count));
  std::wstring line;
  for (int i = 0; i < count; ++i) {
    const auto start = SendMessageW(edit_, EM_LINEINDEX, static_cast<WPARAM>(i), 0);
    const auto length = static_cast<size_t>(SendMessageW(edit_, EM_LINELENGTH, static_cast<WPARAM>(start), 0));
    // EM_GETLINE takes the buffer size in its first character and writes no terminating NUL.
    line.assign(std::max<size_t>(length, 1), L'\0');
    line[0] = static_cast<wchar_t>(std::min<size_t>(line.size(), 0xFFFF));
    const auto copied = static_cast<size_t>(
        SendMessageW(edit_, EM_GETLINE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line.data())));
    line.resize(std::min(copied, length));
    lines.push_back(win::Utf8(line));
  }
  return lines;
}

bool NoteTextBox::Visible() const { return (GetWindowLongPtrA(edit_, GWL_STYLE) & WS_VISIBLE) != 0; }

void NoteTextBox::Show(bool visible) { ShowWindow(edit_, visible ? SW_SHOW : SW_HIDE); }

void NoteTextBox::Place(const PixelRect& box) {
  if (box == box_) return;
  box_ = box;
  SetWindowPos(edit_, nullptr, box.Left, box.Top, box.Width, box.Height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void NoteTextBox::SetBorder(bool line) {
  const LONG_PTR style = GetWindowLongPtrA(edit_, GWL_STYLE);
  const LONG_PTR wanted = line ? style | WS_BORDER : style & ~static_cast<LONG_PTR>(WS_BORDER);
  if (wanted == style) return;
  SetWindowLongPtrA(edit_, GWL_STYLE, wanted);
  SetWindowPos(edit_, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LOGFONTW NoteTextBox::LogFontOf(const FontValue& font) {
  LOGFONTW log{};
  log.lfHeight = -MulDiv(font.size, 96, 72);
  log.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  log.lfItalic = font.italic;
  log.lfUnderline = font.underline;
  log.lfStrikeOut = font.strikeOut;
  log.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(log.lfFaceName, win::Wide(font.name).c_str(), LF_FACESIZE);
  return log;
}

void NoteTextBox::SetFont(const FontValue& font) {
  SetTextColor(font.color);
  const LOGFONTW log = LogFontOf(font);
  // The font it has already (a restored note's is often the skin's): the box is not laid out again.
  if (font_ && std::memcmp(&log, &logFont_, sizeof log) == 0) return;
  win::UniqueFont made(CreateFontIndirectW(&log));
  // The edit box lets go of the old font before it is released.
  SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), TRUE);
  font_ = std::move(made);
  logFont_ = log;
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
  SendMessageW(edit_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  RestoreDC(dc, saved);
}

void NoteTextBox::Undo() const { SendMessageW(edit_, WM_UNDO, 0, 0); }
void NoteTextBox::Cut() const { SendMessageW(edit_, WM_CUT, 0, 0); }
void NoteTextBox::Copy() const { SendMessageW(edit_, WM_COPY, 0, 0); }
void NoteTextBox::Paste() const { SendMessageW(edit_, WM_PASTE, 0, 0); }
void NoteTextBox::Clear() const { SendMessageW(edit_, WM_CLEAR, 0, 0); }
void NoteTextBox::Select(size_t start, size_t end) const {
  SetFocus(edit_);
  SendMessageW(edit_, EM_SETSEL, start, static_cast<LPARAM>(end));
  SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
}

void NoteTextBox::SelectAll() const { SendMessageW(edit_, EM_SETSEL, 0, -1); }
