#pragma once
// Reads a file through a buffer, so single bytes cost no system call.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "storage/os_file.h"

class BufferedFileReader {
 public:
  explicit BufferedFileReader(const std::string& path);  // throws EInOutError ("File not found", ...)

  // Both throw EInOutError "Read beyond end of file" when the file ends first.
  std::uint8_t get() {
    if (next_ == end_) refill();
    return buffer_[next_++];
  }
  void read(std::uint8_t* into, std::size_t count) {
    if (end_ - next_ < count) return readAcrossRefills(into, count);
    std::memcpy(into, buffer_.data() + next_, count);
    next_ += count;
  }
  // The next byte, left in place; false at the end of the file.
  bool peek(std::uint8_t& next) {
    if (next_ == end_ && !fill()) return false;
    next = buffer_[next_];
    return true;
  }

 private:
  void readAcrossRefills(std::uint8_t* into, std::size_t count);
  void refill();
  bool fill();  // false when the file has no more bytes

  os_file::ReadOnlyFile file_;
  std::vector<std::uint8_t> buffer_;
  std::size_t next_ = 0;
  std::size_t end_ = 0;
};
