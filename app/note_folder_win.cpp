#include "app/note_folder.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>

#include "storage/file_io.h"
#include "win/handles.h"
#include "win/unicode.h"

namespace {

// `name` itself when the ANSI code page holds it: the note file keeps its name as 8-bit text.
std::optional<std::string> AnsiName(const std::wstring& name) {
  std::string utf8 = win::Utf8(name);
  if (name.empty() || !win::AnsiFromUtf8(utf8).exact) return std::nullopt;
  return utf8;
}

// `text` as the ANSI code page has it, with "_" for what it lacks. No "best fit" look-alikes:
// "Ā" must not become "A", which names another file. A file name holds no "?" of its own, so
// every "?" stands for such a character.
std::string WithAnsiCharacters(std::string_view text) {
  std::string ansi = win::AnsiFromUtf8(text).text;
  std::replace(ansi.begin(), ansi.end(), '?', '_');
  return win::Utf8FromAnsi(ansi).text;
}

bool EndsWithKli(const std::wstring& name) {
  if (name.size() <= 4) return false;
  std::wstring end = name.substr(name.size() - 4);
  for (wchar_t& c : end) c = (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
  return end == L".kli";
}

struct FoundNote {
  std::wstring name;
  std::optional<std::string> ansiName;  // own name, else the short one, when the code page holds it
};

std::vector<FoundNote> FindNoteFiles(const std::string& folder) {
  std::vector<FoundNote> notes;
  WIN32_FIND_DATAW found{};
  const win::UniqueFind search(FindFirstFileW(win::Wide(folder + "\\*.kli").c_str(), &found));
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
  if (!CreateDirectoryW(win::Wide(folder).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
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
  const std::string own = win::Utf8(wideName);
  const size_t dot = std::min(own.rfind('.'), own.size());
  const std::string stem = WithAnsiCharacters(own.substr(0, dot));
  const std::string extension = WithAnsiCharacters(own.substr(dot));
  const std::wstring from = win::Wide(folder) + L"\\" + wideName;
  for (int n = 1; n < 1000; ++n) {
    const std::string name = n == 1 ? stem + extension : stem + "-" + std::to_string(n) + extension;
    // Never over another file: a taken name makes the rename fail, and the next one is tried.
    if (MoveFileW(from.c_str(), win::Wide(folder + "\\" + name).c_str())) return name;
    const DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) break;
  }
  throw std::runtime_error("Cannot give the note file an ANSI name in " + folder);
}
