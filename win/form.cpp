#include "win/form.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "win/form_fit.h"
#include "win/message_loop.h"
#include "win/unicode.h"

namespace win {
namespace {

// The dialog font of the forms: 8 points at 96 dots per inch.
constexpr int kFontHeight = -11;
constexpr const char kFontFace[] = "MS Sans Serif";

bool IsClass(const std::string& className, const char* name) { return _stricmp(className.c_str(), name) == 0; }

bool IsGroupBox(const char* className, DWORD style) {
  return IsClass(className, kButton) && (style & BS_TYPEMASK) == BS_GROUPBOX;
}

// The notification of a control's own command: the one its row's handler answers.
UINT CommandCodeOf(const std::string& className) {
  if (IsClass(className, kListBox)) return LBN_SELCHANGE;
  if (IsClass(className, kComboBox)) return CBN_SELCHANGE;
  if (IsClass(className, kEdit)) return EN_CHANGE;
  return BN_CLICKED;  // buttons; STN_CLICKED of pictures has the same value
}

bool TakesFocus(const char* className, DWORD style) {
  if (IsClass(className, kLabel) || IsClass(className, kProgressBar)) return false;
  return !IsGroupBox(className, style);
}

DWORD ExtendedStyleOf(const char* className) {
  return IsClass(className, kEdit) || IsClass(className, kListBox) ? WS_EX_CLIENTEDGE : 0;
}

// What a control draws besides its text, within its width: the check box's square and the gap
// after it; the push button's edges.
constexpr int kCheckGap = 6;
constexpr int kButtonEdges = 8;
// A group box's caption starts this far into its frame, and keeps as much to its right.
constexpr int kGroupCaptionInset = 9;

// The width the control needs to show its caption whole in the font selected into `dc`; 0 for a
// control whose text wraps or that shows no caption of its own (edits, lists, pictures).
int TextWidthOf(HDC dc, HWND control, const std::string& className) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE));
  std::string caption(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
  caption.resize(static_cast<size_t>(GetWindowTextA(control, caption.data(), static_cast<int>(caption.size()))));
  if (caption.empty()) return 0;
  const bool label = IsClass(className, kLabel);
  const bool prefix = !(label && (style & SS_NOPREFIX));
  RECT text{};
  DrawTextA(dc, caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE | (prefix ? 0 : DT_NOPREFIX));
  if (label) {
    const DWORD type = style & SS_TYPEMASK;
    return type == SS_LEFT || type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE ? text.right : 0;
  }
  if (!IsClass(className, kButton)) return 0;
  switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON: return text.right + kButtonEdges;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return GetSystemMetrics(SM_CXMENUCHECK) + kCheckGap + text.right;
    case BS_GROUPBOX: return text.right + 2 * kGroupCaptionInset;
    default: return 0;
  }
}

void InitialiseCommonControls() {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_DATE_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS | ICC_HOTKEY_CLASS};
  InitCommonControlsEx(&init);
}

}  // namespace

