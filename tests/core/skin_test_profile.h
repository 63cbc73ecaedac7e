#pragma once
// An in-memory "skin.ini" for the native tests: profile syntax, section and key names matched
// without regard to case, blanks around names and values dropped (as the Windows reader does).
// It also records every key asked for, so tests can check what a load read and in which order.

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "look/skin_options.h"

class SkinTestProfile {
 public:
  explicit SkinTestProfile(std::string_view text) {
    std::istringstream lines{std::string(text)};
    std::string line, section;
    while (std::getline(lines, line)) {
      line = Trim(line);
      if (line.empty() || line[0] == ';') continue;
      if (line.front() == '[' && line.back() == ']') {
        section = Lower(Trim(line.substr(1, line.size() - 2)));
      } else if (const auto eq = line.find('='); eq != std::string::npos) {
        values_.emplace(std::pair(section, Lower(Trim(line.substr(0, eq)))),
                        Trim(line.substr(eq + 1)));
      }
    }
  }

  ProfileReader Reader() {
    return [this](std::string_view section, std::string_view key) -> std::optional<std::string> {
      asked_.push_back(std::string(section) + "/" + std::string(key));
      const auto found = values_.find({Lower(std::string(section)), Lower(std::string(key))});
      if (found == values_.end()) return std::nullopt;
      return found->second;
    };
  }

  const std::vector<std::string>& Asked() const { return asked_; }

 private:
  static std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
  }
  static std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
  }

  std::map<std::pair<std::string, std::string>, std::string> values_;
  std::vector<std::string> asked_;
};

inline TSkinOptions ReadSkinText(std::string_view text) {
  SkinTestProfile profile(text);
  return ReadSkinOptions(profile.Reader(), nullptr);
}
