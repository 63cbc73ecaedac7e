#pragma once
// The program's one way of reporting an error that ended a command: a message box with the
// error's text and one OK button, after which the program carries on.
#include <exception>
#include <string_view>

namespace win {

inline constexpr const char* kApplicationTitle = "Quor k-li";

void ShowErrorBox(std::string_view text);

// Runs `action` and shows any exception it throws in the error box instead of letting it
// escape: used at every boundary where Windows calls back into the program.
template <typename Action>
bool ShowingErrors(Action&& action) noexcept {
  try {
    action();
    return true;
  } catch (const std::exception& e) {
    ShowErrorBox(e.what());
  } catch (...) {
    ShowErrorBox("Unknown error");
  }
  return false;
}

}  // namespace win
