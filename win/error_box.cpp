#include "win/error_box.h"

#include <windows.h>

#include <string>

namespace win {

void ShowErrorBox(std::string_view text) {
  const std::string message(text);
  MessageBoxA(nullptr, message.c_str(), kApplicationTitle, MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

}  // namespace win
