// Start-up and exit of qkli with 255 notes, against the floor of a bare Win32 program doing the
// same visible work (bare_notes_floor), in the same run. Also the working set with 255 notes
// and with none.
//
// What is timed:
// - start: from CreateProcess until the controller is attached to the tray. The controller
//   takes its tool-window style in the last step before it attaches the tray icon and menu, and
//   the benchmark waits for that style and for an answer to UM_PING (the window itself exists
//   from the first step, so a ping alone would stop the clock too early). The floor: until its
//   255 windows are shown.
// - exit: from UM_COMMAND 5 until the process has ended, every store file written. The floor:
//   from WM_CLOSE until its 255 files are written and it has ended.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/window_messages.h"
#include "notes/note_data.h"
#include "notes/note_file.h"
#include "tests/win/app_test_support.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// Windows paint after they are shown; memory is counted once the paints have settled, for qkli
// and the floor alike.
constexpr DWORD kSettleMs = 1500;


std::string WindowsPath(std::string path) {
  if (!path.empty() && path.front() == '/') path = "Z:" + path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Process {
  PROCESS_INFORMATION info{};
  ~Process() {
    if (info.hProcess == nullptr) return;
    if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
  }
};

bool Launch(const std::string& exe, const std::string& arguments, const std::string& folder, Process& process) {
  std::string commandLine = "\"" + exe + "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  return CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process.info) != 0;
}

// The polling must not slow the program it times: windows are found by class.
HWND FindClassOfProcess(DWORD pid, const char* className) {
  const std::vector<HWND> found = app_test::WindowsOfProcess(pid, className);
  return found.empty() ? nullptr : found.front();
}

// Waits until `ready` says so, looking every 10 ms; the time it took, or -1 after a minute.
double WaitUntil(Clock::time_point from, const std::function<bool()>& ready) {
  while (!ready()) {
    if (Clock::now() - from > std::chrono::minutes(1)) return -1;
    Sleep(10);
  }
  return Ms(Clock::now() - from);
}

size_t WorkingSet(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  return GetProcessMemoryInfo(process, &counters, sizeof counters) ? counters.WorkingSetSize : 0;
}

void CopyProgram(const fs::path& from, const fs::path& to) {
  fs::remove_all(to);
  fs::create_directories(to);
  for (const auto& entry : fs::directory_iterator(from))
    if (entry.path().filename() != "cache") fs::copy(entry.path(), to / entry.path().filename(), fs::copy_options::recursive);
  fs::create_directories(to / "cache");
}

// 255 notes as a long-used program folder holds them: ten lines of text each, spread out.
void FillNotes(const fs::path& cache, int count) {
  for (const auto& entry : fs::directory_iterator(cache)) fs::remove(entry.path());
  for (int i = 0; i < count; ++i) {
    NoteData note;
    for (int line = 0; line < 10; ++line) note.Lines.push_back("Note " + std::to_string(i) + ", line " + std::to_string(line) + ": remember the milk and the bread");
    note.Left = 10 + i % 40 * 20;
    note.Top = 10 + i % 30 * 20;
    note.Width = 180;
    note.Height = 170;
    note.Shown = true;
    note.FileName = "C:\\notes\\note" + std::to_string(i) + ".kli";
    note.StoreName = std::to_string(i) + ".kli";
    SaveNoteFile((cache / note.StoreName).string(), note);
  }
}

struct QkliRun {
  double start = -1, exit = -1;
  size_t workingSet = 0;
  int notes = 0;
};

QkliRun RunQkli(const fs::path& program) {
  QkliRun run;
  Process qkli;
  const auto t0 = Clock::now();
  if (!Launch((program / "qkli.exe").string(), "", program.string(), qkli)) return run;
  HWND controller = nullptr;
  run.start = WaitUntil(t0, [&] {
    controller = FindClassOfProcess(qkli.info.dwProcessId, kControllerClass);
    if (controller == nullptr || !(GetWindowLongA(controller, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) return false;
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(controller, UM_PING, 0, 0, SMTO_ABORTIFHUNG, 60000, &answer) && answer == 50;
  });
  Sleep(kSettleMs);  // let the last paints settle before the memory is counted
  run.notes = static_cast<int>(app_test::WindowsOfProcess(qkli.info.dwProcessId, "TTFoglio").size());
  run.workingSet = WorkingSet(qkli.info.hProcess);
  const auto t1 = Clock::now();
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(controller, UM_COMMAND, 5, 5, SMTO_ABORTIFHUNG, 60000, &answer);
  if (WaitForSingleObject(qkli.info.hProcess, 60000) == WAIT_OBJECT_0) run.exit = Ms(Clock::now() - t1);
  return run;
}

struct FloorRun {
  double start = -1, exit = -1;
  size_t workingSet = 0;
};

FloorRun RunFloor(const std::string& floorExe, const fs::path& cache) {
  FloorRun run;
  Process floor;
  const auto t0 = Clock::now();
  if (!Launch(floorExe, "\"" + cache.string() + "\"", cache.string(), floor)) return run;
  HWND ready = nullptr;
  run.start = WaitUntil(t0, [&] { return (ready = FindClassOfProcess(floor.info.dwProcessId, "BareNotesFloorReady")) != nullptr; });
  Sleep(kSettleMs);
  run.workingSet = WorkingSet(floor.info.hProcess);
  const auto t1 = Clock::now();
  PostMessageA(ready, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(floor.info.hProcess, 60000) == WAIT_OBJECT_0) run.exit = Ms(Clock::now() - t1);
  return run;
}

double PerNoteKb(size_t full, size_t empty, int notes) {
  return (static_cast<double>(full) - static_cast<double>(empty)) / 1024.0 / notes;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

// --quick: a few notes and one round, so that a test run keeps the benchmark working.
int main(int argc, char** argv) {
  const bool quick = argc > 1 && std::string(argv[1]) == "--quick";
  const int noteCount = quick ? 20 : 255;
  const int rounds = quick ? 1 : 3;
  // The floor program lies beside this one.
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string floorExe = (fs::path(self).parent_path() / "bare_notes_floor.exe").string();
  const fs::path program = fs::temp_directory_path() / ("qkli-bench-" + std::to_string(GetCurrentProcessId()));
  CopyProgram(WindowsPath(QKLI_PROGRAM_DIR), program);
  const fs::path cache = program / "cache";

  std::vector<double> start, exit, floorStart, floorExit, emptyStart;
  uintmax_t fileSize = 0;
  size_t fullSet = 0, emptySet = 0, floorFullSet = 0, floorEmptySet = 0;
  int restored = 0;
  for (int round = 0; round < rounds; ++round) {
    FillNotes(cache, noteCount);
    fileSize = fs::file_size(cache / "0.kli");
    const QkliRun full = RunQkli(program);
    restored = full.notes;
    start.push_back(full.start);
    exit.push_back(full.exit);
    fullSet = full.workingSet;
    int written = 0;
    for (const auto& entry : fs::directory_iterator(cache)) written += entry.path().extension() == ".kli";
    if (written != noteCount || full.exit < 0) {
      std::printf("error: %d store files after exit, expected %d\n", written, noteCount);
      return 1;
    }

    const FloorRun floor = RunFloor(floorExe, cache);
    floorStart.push_back(floor.start);
    floorExit.push_back(floor.exit);
    floorFullSet = floor.workingSet;

    FillNotes(cache, 0);
    const QkliRun empty = RunQkli(program);
    emptyStart.push_back(empty.start);
    emptySet = empty.workingSet;
    floorEmptySet = RunFloor(floorExe, cache).workingSet;
  }
  uintmax_t skinPixels = 0;
  for (const auto& entry : fs::directory_iterator(program / "skins" / "default"))
    if (entry.path().extension() == ".bmp") skinPixels += fs::file_size(entry.path());
  fs::remove_all(program);

  std::printf("qkli start-up and exit, %d notes (%ju bytes each), median of %d rounds\n", noteCount,
              fileSize, rounds);
  std::printf("  start until tray attached: %8.0f ms   floor (bare windows shown): %8.0f ms   ratio %.2f\n",
              Median(start), Median(floorStart), Median(start) / Median(floorStart));
  std::printf("  exit until files written:  %8.0f ms   floor (files written):       %8.0f ms   ratio %.2f\n",
              Median(exit), Median(floorExit), Median(exit) / Median(floorExit));
  std::printf("  start with no notes:       %8.0f ms\n", Median(emptyStart));
  std::printf("  notes restored: %d\n", restored);
  if (restored != noteCount) {
    std::printf("error: %d notes restored, expected %d\n", restored, noteCount);
    return 1;
  }
  std::printf("  working set: %.1f MB with %d notes, %.1f MB with none (%.0f KB per note)\n", fullSet / 1048576.0, noteCount,
              emptySet / 1048576.0, PerNoteKb(fullSet, emptySet, noteCount));
  std::printf("  floor working set: %.1f MB with %d windows, %.1f MB with none (%.0f KB per window)\n",
              floorFullSet / 1048576.0, noteCount, floorEmptySet / 1048576.0,
              PerNoteKb(floorFullSet, floorEmptySet, noteCount));
  std::printf("  one copy of the default skin's pictures: %.0f KB\n", skinPixels / 1024.0);
  return 0;
}
