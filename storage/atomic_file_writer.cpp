#include "storage/atomic_file_writer.h"

#include <algorithm>
#include <cstring>

#include "storage/file_io.h"

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

// `size` is what the file had when the write began: a file of another size is not read.
bool HoldsExactly(const std::string& path, std::optional<std::uint64_t> size, const std::uint8_t* bytes,
                  std::size_t count) {
  if (size != count) return false;
  try {
    os_file::ReadOnlyFile file(path);
    std::vector<std::uint8_t> held(count);
    std::size_t got = 0;
    while (got < count) {
      const std::size_t part = file.read(held.data() + got, count - got);
      if (part == 0) return false;
      got += part;
    }
    return std::memcmp(held.data(), bytes, count) == 0;
  } catch (const EInOutError&) {
    return false;
  }
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string target)
    : target_(std::move(target)), temporary_(TemporaryPathFor(target_)) {
  targetSize_ = os_file::RequireReplaceable(target_);
  buffer_.resize(kBufferSize);
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
  if (committed_) throw EInOutError(io_code::kFileNotOpen);
  try {
    // Made at the first bytes that leave the buffer: a write that turns out to change nothing
    // never touches the folder.
    if (!file_) file_.emplace(temporary_);
    file_->write(buffer_.data(), used_);
    used_ = 0;
  } catch (const EInOutError& error) {
    fail(error);
  }
}

void AtomicFileWriter::commit() {
  if (failure_) throw *failure_;
  if (!committed_ && !file_ && HoldsExactly(target_, targetSize_, buffer_.data(), used_)) {
    committed_ = true;
    return;
  }
  drain();
  try {
    file_->flushToDisk();
    file_->close();
    os_file::RenameOver(temporary_, target_);
    file_.reset();
    committed_ = true;
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
