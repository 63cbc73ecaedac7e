#pragma once
// What the fuzz targets share: a file each input is written to, and a check that stops the
// fuzzer with a message when a property of the code under test does not hold.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace fuzz {

// A file of this process, removed when the fuzzer exits.
class InputFile {
 public:
  explicit InputFile(std::string_view nameEnd) {
    const char* folder = std::getenv("TMPDIR");
    path_ = std::string(folder && *folder ? folder : "/tmp") + "/qkli-fuzz-" + std::to_string(::getpid()) +
            std::string(nameEnd);
  }
  ~InputFile() { std::remove(path_.c_str()); }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  const std::string& path() const { return path_; }

  const std::string& write(const uint8_t* data, size_t size) {
    std::remove(path_.c_str());  // a new file each time: ext4 flushes files emptied and rewritten
    std::FILE* file = std::fopen(path_.c_str(), "wb");
    if (file == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
    return path_;
  }

 private:
  std::string path_;
};

inline void Check(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property does not hold: %s\n", property);
  std::abort();
}

}  // namespace fuzz
