#include "storage/buffered_file_reader.h"

#include <algorithm>

#include "storage/io_error.h"

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
}

BufferedFileReader::BufferedFileReader(const std::string& path) : file_(path), buffer_(kBufferSize) {}

void BufferedFileReader::readAcrossRefills(std::uint8_t* into, std::size_t count) {
  while (count > 0) {
    if (next_ == end_) refill();
    const std::size_t part = std::min(count, end_ - next_);
    std::memcpy(into, buffer_.data() + next_, part);
    next_ += part;
    into += part;
    count -= part;
  }
}

void BufferedFileReader::refill() {
  if (!fill()) throw EInOutError(io_code::kReadBeyondEnd);
}

bool BufferedFileReader::fill() {
  next_ = 0;
  end_ = file_.read(buffer_.data(), buffer_.size());
  return end_ != 0;
}
