// Windows file calls, the wide ones: paths are UTF-8 inside the program, so a name in any
// language opens. Failures carry GetLastError's code.
#include <windows.h>

#include <algorithm>
#include <memory>

#include "storage/io_error.h"
#include "storage/os_file.h"
#include "win/handles.h"
#include "win/unicode.h"

namespace os_file {
namespace {

// A scanner or indexer that briefly holds the target open makes the rename fail; waiting a
// little is enough for it to let go.
constexpr int kRenameAttempts = 6;
constexpr DWORD kRenamePauseMs = 50;

HANDLE AsHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

[[noreturn]] void ThrowLastError() { throw EInOutError(static_cast<int>(::GetLastError())); }

std::intptr_t OpenOrThrow(const std::string& path, DWORD access, DWORD share, DWORD disposition,
                          DWORD flags) {
  if (path.empty()) throw EInOutError(io_code::kInvalidName);
  const HANDLE handle = ::CreateFileW(win::Wide(path).c_str(), access, share, nullptr, disposition, flags, nullptr);
  if (handle == INVALID_HANDLE_VALUE) ThrowLastError();
  return reinterpret_cast<std::intptr_t>(handle);
}

bool IsTransientRenameRefusal(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

}  // namespace

ReadOnlyFile::ReadOnlyFile(const std::string& path)
    : handle_(OpenOrThrow(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN)) {}

ReadOnlyFile::~ReadOnlyFile() { ::CloseHandle(AsHandle(handle_)); }

std::size_t ReadOnlyFile::read(std::uint8_t* into, std::size_t capacity) {
  const DWORD want = static_cast<DWORD>(std::min<std::size_t>(capacity, 1u << 30));
  DWORD got = 0;
  if (!::ReadFile(AsHandle(handle_), into, want, &got, nullptr)) {
    if (::GetLastError() == ERROR_HANDLE_EOF) return 0;
    ThrowLastError();
  }
  return got;
}

std::uint64_t ReadOnlyFile::size() const {
  LARGE_INTEGER bytes{};
  if (!::GetFileSizeEx(AsHandle(handle_), &bytes)) ThrowLastError();
  return static_cast<std::uint64_t>(bytes.QuadPart);
}

NewFile::NewFile(const std::string& path)
    : handle_(OpenOrThrow(path, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL)) {}

NewFile::~NewFile() {
  if (open_) ::CloseHandle(AsHandle(handle_));
}

void NewFile::write(const std::uint8_t* bytes, std::size_t count) {
  if (!open_) throw EInOutError(io_code::kFileNotOpen);
  while (count > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
    DWORD put = 0;
    if (!::WriteFile(AsHandle(handle_), bytes, chunk, &put, nullptr)) ThrowLastError();
    if (put == 0) throw EInOutError(io_code::kDiskFull);
    bytes += put;
    count -= put;
  }
}

void NewFile::flushToDisk() {
  if (!open_) throw EInOutError(io_code::kFileNotOpen);
  if (!::FlushFileBuffers(AsHandle(handle_))) ThrowLastError();
}

void NewFile::close() {
  if (!open_) return;
  open_ = false;
  if (!::CloseHandle(AsHandle(handle_))) ThrowLastError();
}

std::optional<std::uint64_t> RequireReplaceable(const std::string& path) {
  if (path.empty()) throw EInOutError(io_code::kInvalidName);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(win::Wide(path).c_str(), GetFileExInfoStandard, &data)) {
    if (::GetLastError() == ERROR_PATH_NOT_FOUND) throw EInOutError(io_code::kPathNotFound);
    return std::nullopt;
  }
  if (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))
    throw EInOutError(io_code::kAccessDenied);
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void RenameOver(const std::string& from, const std::string& to) {
  // Not ReplaceFileA: Wine's version deletes the target before moving the new file in, so a
  // crash in between would lose both.
  for (int attempt = 1;; ++attempt) {
    if (::MoveFileExW(win::Wide(from).c_str(), win::Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return;
    const DWORD error = ::GetLastError();
    if (attempt == kRenameAttempts || !IsTransientRenameRefusal(error))
      throw EInOutError(static_cast<int>(error));
    ::Sleep(kRenamePauseMs);
  }
}

void RemoveQuietly(const std::string& path) noexcept { ::DeleteFileW(win::Wide(path).c_str()); }

bool IsExistingFile(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = ::GetFileAttributesW(win::Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsExistingFolder(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(win::Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> FileNamesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  const win::UniqueFind find(::FindFirstFileW(win::Wide(JoinPath(folder, "*")).c_str(), &found));
  if (!find) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(win::Utf8(found.cFileName));
  } while (::FindNextFileW(find.get(), &found));
  return names;
}

namespace {

using PathNameCall = DWORD(WINAPI*)(LPCWSTR, LPWSTR, DWORD);

// `path` as `call` (GetShortPathNameW, GetLongPathNameW) names it; empty when it cannot.
std::string OtherPathName(const std::string& path, PathNameCall call) {
  const std::wstring wide = win::Wide(path);
  std::wstring other(MAX_PATH, L'\0');
  DWORD length = call(wide.c_str(), other.data(), static_cast<DWORD>(other.size()));
  if (length >= other.size()) {
    other.resize(length);
    length = call(wide.c_str(), other.data(), length);
  }
  return length == 0 || length >= other.size() ? std::string() : win::Utf8(std::wstring_view(other.data(), length));
}

}  // namespace

std::string PathForCodePage(const std::string& path) {
  if (win::AnsiFromUtf8(path).exact) return path;
  const std::string shortPath = OtherPathName(path, &::GetShortPathNameW);
  return !shortPath.empty() && win::AnsiFromUtf8(shortPath).exact ? shortPath : path;
}

std::string PathFromCodePage(const std::string& path) {
  const std::string longPath = OtherPathName(path, &::GetLongPathNameW);
  return !longPath.empty() && !win::AnsiFromUtf8(longPath).exact ? longPath : path;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '\\' || folder.back() == '/') return folder + name;
  return folder + "\\" + name;
}

bool MoveWithoutReplacing(const std::string& from, const std::string& to) {
  return ::MoveFileExW(win::Wide(from).c_str(), win::Wide(to).c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

void CreateFolder(const std::string& path) { ::CreateDirectoryW(win::Wide(path).c_str(), nullptr); }

std::optional<std::uint64_t> FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(win::Wide(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::nullopt;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string SystemErrorText(int osCode) {
  wchar_t text[512];
  DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                  static_cast<DWORD>(osCode), 0, text, 512, nullptr);
  while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n' || text[length - 1] == L' ' ||
                        text[length - 1] == L'.'))
    --length;
  if (length == 0) return "I/O error " + std::to_string(osCode);
  return win::Utf8(std::wstring_view(text, length));
}

}  // namespace os_file
