// qkli: sticky notes in the notification area. One instance per user: a second start hands
// its files to the running instance and ends without showing anything.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/single_instance.h"
#include "win/error_box.h"
#include "win/message_loop.h"
#include "win/program_folder.h"
#include "win/unicode.h"

namespace {

// From the wide command line, so that a path in any language comes whole (the ANSI one has "?"
// for what the code page lacks).
std::vector<std::string> Arguments() {
  int count = 0;
  const std::unique_ptr<LPWSTR, decltype(&LocalFree)> wide(CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
  std::vector<std::string> arguments;
  for (int i = 1; wide && i < count; ++i) arguments.push_back(win::Utf8(wide.get()[i]));
  return arguments;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::vector<std::string> arguments = Arguments();
  const std::string programFolder = win::ProgramFolder();

  InstanceLock lock;
  if (HWND running = FindRunningController()) {
    win::ShowingErrors([&] { HandOver(running, arguments, programFolder); });
    return 0;
  }
  std::unique_ptr<TKliMain> controller;
  if (!win::ShowingErrors([&] { controller = std::make_unique<TKliMain>(arguments, programFolder); })) return 1;
  lock.Release();

  return win::RunMessageLoop();
}
