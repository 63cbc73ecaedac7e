#include "storage/io_error.h"

#include "storage/os_file.h"

std::string InOutErrorText(int osCode) {
  switch (osCode) {
    case io_code::kFileNotFound: return "File not found";
    case io_code::kPathNotFound: return "Path not found";
    case io_code::kTooManyOpenFiles: return "Too many open files";
    case io_code::kAccessDenied: return "File access denied";
    case io_code::kFileNotOpen: return "File not open";
    case io_code::kSharingViolation: return "File in use by another process";
    case io_code::kReadBeyondEnd: return "Read beyond end of file";
    case io_code::kHandleDiskFull:
    case io_code::kDiskFull: return "Disk full";
    case io_code::kInvalidName: return "Invalid filename";
    default: return os_file::SystemErrorText(osCode);
  }
}

EInOutError::EInOutError(int osCode, std::string text)
    : std::runtime_error(std::move(text)), code_(osCode) {}

EInOutError::EInOutError(int osCode) : EInOutError(osCode, InOutErrorText(osCode)) {}
