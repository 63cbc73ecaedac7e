#include "storage/atomic_file_writer.h"

#include <algorithm>
#include <cstring>

#include "storage/file_io.h"

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
}

AtomicFileWriter::AtomicFileWriter(std::string target)
    : target_(std::move(target)), temporary_(TemporaryPathFor(target_)) {
  os_file::RequireReplaceable(target_);
  buffer_.resize(kBufferSize);
  file_.emplace(temporary_);
}

AtomicFileWriter::~AtomicFileWriter() {
  if (file_) {
    file_.reset();
    os_file::RemoveQuietly(temporary_);
  }
}

void AtomicFileWriter::write(const std::uint8_t* bytes, std::size_t count) {
  while (count > 0) {
    if (used_ == buffer_.size()) drain();
    const std::size_t part = std::min(count, buffer_.size() - used_);
    std::memcpy(buffer_.data() + used_, bytes, part);
    used_ += part;
    bytes += part;
    count -= part;
  }
}

void AtomicFileWriter::drain() {
  if (failure_) throw *failure_;
  if (!file_) throw EInOutError(io_code::kFileNotOpen);
  try {
    file_->write(buffer_.data(), used_);
    used_ = 0;
  } catch (const EInOutError& error) {
    fail(error);
  }
}

void AtomicFileWriter::commit() {
  drain();
  try {
    file_->flushToDisk();
    file_->close();
    os_file::RenameOver(temporary_, target_);
    file_.reset();
  } catch (const EInOutError& error) {
    fail(error);
  }
}

void AtomicFileWriter::fail(const EInOutError& error) {
  // Dropping the temporary file at once also gives back the space a full disk needs.
  file_.reset();
  os_file::RemoveQuietly(temporary_);
  failure_ = error;
  used_ = buffer_.size();  // so the very next put() or write() reports the failure too
  throw error;
}
