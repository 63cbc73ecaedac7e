#include "app/note_folder.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

#include "storage/file_io.h"
#include "win/program_folder.h"

std::string NotesFolderOf(const std::string& programFolder) { return programFolder + "\\cache"; }

void PrepareNotesFolder(const std::string& folder) {
  if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    throw std::runtime_error("Cannot create the notes folder " + folder);
  RemoveLeftoverTemporaries(folder);
}

std::vector<std::string> NoteFileNames(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((folder + "\\*.kli").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && name.size() > 4 &&
        win::LowerCase(name.substr(name.size() - 4)) == ".kli")
      names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, a.data(),
                          static_cast<int>(a.size()), b.data(), static_cast<int>(b.size())) == CSTR_LESS_THAN;
  });
  return names;
}
