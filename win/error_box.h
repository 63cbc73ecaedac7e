#pragma once
// The program's one way of reporting an error that ended a command: a message box with the
// error's text (UTF-8, as every text of the program) and one OK button, after which the program
// carries on.
#include <exception>
#include <string_view>

namespace win {

inline constexpr const char* kApplicationTitle = "Quor k-li";

// Shows the box and waits for OK. While one error box is open, a further error (a timer or a
// paint that fails again while the box's own loop runs) is not stacked on it: it goes to the
// debugger output only.
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
