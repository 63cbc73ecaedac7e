#pragma once
// A fresh folder under the system's temporary folder for one test, removed with everything in
// it afterwards (read-only files included).
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

// Test input written plainly: many small files, where the safe write's flush would only cost time.
// A new file each time, as ext4 flushes a file that is emptied and written again.
inline void WritePlainFile(const std::string& path, std::string_view bytes) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() / ("qkli-storage-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                   std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::string path() const { return path_.string(); }
  std::string file(std::string_view name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};
