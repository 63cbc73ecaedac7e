#include "win/recycle_bin.h"

#include <windows.h>
#include <shellapi.h>

#include <stdexcept>
#include <vector>

#include "win/handles.h"
#include "win/unicode.h"

namespace win {
namespace {

// FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO
constexpr FILEOP_FLAGS kRecycleFlags = 0x54;

std::string FolderOfItsOwn() {
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH) throw std::runtime_error("No temporary folder for the recycle bin copy");
  std::string base = Utf8(std::wstring_view(temp, length));
  if (base.back() != '\\') base += '\\';
  const DWORD seed = GetTickCount() ^ GetCurrentProcessId();
  for (DWORD n = 0; n < 1000; ++n) {
    const std::string folder = base + "qkli-recycle-" + std::to_string(seed + n);
    if (CreateDirectoryW(Wide(folder).c_str(), nullptr)) return folder;
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  throw std::runtime_error("No folder in " + base + " for the recycle bin copy");
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> files;
  WIN32_FIND_DATAW found{};
  const UniqueFind search(FindFirstFileW(Wide(folder + "\\*").c_str(), &found));
  if (!search) return files;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) files.push_back(folder + "\\" + Utf8(found.cFileName));
  } while (FindNextFileW(search.get(), &found));
  return files;
}

}  // namespace

void RecycleCopy(const std::string& fileName, const std::function<void(const std::string&)>& write) {
  const std::string folder = FolderOfItsOwn();
  try {
    write(folder + "\\" + fileName);
  } catch (...) {
    for (const std::string& file : FilesIn(folder)) DeleteFileW(Wide(file).c_str());
    RemoveDirectoryW(Wide(folder).c_str());
    throw;
  }
  // Each source ends with a NUL, the list with another one.
  std::wstring sources;
  for (const std::string& file : FilesIn(folder)) sources += Wide(file) + L'\0';
  sources += L'\0';
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = sources.c_str();
  operation.fFlags = kRecycleFlags;
  // Its result tells nothing the folder does not: what the bin refused is still there, and the
  // folder then stays with it.
  SHFileOperationW(&operation);
  RemoveDirectoryW(Wide(folder).c_str());
}

}  // namespace win
