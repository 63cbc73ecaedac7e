#include "app/closed_notes.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

// yyyymmdd-hhmmssmmm-
constexpr size_t kStampLength = 19;
constexpr size_t kCaptionLength = 40;  // bytes of UTF-8, before the "..."
constexpr const char* kEmptyCaption = "(empty)";

bool Digits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int Number(std::string_view digits) {
  int value = 0;
  for (const char c : digits) value = value * 10 + (c - '0');
  return value;
}

bool EndsWithKli(std::string_view name) {
  if (name.size() < 4) return false;
  std::string end(name.substr(name.size() - 4));
  for (char& c : end) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return end == ".kli";
}

// Where a UTF-8 text of `text.size()` bytes may be cut at or before `length`: not inside a
// character.
size_t CutAt(std::string_view text, size_t length) {
  if (length >= text.size()) return text.size();
  while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  return length;
}

}  // namespace

std::string ClosedNotesFolderOf(const std::string& programFolder) { return programFolder + "\\closed"; }

std::string ClosedNoteName(QDateTime closedAt, std::string_view storeName) {
  const DateTimeParts parts = DecodeDateTime(closedAt);
  const QDateTime second = EncodeDateTime(parts.year, parts.month, parts.day, parts.hour, parts.minute, parts.second);
  const int millisecond = std::clamp(static_cast<int>((closedAt - second) * 86400000.0 + 0.5), 0, 999);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d%03d-", parts.year, parts.month, parts.day,
                parts.hour, parts.minute, parts.second, millisecond);
  while (!storeName.empty() && storeName.front() == '\\') storeName.remove_prefix(1);
  return stamp + std::string(storeName);
}

std::optional<QDateTime> ClosedAtOf(std::string_view name) {
  if (name.size() <= kStampLength || name[8] != '-' || name[18] != '-' || !EndsWithKli(name)) return std::nullopt;
  const std::string_view date = name.substr(0, 8), time = name.substr(9, 9);
  if (!Digits(date) || !Digits(time)) return std::nullopt;
  const int year = Number(date.substr(0, 4)), month = Number(date.substr(4, 2)), day = Number(date.substr(6, 2));
  const int hour = Number(time.substr(0, 2)), minute = Number(time.substr(2, 2)), second = Number(time.substr(4, 2));
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
      minute > 59 || second > 59)
    return std::nullopt;
  return EncodeDateTime(year, month, day, hour, minute, second) + Number(time.substr(6, 3)) / 86400000.0;
}

std::string StoreNameOf(std::string_view closedName) {
  return "\\" + std::string(closedName.substr(std::min(kStampLength, closedName.size())));
}

ClosedNotesPlan PlanClosedNotes(const std::vector<std::string>& names, QDateTime now) {
  std::vector<std::pair<QDateTime, const std::string*>> kept;
  ClosedNotesPlan plan;
  for (const std::string& name : names) {
    const std::optional<QDateTime> closedAt = ClosedAtOf(name);
    if (!closedAt) continue;
    if (now - *closedAt > kClosedNotesKeptDays) plan.Remove.push_back(name);
    else kept.emplace_back(*closedAt, &name);
  }
  // Newest first; among equal times the name decides, so the order never depends on the listing's.
  std::sort(kept.begin(), kept.end(),
            [](const auto& a, const auto& b) { return a.first != b.first ? a.first > b.first : *a.second > *b.second; });
  for (size_t i = 0; i < kept.size(); ++i) {
    if (i >= static_cast<size_t>(kClosedNotesKept)) plan.Remove.push_back(*kept[i].second);
    else if (i < static_cast<size_t>(kClosedNotesInMenu)) plan.Menu.push_back(*kept[i].second);
  }
  return plan;
}

std::string ClosedNoteCaption(const std::vector<std::string>& lines) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  for (const std::string& line : lines) {
    const auto first = std::find_if_not(line.begin(), line.end(), blank);
    if (first == line.end()) continue;
    const auto last = std::find_if_not(line.rbegin(), line.rend(), blank).base();
    std::string_view text(&*first, static_cast<size_t>(last - first));
    const size_t cut = CutAt(text, kCaptionLength);
    std::string caption;
    for (const char c : text.substr(0, cut)) caption += c == '&' ? std::string("&&") : std::string(1, c);
    return cut < text.size() ? caption + "..." : caption;
  }
  return kEmptyCaption;
}
