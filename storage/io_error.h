#pragma once
// The runtime's input/output and conversion errors. Codes are Windows system error codes on
// every platform (the native build maps errno onto them), so callers and tests see the same
// code and text wherever they run.
#include <stdexcept>
#include <string>

namespace io_code {
inline constexpr int kFileNotFound = 2;        // ERROR_FILE_NOT_FOUND
inline constexpr int kPathNotFound = 3;        // ERROR_PATH_NOT_FOUND
inline constexpr int kTooManyOpenFiles = 4;    // ERROR_TOO_MANY_OPEN_FILES
inline constexpr int kAccessDenied = 5;        // ERROR_ACCESS_DENIED
inline constexpr int kFileNotOpen = 6;         // ERROR_INVALID_HANDLE: a read or write on a closed file
inline constexpr int kSharingViolation = 32;   // ERROR_SHARING_VIOLATION
inline constexpr int kLockViolation = 33;      // ERROR_LOCK_VIOLATION
inline constexpr int kReadBeyondEnd = 38;      // ERROR_HANDLE_EOF
inline constexpr int kHandleDiskFull = 39;     // ERROR_HANDLE_DISK_FULL
inline constexpr int kInvalidParameter = 87;   // ERROR_INVALID_PARAMETER
inline constexpr int kDiskFull = 112;          // ERROR_DISK_FULL
inline constexpr int kInvalidName = 123;       // ERROR_INVALID_NAME
inline constexpr int kNameTooLong = 206;       // ERROR_FILENAME_EXCED_RANGE
}  // namespace io_code

// The standard text of a code: "File not found", "Path not found", "File access denied",
// "Read beyond end of file", "Disk full", ...; other codes get the system's own wording.
std::string InOutErrorText(int osCode);

class EInOutError : public std::runtime_error {
 public:
  EInOutError(int osCode, std::string text);
  explicit EInOutError(int osCode);  // with the standard text of the code
  int code() const noexcept { return code_; }

 private:
  int code_;
};

// "'%s' is not a valid date" / "'%s' is not a valid time".
class EConvertError : public std::runtime_error {
 public:
  using runtime_error::runtime_error;
};
