// Native file calls. errno values are turned into the Windows codes the rest of the program
// speaks, so a test expects the same code on both platforms.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "storage/io_error.h"
#include "storage/os_file.h"

namespace os_file {
namespace {

constexpr int kIoDeviceError = 1117;  // ERROR_IO_DEVICE: anything without a closer match

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

bool FolderExists(const std::string& path) {
  struct stat info {};
  return ::stat(FolderOf(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

[[noreturn]] void ThrowErrno(int error, const std::string& path) {
  switch (error) {
    case ENOENT: throw EInOutError(FolderExists(path) ? io_code::kFileNotFound : io_code::kPathNotFound);
    case ENOTDIR: throw EInOutError(io_code::kPathNotFound);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY: throw EInOutError(io_code::kAccessDenied);
    case EMFILE:
    case ENFILE: throw EInOutError(io_code::kTooManyOpenFiles);
    case ENOSPC:
    case EDQUOT:
    case EFBIG: throw EInOutError(io_code::kDiskFull);
    case ENAMETOOLONG: throw EInOutError(io_code::kNameTooLong);
    case EINVAL: throw EInOutError(io_code::kInvalidParameter);
    case EBUSY: throw EInOutError(io_code::kSharingViolation);
    default: throw EInOutError(kIoDeviceError, std::string("I/O error (") + std::strerror(error) + ")");
  }
}

int OpenOrThrow(const std::string& path, int flags) {
  if (path.empty()) throw EInOutError(io_code::kInvalidName);
  int fd;
  do fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
  while (fd < 0 && errno == EINTR);
  if (fd < 0) ThrowErrno(errno, path);
  return fd;
}

void SyncFolderOf(const std::string& path) {
  const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // makes the rename itself durable; a failure here loses nothing already written
  ::close(fd);
}

}  // namespace

ReadOnlyFile::ReadOnlyFile(const std::string& path) : handle_(OpenOrThrow(path, O_RDONLY)) {
  struct stat info {};
  if (::fstat(static_cast<int>(handle_), &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(static_cast<int>(handle_));
    throw EInOutError(io_code::kAccessDenied);  // as Windows answers for a folder
  }
}

ReadOnlyFile::~ReadOnlyFile() { ::close(static_cast<int>(handle_)); }

std::size_t ReadOnlyFile::read(std::uint8_t* into, std::size_t capacity) {
  for (;;) {
    const ssize_t got = ::read(static_cast<int>(handle_), into, capacity);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) ThrowErrno(errno, {});
  }
}

std::uint64_t ReadOnlyFile::size() const {
  struct stat info {};
  if (::fstat(static_cast<int>(handle_), &info) != 0) ThrowErrno(errno, {});
  return static_cast<std::uint64_t>(info.st_size);
}

NewFile::NewFile(const std::string& path)
    : handle_(OpenOrThrow(path, O_WRONLY | O_CREAT | O_TRUNC)) {}

NewFile::~NewFile() {
  if (open_) ::close(static_cast<int>(handle_));
}

void NewFile::write(const std::uint8_t* bytes, std::size_t count) {
  if (!open_) throw EInOutError(io_code::kFileNotOpen);
  while (count > 0) {
    const ssize_t put = ::write(static_cast<int>(handle_), bytes, count);
    if (put < 0) {
      if (errno == EINTR) continue;
      ThrowErrno(errno, {});
    }
    if (put == 0) throw EInOutError(io_code::kDiskFull);
    bytes += put;
    count -= static_cast<std::size_t>(put);
  }
}

void NewFile::flushToDisk() {
  if (!open_) throw EInOutError(io_code::kFileNotOpen);
  if (::fsync(static_cast<int>(handle_)) != 0) ThrowErrno(errno, {});
}

void NewFile::close() {
  if (!open_) return;
  open_ = false;
  if (::close(static_cast<int>(handle_)) != 0 && errno != EINTR) ThrowErrno(errno, {});
}

std::optional<std::uint64_t> RequireReplaceable(const std::string& path) {
  if (path.empty()) throw EInOutError(io_code::kInvalidName);
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    const auto slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    if (errno == ENOTDIR || ::stat(folder.c_str(), &info) != 0) throw EInOutError(io_code::kPathNotFound);
    return std::nullopt;
  }
  // Without any write permission bit a file counts as read-only, as the Windows attribute
  // does; checking the bits rather than access() keeps this true for root as well.
  if (S_ISDIR(info.st_mode) || (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
    throw EInOutError(io_code::kAccessDenied);
  return static_cast<std::uint64_t>(info.st_size);
}

void RenameOver(const std::string& from, const std::string& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) ThrowErrno(errno, to);
  SyncFolderOf(to);
}

void RemoveQuietly(const std::string& path) noexcept { ::unlink(path.c_str()); }

bool IsExistingFile(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsExistingFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Native file systems have no short names.
std::string PathForCodePage(const std::string& path) { return path; }
std::string PathFromCodePage(const std::string& path) { return path; }

std::vector<std::string> FileNamesIn(const std::string& folder) {
  std::vector<std::string> names;
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
  if (!dir) return names;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name != "." && name != ".." && IsExistingFile(JoinPath(folder, name))) names.push_back(name);
  }
  return names;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::string SystemErrorText(int osCode) { return "I/O error " + std::to_string(osCode); }

bool MoveWithoutReplacing(const std::string& from, const std::string& to) {
  // link + unlink: rename would replace a file that appeared meanwhile.
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  ::unlink(from.c_str());
  SyncFolderOf(to);
  return true;
}

void CreateFolder(const std::string& path) { ::mkdir(path.c_str(), 0777); }

std::optional<std::uint64_t> FileSize(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return static_cast<std::uint64_t>(info.st_size);
}

}  // namespace os_file
