// The floor the start-up benchmark compares qkli with: the least a program can do to put 255
// notes on the screen and write them away. It makes one plain top-level tool window with an
// edit box per note file in the folder, the box showing that note's text as qkli's do, shows
// them, and says so by creating a window of class "BareNotesFloorReady". Told to close, it
// writes each file again (same bytes, same safe write as qkli) and ends.
//   bare_notes_floor <folder>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "notes/note_file.h"
#include "storage/file_io.h"
#include "win/unicode.h"

namespace {

LRESULT CALLBACK ReadyProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

std::vector<std::string> NoteFiles(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((folder + "\\*.kli").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(folder + "\\" + found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string folder = argv[1];
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA note{};
  note.lpfnWndProc = DefWindowProcA;
  note.hInstance = instance;
  note.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  note.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1);
  note.lpszClassName = "BareNote";
  RegisterClassA(&note);
  WNDCLASSA ready{};
  ready.lpfnWndProc = ReadyProcedure;
  ready.hInstance = instance;
  ready.lpszClassName = "BareNotesFloorReady";
  RegisterClassA(&ready);

  const std::vector<std::string> files = NoteFiles(folder);
  std::vector<std::string> contents;
  std::vector<HWND> windows;
  int i = 0;
  for (const std::string& file : files) {
    contents.push_back(ReadWholeFile(file));
    NoteData note;
    int itemsRead = 0;
    LoadNoteFile(file, note, itemsRead);
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, "BareNote", "", WS_POPUP | WS_CLIPCHILDREN, 10 + i % 40 * 20,
                                  10 + i % 30 * 20, 180, 170, GetDesktopWindow(), nullptr, instance, nullptr);
    CreateWindowExW(0, L"EDIT", win::Wide(EditTextFromLines(note.Lines)).c_str(),
                    WS_CHILD | WS_VISIBLE | ES_MULTILINE, 7, 25, 166, 137, window, nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOW);
    windows.push_back(window);
    ++i;
  }
  CreateWindowExA(0, "BareNotesFloorReady", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);

  for (size_t n = 0; n < files.size(); ++n) {
    WriteFileAtomically(files[n], contents[n]);
    DestroyWindow(windows[n]);
  }
  return 0;
}
