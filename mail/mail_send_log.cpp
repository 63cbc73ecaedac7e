#include "mail/mail_send_log.h"

#include "win/unicode.h"

TTmailSend::TTmailSend(HWND owner)
    : Form({.className = "TTmailSend",
            .caption = "Sending mail",
            .clientWidth = 360,
            .clientHeight = 200,
            .owner = owner,
            .style = WS_POPUP | WS_CAPTION,
            .exStyle = WS_EX_TOOLWINDOW}) {
  AddControls<TTmailSend>(kRows);
  // A run over many notes writes more than an edit box takes by default.
  SendMessageA(Item(Memo1), EM_SETLIMITTEXT, 0, 0);
}

void TTmailSend::AddLogLine(const std::string& text) {
  // Appended at the end whatever the user selected, so no line lands inside another.
  HWND memo = Item(Memo1);
  const int end = GetWindowTextLengthW(memo);
  const std::wstring line = win::Wide(end == 0 ? text : "\r\n" + text);
  SendMessageW(memo, EM_SETSEL, static_cast<WPARAM>(end), end);
  SendMessageW(memo, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
}

std::vector<std::string> TTmailSend::Lines() const {
  const std::string text = Text(Memo1);
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  lines.push_back(text.substr(start));
  return lines;
}
