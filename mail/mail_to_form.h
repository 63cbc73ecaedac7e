#pragma once
// The mail-to form TTMailTo ("Mail K-lI to"): where a note gets the To address, the subject and
// the recipient list of the mail it is sent in later. The form only edits; the note copies the
// fields in before and out after an OK. Win32.
#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "win/form.h"
#include "win/menu.h"

class TTMailTo : public win::Form {
 public:
  static constexpr int Edit1 = 101, SpeedButton1 = 102, Edit2 = 103, ListBox1 = 104, Button1 = 105;
  static constexpr int BitBtn1 = IDOK, BitBtn2 = IDABORT;

  explicit TTMailTo(HWND owner);

  void SetFields(const std::string& to, const std::string& subject, const std::vector<std::string>& recipients);
  std::string To() const { return Text(Edit1); }
  std::string Subject() const { return Text(Edit2); }
  std::vector<std::string> Recipients() const;

  // Appends the To address to the list (when there is one) and empties the field.
  void SpeedButton1Click();
  // Deletes the selected entry, when one is selected.
  void Deletethis1Click();
  // Empties the list.
  void Button1Click();

  // The list's context menu.
  static std::span<const win::CommandRow<TTMailTo>> PopupMenu1Rows();
  const win::MenuResource& PopupMenu() const { return PopupMenu1; }

 protected:
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  static std::span<const win::ControlRow<TTMailTo>> Rows();
  void AddHint(int id, const char* text);

  win::CommandMenu<TTMailTo> PopupMenu1;
  HWND hints_ = nullptr;  // owned by the form's window, which destroys it
};
