// A tiny client of the running qkli's window messages, for scripts (tools/run-qkli) and by hand:
//   qkli_send ping            UM_PING, prints the answer (50)
//   qkli_send command N       UM_COMMAND N (4 new note, 5 exit, 8 show all, 11 cascade, ...)
//   qkli_send open PATH       WM_COPYDATA 101 with PATH
//   qkli_send menu X Y        opens the tray menu at the screen point (X, Y); waits until it closes
//   qkli_send options         UM_OPTIONS: the options dialog; waits until it closes
// Exits 0 when the controller answered, 1 when none runs, 2 on bad arguments.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/window_messages.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: qkli_send ping | command N | open PATH | menu X Y | options\n");
    return 2;
  }
  HWND controller = FindWindowA(kControllerClass, kProbeTitle);
  if (controller == nullptr) {
    std::fprintf(stderr, "qkli is not running\n");
    return 1;
  }
  DWORD_PTR answer = 0;
  BOOL sent = FALSE;
  if (std::strcmp(argv[1], "ping") == 0) {
    sent = SendMessageTimeoutA(controller, UM_PING, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer) != 0;
  } else if (std::strcmp(argv[1], "command") == 0 && argc == 3) {
    const long code = std::strtol(argv[2], nullptr, 10);
    sent = SendMessageTimeoutA(controller, UM_COMMAND, static_cast<WPARAM>(code), code, SMTO_ABORTIFHUNG, 30000,
                               &answer) != 0;
  } else if (std::strcmp(argv[1], "menu") == 0 && argc == 4) {
    const long at = std::strtol(argv[2], nullptr, 10) * 9999 + std::strtol(argv[3], nullptr, 10);
    sent = SendMessageTimeoutA(controller, UM_COMMAND, 12, at, SMTO_ABORTIFHUNG, 600000, &answer) != 0;
  } else if (std::strcmp(argv[1], "options") == 0) {
    sent = SendMessageTimeoutA(controller, UM_OPTIONS, 0, 0, SMTO_ABORTIFHUNG, 600000, &answer) != 0;
  } else if (std::strcmp(argv[1], "open") == 0 && argc == 3) {
    const std::string path = argv[2];
    COPYDATASTRUCT data{kCopyDataOpen, static_cast<DWORD>(path.size() + 1), const_cast<char*>(path.c_str())};
    sent = SendMessageTimeoutA(controller, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 30000,
                               &answer) != 0;
  } else {
    std::fprintf(stderr, "usage: qkli_send ping | command N | open PATH | menu X Y | options\n");
    return 2;
  }
  if (!sent) {
    std::fprintf(stderr, "qkli did not answer\n");
    return 1;
  }
  std::printf("%lld\n", static_cast<long long>(answer));
  return 0;
}
