#include "app/hand_over_list.h"

#include "storage/file_io.h"
#include "storage/os_file.h"
#include "win/unicode.h"

std::string HandOverListPath(const std::string& programFolder) { return programFolder + "\\file.tmp"; }

void WriteHandOverList(const std::string& path, const std::vector<std::string>& paths) {
  std::string text;
  for (const std::string& p : paths) {
    text += win::AnsiFromUtf8(os_file::PathForCodePage(p)).text;
    text += "\r\n";
  }
  WriteFileAtomically(path, text);
}

std::vector<std::string> ReadHandOverList(const std::string& path) {
  const std::string text = ReadWholeFile(path);
  std::vector<std::string> paths;
  std::string line;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const bool end = i == text.size();
    if (end || text[i] == '\r' || text[i] == '\n') {
      if (!line.empty()) paths.push_back(os_file::PathFromCodePage(win::Utf8FromAnsi(line).text));
      line.clear();
      if (!end && text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line.push_back(text[i]);
    }
  }
  return paths;
}
