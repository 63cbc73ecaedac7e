#include "app/note_folder.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>

#include "storage/file_io.h"
#include "win/handles.h"

namespace {

std::wstring Widen(const std::string& ansi) {
  if (ansi.empty()) return {};
  const int size = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), size);
  return wide;
}

// `name` in the ANSI code page with `standIn` for what the code page lacks. No "best fit"
// look-alikes: "Ā" must not become "A", which names another file.
std::string Narrow(const std::wstring& name, const char* standIn, bool* lossy) {
  if (name.empty()) return {};
  // A UTF-8 code page takes neither the flag nor a stand-in, and needs none.
  const bool utf8 = GetACP() == CP_UTF8;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL usedStandIn = FALSE;
  const auto convert = [&](char* into, int capacity) {
    return WideCharToMultiByte(CP_ACP, flags, name.data(), static_cast<int>(name.size()), into, capacity,
                               utf8 ? nullptr : standIn, utf8 ? nullptr : &usedStandIn);
  };
  std::string narrow(static_cast<size_t>(convert(nullptr, 0)), '\0');
  convert(narrow.data(), static_cast<int>(narrow.size()));
  if (lossy) *lossy = usedStandIn || Widen(narrow) != name;
  return narrow;
}

// The name by which the ANSI calls reach the file `name`, if it has one.
std::optional<std::string> AnsiName(const std::wstring& name) {
  bool lossy = false;
  std::string narrow = Narrow(name, nullptr, &lossy);
  if (name.empty() || lossy) return std::nullopt;
  return narrow;
}

bool EndsWithKli(const std::wstring& name) {
  if (name.size() <= 4) return false;
  std::wstring end = name.substr(name.size() - 4);
  for (wchar_t& c : end) c = (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
  return end == L".kli";
}

struct FoundNote {
  std::wstring name;
  std::optional<std::string> ansiName;  // own name, else the short one
};

std::vector<FoundNote> FindNoteFiles(const std::string& folder) {
  std::vector<FoundNote> notes;
  WIN32_FIND_DATAW found{};
  const win::UniqueFind search(FindFirstFileW(Widen(folder + "\\*.kli").c_str(), &found));
  if (!search) return notes;
  do {
    const std::wstring name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || !EndsWithKli(name)) continue;
    std::optional<std::string> ansiName = AnsiName(name);
    if (!ansiName) ansiName = AnsiName(found.cAlternateFileName);
    notes.push_back({name, std::move(ansiName)});
  } while (FindNextFileW(search.get(), &found));
  return notes;
}

}  // namespace

std::string NotesFolderOf(const std::string& programFolder) { return programFolder + "\\cache"; }

void PrepareNotesFolder(const std::string& folder) {
  if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    throw std::runtime_error("Cannot create the notes folder " + folder);
  RemoveLeftoverTemporaries(folder);
  for (const FoundNote& note : FindNoteFiles(folder)) {
    // A file that cannot be renamed stays as it is: it is not lost, only not shown.
    if (!note.ansiName) {
      try {
        GiveAnsiName(folder, note.name);
      } catch (const std::runtime_error&) {
      }
    }
  }
}

std::vector<std::string> NoteFileNames(const std::string& folder) {
  std::vector<FoundNote> notes = FindNoteFiles(folder);
  std::erase_if(notes, [](const FoundNote& note) { return !note.ansiName; });
  std::sort(notes.begin(), notes.end(), [](const FoundNote& a, const FoundNote& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, a.name.data(),
                          static_cast<int>(a.name.size()), b.name.data(), static_cast<int>(b.name.size())) ==
           CSTR_LESS_THAN;
  });
  std::vector<std::string> names;
  for (FoundNote& note : notes) names.push_back(std::move(*note.ansiName));
  return names;
}

std::string GiveAnsiName(const std::string& folder, const std::wstring& wideName) {
  const size_t dot = std::min(wideName.rfind(L'.'), wideName.size());
  const std::string stem = Narrow(wideName.substr(0, dot), "_", nullptr);
  const std::string extension = Narrow(wideName.substr(dot), "_", nullptr);
  const std::wstring from = Widen(folder) + L"\\" + wideName;
  for (int n = 1; n < 1000; ++n) {
    const std::string name = n == 1 ? stem + extension : stem + "-" + std::to_string(n) + extension;
    // Never over another file: a taken name makes the rename fail, and the next one is tried.
    if (MoveFileW(from.c_str(), Widen(folder + "\\" + name).c_str())) return name;
    const DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) break;
  }
  throw std::runtime_error("Cannot give the note file an ANSI name in " + folder);
}
