#pragma once
// A buffered writer that fills a temporary file beside its target and puts it in place with
// one rename on commit(). Without a successful commit() the target is never touched.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "storage/io_error.h"
#include "storage/os_file.h"

class AtomicFileWriter {
 public:
  // Throws EInOutError: "File access denied" for a read-only target or a folder, or whatever
  // creating the temporary file reports ("Path not found", ...).
  explicit AtomicFileWriter(std::string target);
  ~AtomicFileWriter();  // an uncommitted write is discarded with its temporary file
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  void put(std::uint8_t byte) {
    if (used_ == buffer_.size()) drain();
    buffer_[used_++] = byte;
  }
  void write(const std::uint8_t* bytes, std::size_t count);

  // Writes what is buffered, flushes the file to the disk and renames it over the target. A
  // target that already holds exactly the bytes written is left untouched: saving a note that
  // did not change since it was last written costs no write to the disk.
  // After any failure, here or in an earlier write, nothing is renamed: the temporary file is
  // gone and every later call repeats the first error.
  void commit();

 private:
  void drain();
  [[noreturn]] void fail(const EInOutError& error);

  std::string target_;
  std::string temporary_;
  std::optional<os_file::NewFile> file_;
  std::vector<std::uint8_t> buffer_;
  std::size_t used_ = 0;
  std::optional<std::uint64_t> targetSize_;
  bool committed_ = false;
  std::optional<EInOutError> failure_;
};
