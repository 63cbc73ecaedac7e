#include "storage/file_io.h"

#include <cstdint>

#include "storage/atomic_file_writer.h"
#include "storage/os_file.h"

std::string TemporaryPathFor(const std::string& target) { return target + std::string(kTemporarySuffix); }

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  AtomicFileWriter writer(path);
  writer.write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  writer.commit();
}

std::string ReadWholeFile(const std::string& path) {
  os_file::ReadOnlyFile file(path);
  std::string content;
  constexpr std::size_t kChunk = 64 * 1024;
  for (;;) {
    const std::size_t had = content.size();
    content.resize(had + kChunk);
    const std::size_t got = file.read(reinterpret_cast<std::uint8_t*>(content.data() + had), kChunk);
    content.resize(had + got);
    if (got == 0) return content;
  }
}

bool FileExists(const std::string& path) { return os_file::IsExistingFile(path); }

std::string FileNamePart(std::string_view path) {
  const auto separator = path.find_last_of("\\/:");
  return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::string AsciiLowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

void RequireReadableFile(const std::string& path) { os_file::ReadOnlyFile opened(path); }

int RemoveLeftoverTemporaries(const std::string& folder) {
  int removed = 0;
  for (const std::string& name : os_file::FileNamesIn(folder)) {
    if (name.size() > kTemporarySuffix.size() && name.ends_with(kTemporarySuffix)) {
      os_file::RemoveQuietly(os_file::JoinPath(folder, name));
      ++removed;
    }
  }
  return removed;
}

void CreateFolderPath(const std::string& folder) {
  // Nearly always there already: one question instead of one refused creation a level.
  if (os_file::IsExistingFolder(folder)) return;
  for (std::size_t i = 0; i <= folder.size(); ++i) {
    if (i == folder.size() || folder[i] == '\\' || folder[i] == '/') {
      const std::string prefix = folder.substr(0, i);
      // Not a drive ("C:") and not the root: those are there or cannot be made.
      if (!prefix.empty() && prefix.back() != ':') os_file::CreateFolder(prefix);
    }
  }
}

std::optional<std::uint64_t> FileSize(const std::string& path) { return os_file::FileSize(path); }

std::string MoveAside(const std::string& path, std::string_view suffix) {
  if (!FileExists(path)) return {};
  for (int n = 1; n < 1000; ++n) {
    const std::string aside = path + (n == 1 ? "" : "." + std::to_string(n)) + std::string(suffix);
    if (!FileExists(aside)) return os_file::MoveWithoutReplacing(path, aside) ? aside : std::string();
  }
  return {};
}

bool DeleteFileIfPresent(const std::string& path) {
  os_file::RemoveQuietly(path);
  return !FileExists(path);
}
