#pragma once
// Forms as data: a dialog is a window whose controls come from a table of rows, one row a
// control with its window class, caption, id, place and size in client pixels, style, the page
// it sits on and the handler its command runs. A form runs modal (its owner disabled meanwhile,
// Enter pressing the default button, Esc and the close box asking it to close, the owner
// enabled and activated again after) or modeless. The keyboard navigation of the form (tab
// order, Enter, Esc) comes from the program's message loop (win/message_loop.h).
#include <windows.h>

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "win/handles.h"
#include "win/window.h"

namespace win {

enum class ModalResult { None = 0, Ok = IDOK, Cancel = IDCANCEL, Abort = IDABORT };

// Window classes of the controls a form is made of.
inline constexpr const char kButton[] = "BUTTON";  // push button, check box, group box (by style)
inline constexpr const char kEdit[] = "EDIT";
inline constexpr const char kLabel[] = "STATIC";  // text, picture (SS_BITMAP, SS_ICON) or frame
inline constexpr const char kListBox[] = "LISTBOX";
inline constexpr const char kComboBox[] = "COMBOBOX";
inline constexpr const char kDateTimePicker[] = "SysDateTimePick32";
inline constexpr const char kProgressBar[] = "msctls_progress32";
inline constexpr const char kHotKeyField[] = "msctls_hotkey32";  // takes a key combination as it is pressed

// One control. A row's handler runs on the control's own command: a click of a button, check
// box or picture (SS_NOTIFY), a change of selection in a list or combo box, a change of an
// edit's text; and for any command of its id that comes from a menu or an accelerator.
// Focusable controls become tab stops in the order of the rows.
template <class F>
struct ControlRow {
  const char* className;
  const char* caption;
  int id;  // 0 for a control nothing addresses (labels, group boxes)
  int left, top, width, height;
  DWORD style = 0;
  int page = 0;  // 0: on the form itself; n: shown while page n (from 1) is chosen
  void (F::*handler)() = nullptr;
};

struct FormFrame {
  const char* className;  // the window class, named after the form
  const char* caption;
  int clientWidth, clientHeight;
  HWND owner = nullptr;
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  DWORD exStyle = WS_EX_DLGMODALFRAME;
  HICON icon = nullptr;  // shown in the caption; the class keeps the one its first form gave
  // Page captions of a tab control that fills `pagesArea` (client pixels); pages count from 1.
  std::span<const char* const> pages = {};
  RECT pagesArea{};
  // Where the form goes: centred on the screen, or its top-left corner at (left, top).
  bool centred = true;
  int left = 0, top = 0;
};

class Form : public Window {
 public:
  // Shows the form and runs the message loop until Close(). The owner is disabled meanwhile.
  ModalResult ShowModal();
  void ShowModeless();
  // Ends a modal run with `result`; a modeless form hides.
  void Close(ModalResult result);
  ModalResult Result() const { return result_; }
  bool Modal() const { return modal_; }

  // The control of `id`; throws std::logic_error for an id the form has no control of.
  HWND Item(int id) const;
  // Texts of fields and list items are UTF-8; the controls are wide, so any language fits.
  std::string Text(int id) const;
  void SetText(int id, const std::string& text);
  bool Checked(int id) const;
  // Sets a check box as a click would, and runs its handler when its state changes: handlers
  // that follow one box with others must follow it whoever sets it.
  void SetChecked(int id, bool checked);
  void Enable(int id, bool enabled);
  bool Enabled(int id) const;
  void ShowControl(int id, bool shown);
  void MoveControl(int id, int left, int top);
  // The place and size of a control in client pixels.
  RECT ControlRect(int id) const;

  // List boxes and combo boxes alike.
  void AddItem(int id, const std::string& text);
  void DeleteItem(int id, int index);
  void ClearItems(int id);
  int ItemCount(int id) const;
  std::string ItemText(int id, int index) const;
  int Selection(int id) const;  // -1: none
  void Select(int id, int index);

  int Page() const { return page_; }
  void ShowPage(int page);

  // Key presses aimed at the control are dropped before it sees them (a list whose text must
  // always be one of its entries); with `keyDownToo` also the arrows and every other key.
  void IgnoreTyping(int id, bool keyDownToo = false);

 protected:
  explicit Form(const FormFrame& frame);

  // Creates the controls of `rows` in order; F is the form class whose handlers they name.
  template <class F>
  void AddControls(std::span<const ControlRow<F>> rows) {
    auto& self = static_cast<F&>(*this);
    for (const ControlRow<F>& row : rows) {
      std::function<void()> run;
      if (row.handler != nullptr) run = [&self, handler = row.handler] { (self.*handler)(); };
      AddControl({row.className, row.caption, row.id, row.left, row.top, row.width, row.height, row.style,
                  row.page}, std::move(run));
    }
    FitToTexts();
  }

  // Handlers for rows of buttons that only close the form.
  void CloseOk() { Close(ModalResult::Ok); }
  void CloseAbort() { Close(ModalResult::Abort); }

  // The close box, Esc, and the system's close: closes with Cancel unless overridden.
  virtual void CloseRequested();

  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;
  bool PreTranslateMessage(MSG& msg) override;

  HFONT Font() const { return font_.get(); }

 private:
  struct ControlPlacement {
    const char* className;
    const char* caption;
    int id;
    int left, top, width, height;
    DWORD style;
    int page;
  };
  struct Control {
    int id;
    int page;
    HWND hwnd;
    std::string className;
    UINT commandCode;  // the notification that runs the handler
    std::function<void()> run;
    bool ignoreChars = false, ignoreKeyDown = false;
  };

  void AddControl(const ControlPlacement& place, std::function<void()> run);
  // Grows the controls whose captions the form's font cuts, and the form with them
  // (win/form_fit.h).
  void FitToTexts();
  const Control* Find(int id) const;
  Control* Find(int id);
  const Control& Require(int id) const;
  bool IsList(int id) const;
  bool Command(int id, UINT code, HWND from);

  UniqueFont font_;
  HWND tabs_ = nullptr;
  std::vector<Control> controls_;
  int page_ = 1;
  int defaultButton_ = IDOK;
  ModalResult result_ = ModalResult::None;
  bool modal_ = false;
  bool centred_;
};

}  // namespace win
