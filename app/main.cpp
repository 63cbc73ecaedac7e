// qkli: sticky notes in the notification area. One instance per user: a second start hands
// its files to the running instance and ends without showing anything.
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/single_instance.h"
#include "win/error_box.h"
#include "win/message_loop.h"
#include "win/program_folder.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::vector<std::string> arguments(__argv + (__argc > 0 ? 1 : 0), __argv + __argc);
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
