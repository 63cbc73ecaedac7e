// "Always on top" for all notes at once, with 255 notes on a skin whose notes switch between
// editing and display (Activable): the time the note list takes, and how many notes edit after.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "app/note_list.h"
#include "look/skin.h"
#include "notes/note_window.h"
#include "tests/win/app_test_support.h"
#include "tests/win/list_host.h"

int main(int argc, char** argv) {
  const int count = argc > 1 && std::string(argv[1]) == "--quick" ? 20 : 255;
  const std::string folder = (std::filesystem::temp_directory_path() / "qkli-on-top-bench").string();
  std::filesystem::create_directories(folder);
  TQuorSkin skin("glass", app_test::WindowsPath(QKLI_PROGRAM_DIR));
  ListHost host;
  auto notes = std::make_unique<TQuorLista>(host);
  host.notes = notes.get();
  for (int i = 0; i < count; ++i) notes->AddFromFile(skin, "", folder).SetShown(true);
  notes->EndEditing();  // every note shows its display: each one the command reaches starts editing
  const auto start = std::chrono::steady_clock::now();
  notes->SetAllOnTop(true);
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  int editing = 0;
  for (int i = 0; i < notes->Count(); ++i) editing += notes->Note(i).TextBox().Visible();
  std::printf("on top for all, %d notes (Activable skin): %.0f ms; notes editing after: %d\n", count, ms, editing);
  for (int i = notes->Count(); i > 0; --i) notes->Delete(0);
  std::filesystem::remove_all(folder);
  return editing == 1 ? 0 : 1;
}
