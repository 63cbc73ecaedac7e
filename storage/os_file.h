#pragma once
// The few operating-system file calls storage needs, behind one small seam:
// file_io_posix.cpp implements them natively, file_io_win.cpp for Windows.
// Every failure is an EInOutError carrying a Windows system error code.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace os_file {

// A file opened for reading only, shared with readers and writers, so read-only files open too.
class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(const std::string& path);
  ~ReadOnlyFile();
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  // Up to `capacity` bytes; 0 only at the end of the file.
  std::size_t read(std::uint8_t* into, std::size_t capacity);

  std::uint64_t size() const;  // in bytes, as it is now

 private:
  std::intptr_t handle_;
};

// A file created (or emptied) for writing by this process alone.
class NewFile {
 public:
  explicit NewFile(const std::string& path);
  ~NewFile();  // closes a file still open, ignoring errors
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;

  void write(const std::uint8_t* bytes, std::size_t count);  // all of them, or throws
  void flushToDisk();
  void close();

 private:
  std::intptr_t handle_;
  bool open_ = true;
};

// Throws "File access denied" when `path` names a folder or a file that may not be written,
// "Path not found" when its folder is missing; a file that does not exist yet is fine. Returns
// the size of the file there, if any.
std::optional<std::uint64_t> RequireReplaceable(const std::string& path);

// Moves `from` over `to` in one step, replacing `to`. A refusal because another process holds
// `to` open is retried for a short while.
void RenameOver(const std::string& from, const std::string& to);

void RemoveQuietly(const std::string& path) noexcept;

bool IsExistingFile(const std::string& path);
bool IsExistingFolder(const std::string& path);

// Names (not paths) of the plain files in `folder`; an unreadable folder gives none.
std::vector<std::string> FileNamesIn(const std::string& folder);

// `folder` joined with `name` by the platform's separator.
std::string JoinPath(const std::string& folder, const std::string& name);

// Moves `from` to `to` unless something is already there; false when it did not move.
bool MoveWithoutReplacing(const std::string& from, const std::string& to);

// One folder, its parent already there; an existing folder (or a failure) is left as it is.
void CreateFolder(const std::string& path);

// Where a path must pass through 8-bit text of the ANSI code page (the hand-over list, a note
// file's name): the volume's short name of a file whose long name the code page does not hold,
// when it has one; otherwise the path itself.
std::string PathForCodePage(const std::string& path);
// Back from such text: the long name of a file named by its short name, when the code page does
// not hold the long one (a short name given for its own sake stays as it is).
std::string PathFromCodePage(const std::string& path);

// The size of a plain file; nullopt when there is none at `path`.
std::optional<std::uint64_t> FileSize(const std::string& path);

// The system's wording for a code that has no standard text.
std::string SystemErrorText(int osCode);

}  // namespace os_file