Form::Form(const FormFrame& frame) : centred_(frame.centred) {
  InitialiseCommonControls();
  RECT bounds{0, 0, frame.clientWidth, frame.clientHeight};
  AdjustWindowRectEx(&bounds, frame.style, FALSE, frame.exStyle);
  const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  const int left = frame.centred ? (GetSystemMetrics(SM_CXSCREEN) - width) / 2 : frame.left;
  const int top = frame.centred ? (GetSystemMetrics(SM_CYSCREEN) - height) / 2 : frame.top;
  create({.className = frame.className,
          .caption = frame.caption,
          .style = frame.style,
          .exStyle = frame.exStyle | WS_EX_CONTROLPARENT,
          .x = left,
          .y = top,
          .width = width,
          .height = height,
          .owner = frame.owner,
          .icon = frame.icon,
          .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});
  font_.reset(CreateFontA(kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, kFontFace));
  if (!frame.pages.empty()) {
    // Made first and kept at the bottom, clipped by its siblings: the controls of the pages lie
    // on top of it.
    const RECT& area = frame.pagesArea;
    tabs_ = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, area.left,
                            area.top, area.right - area.left, area.bottom - area.top, hwnd(), nullptr,
                            ProgramInstance(), nullptr);
    SendMessageA(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    // Drawn in the form's own colour: a themed tab paints its pages white, and the labels, check
    // boxes and groups on them, which sit on the form, would show as grey patches.
    SetWindowTheme(tabs_, L" ", L" ");
    for (size_t i = 0; i < frame.pages.size(); ++i) {
      TCITEMA item{};
      item.mask = TCIF_TEXT;
      item.pszText = const_cast<char*>(frame.pages[i]);
      SendMessageA(tabs_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
  }
}

void Form::AddControl(const ControlPlacement& place, std::function<void()> run) {
  DWORD style = WS_CHILD | place.style;
  if (place.page == 0 || place.page == page_) style |= WS_VISIBLE;
  if (TakesFocus(place.className, place.style)) style |= WS_TABSTOP;
  if (IsClass(place.className, kButton) && (place.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) defaultButton_ = place.id;
  // Wide controls, so that a field shows and takes text in any language.
  HWND control = CreateWindowExW(ExtendedStyleOf(place.className), Wide(place.className).c_str(),
                                 Wide(place.caption != nullptr ? place.caption : "").c_str(), style, place.left,
                                 place.top, place.width, place.height, hwnd(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(place.id)), ProgramInstance(), nullptr);
  if (control == nullptr) throw std::runtime_error(std::string("Cannot create the control ") + place.className);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  if (tabs_ != nullptr) SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  controls_.push_back({place.id, place.page, control, place.className, CommandCodeOf(place.className), std::move(run)});
}

void Form::FitToTexts() {
  // The rows' controls, then the tab control, which holds the pages.
  std::vector<HWND> windows;
  std::vector<FitBox> boxes;
  {
    WindowDc screen;
    SelectedObject font(screen.get(), font_.get());
    const auto add = [&](HWND control, int page, const std::string& className, bool frame) {
      RECT r{};
      GetWindowRect(control, &r);
      MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
      const auto style = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE));
      windows.push_back(control);
      boxes.push_back({.Left = r.left,
                       .Top = r.top,
                       .Width = r.right - r.left,
                       .Height = r.bottom - r.top,
                       .Page = page,
                       .TextWidth = TextWidthOf(screen.get(), control, className),
                       .Frame = frame || IsGroupBox(className.c_str(), style)});
    };
    for (const Control& control : controls_) add(control.hwnd, control.page, control.className, false);
    if (tabs_ != nullptr) add(tabs_, 0, WC_TABCONTROLA, true);
  }
  RECT client{};
  GetClientRect(hwnd(), &client);
  const FittedForm fitted = FitTexts(boxes, client.right);
  for (size_t i = 0; i < boxes.size(); ++i) {
    const FitBox& was = boxes[i];
    const FitBox& now = fitted.Boxes[i];
    if (now.Left != was.Left || now.Width != was.Width)
      SetWindowPos(windows[i], nullptr, now.Left, now.Top, now.Width, now.Height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (fitted.ClientWidth == client.right) return;
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(hwnd(), GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(hwnd(), GWL_EXSTYLE));
  RECT bounds{0, 0, fitted.ClientWidth, client.bottom};
  AdjustWindowRectEx(&bounds, style, FALSE, exStyle);
  const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  RECT window{};
  GetWindowRect(hwnd(), &window);
  const int left = centred_ ? (GetSystemMetrics(SM_CXSCREEN) - width) / 2 : window.left;
  SetWindowPos(hwnd(), nullptr, left, window.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

const Form::Control* Form::Find(int id) const {
  if (id == 0) return nullptr;
  const auto found = std::find_if(controls_.begin(), controls_.end(), [id](const Control& c) { return c.id == id; });
  return found == controls_.end() ? nullptr : &*found;
}

Form::Control* Form::Find(int id) { return const_cast<Control*>(std::as_const(*this).Find(id)); }

const Form::Control& Form::Require(int id) const {
  const Control* control = Find(id);
  if (control == nullptr) throw std::logic_error("The form has no control " + std::to_string(id));
  return *control;
}

HWND Form::Item(int id) const { return Require(id).hwnd; }

std::string Form::Text(int id) const {
  HWND control = Item(id);
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return Utf8(text);
}

void Form::SetText(int id, const std::string& text) { SetWindowTextW(Item(id), Wide(text).c_str()); }

bool Form::Checked(int id) const { return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Form::SetChecked(int id, bool checked) {
  if (Checked(id) == checked) return;
  SendMessageA(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (const Control& control = Require(id); control.run) control.run();
}

void Form::Enable(int id, bool enabled) { EnableWindow(Item(id), enabled); }

bool Form::Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }

void Form::ShowControl(int id, bool shown) { ShowWindow(Item(id), shown ? SW_SHOWNA : SW_HIDE); }

void Form::MoveControl(int id, int left, int top) {
  SetWindowPos(Item(id), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

RECT Form::ControlRect(int id) const {
  RECT r{};
  GetWindowRect(Item(id), &r);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool Form::IsList(int id) const { return IsClass(Require(id).className, kListBox); }

void Form::AddItem(int id, const std::string& text) {
  SendMessageW(Item(id), IsList(id) ? LB_ADDSTRING : CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

void Form::DeleteItem(int id, int index) {
  SendMessageA(Item(id), IsList(id) ? LB_DELETESTRING : CB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void Form::ClearItems(int id) { SendMessageA(Item(id), IsList(id) ? LB_RESETCONTENT : CB_RESETCONTENT, 0, 0); }

int Form::ItemCount(int id) const {
  return static_cast<int>(SendMessageA(Item(id), IsList(id) ? LB_GETCOUNT : CB_GETCOUNT, 0, 0));
}

std::string Form::ItemText(int id, int index) const {
  const bool list = IsList(id);
  const auto length = SendMessageW(Item(id), list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const auto copied = SendMessageW(Item(id), list ? LB_GETTEXT : CB_GETLBTEXT, static_cast<WPARAM>(index),
                                   reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
  return Utf8(text);
}

int Form::Selection(int id) const {
  const auto index = SendMessageA(Item(id), IsList(id) ? LB_GETCURSEL : CB_GETCURSEL, 0, 0);
  return index < 0 ? -1 : static_cast<int>(index);
}

void Form::Select(int id, int index) {
  SendMessageA(Item(id), IsList(id) ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Form::ShowPage(int page) {
  page_ = page;
  if (tabs_ != nullptr) SendMessageA(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(page - 1), 0);
  for (const Control& control : controls_) {
    if (control.page != 0) ShowWindow(control.hwnd, control.page == page ? SW_SHOWNA : SW_HIDE);
  }
}

void Form::IgnoreTyping(int id, bool keyDownToo) {
  Require(id);
  Control& control = *Find(id);
  control.ignoreChars = true;
  control.ignoreKeyDown = keyDownToo;
}

ModalResult Form::ShowModal() {
  HWND owner = GetWindow(hwnd(), GW_OWNER);
  const bool ownerEnabled = owner != nullptr && IsWindowEnabled(owner);
  if (ownerEnabled) EnableWindow(owner, FALSE);
  result_ = ModalResult::None;
  modal_ = true;
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  if (HWND first = GetNextDlgTabItem(hwnd(), nullptr, FALSE)) SetFocus(first);
  RunMessageLoopUntil([this] { return result_ != ModalResult::None || hwnd() == nullptr; });
  modal_ = false;
  // The owner comes back before this form hides, so that Windows gives the activation back to
  // it and not to some other program.
  if (ownerEnabled) EnableWindow(owner, TRUE);
  if (owner != nullptr && IsWindowVisible(owner)) SetActiveWindow(owner);
  if (hwnd() != nullptr) ShowWindow(hwnd(), SW_HIDE);
  return result_ == ModalResult::None ? ModalResult::Cancel : result_;
}

void Form::ShowModeless() {
  result_ = ModalResult::None;
  ShowWindow(hwnd(), SW_SHOW);
}

void Form::Close(ModalResult result) {
  result_ = result;
  if (!modal_) ShowWindow(hwnd(), SW_HIDE);
}

void Form::CloseRequested() { Close(ModalResult::Cancel); }

bool Form::Command(int id, UINT code, HWND from) {
  const Control* control = Find(id);
  if (control != nullptr && control->run && (from == nullptr || code == control->commandCode)) {
    control->run();
    return true;
  }
  if (id == IDCANCEL && (control == nullptr || !control->run)) {
    CloseRequested();
    return true;
  }
  return false;
}

LRESULT Form::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (Command(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp))) return 0;
      break;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lp);
      if (header->hwndFrom == tabs_ && header->code == static_cast<UINT>(TCN_SELCHANGE)) {
        ShowPage(static_cast<int>(SendMessageA(tabs_, TCM_GETCURSEL, 0, 0)) + 1);
        return 0;
      }
      break;
    }
    case DM_GETDEFID:
      return MAKELRESULT(defaultButton_, DC_HASDEFID);
    case WM_CLOSE:
      CloseRequested();
      return 0;
    default:
      break;
  }
  return defaultHandling(msg, wp, lp);
}

bool Form::PreTranslateMessage(MSG& msg) {
  if (msg.message == WM_CHAR || msg.message == WM_KEYDOWN || msg.message == WM_SYSCHAR) {
    for (const Control& control : controls_) {
      if (control.hwnd != msg.hwnd && !IsChild(control.hwnd, msg.hwnd)) continue;
      if (msg.message == WM_KEYDOWN ? control.ignoreKeyDown : control.ignoreChars) return true;
    }
  }
  return IsDialogMessageW(hwnd(), &msg) != FALSE;
}

}  // namespace win
