#pragma once
// TTmailSend, the "Sending mail" log: one memo that lists what happened while the notes are
// mailed. It lives for one run of "Mail K-lI", beside the sending windows that come and go.
#include <windows.h>

#include <string>
#include <vector>

#include "win/form.h"

class TTmailSend final : public win::Form {
 public:
  static constexpr int Memo1 = 1;

  explicit TTmailSend(HWND owner);

  void AddLogLine(const std::string& text);
  std::vector<std::string> Lines() const;
  void Show() { ShowModeless(); }

 protected:
  // Nothing closes the log but the end of the run that made it.
  void CloseRequested() override {}

 private:
  static constexpr win::ControlRow<TTmailSend> kRows[] = {
      {win::kEdit, "", Memo1, 4, 4, 352, 192, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL},
  };
};
