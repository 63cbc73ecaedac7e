#include "app/window_messages.h"

#include <cstring>

std::optional<ControllerCommand> DecodeCommand(std::uint64_t wParam, std::int64_t lParam) {
  if (wParam == static_cast<std::uint64_t>(ControllerCommand::MenuAt)) return ControllerCommand::MenuAt;
  if (wParam < static_cast<std::uint64_t>(ControllerCommand::NewNote) ||
      wParam > static_cast<std::uint64_t>(ControllerCommand::Cascade))
    return std::nullopt;
  if (static_cast<std::int64_t>(wParam) != lParam) return std::nullopt;
  return static_cast<ControllerCommand>(wParam);
}

MenuPoint DecodeMenuPoint(std::int64_t lParam) {
  // A 32-bit sender's lParam arrives sign- or zero-extended; its low 32 bits are the value.
  const auto value = static_cast<std::int32_t>(static_cast<std::uint32_t>(lParam));
  return {value / 9999, value % 9999};
}

PendingFileName::Step PendingFileName::Classify(std::uint64_t wParam, std::int64_t lParam) {
  if (wParam == 1 && lParam == 0) return Step::Clear;
  if (wParam == 2 && lParam == 1) return Step::Open;
  if (wParam == 3 && lParam != 0) return Step::Append;
  return Step::Ignore;
}

std::size_t PendingFileName::Append(unsigned char character) {
  if (character != '\0' && text_.size() < kMaxLength) text_.push_back(static_cast<char>(character));
  return text_.size();
}

std::string CopyDataPath(const void* data, std::size_t size) {
  if (data == nullptr || size == 0) return {};
  const auto* bytes = static_cast<const char*>(data);
  const void* nul = std::memchr(bytes, '\0', size);
  return std::string(bytes, nul != nullptr ? static_cast<const char*>(nul) - bytes : size);
}
