#pragma once
// The controller window's messages: the open interface through which a second start of the
// program and other processes drive the running instance. Numbers, arguments and answers are
// fixed, since programs outside this one depend on them.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

inline constexpr unsigned UM_PING = 0x401;          // answers kPingAnswer
inline constexpr unsigned UM_OPENLIST = 0x402;      // opens the paths of the hand-over list
inline constexpr unsigned UM_FILENAMECHAR = 0x403;  // builds a path character by character
inline constexpr unsigned UM_COMMAND = 0x404;       // runs a command (ControllerCommand)
inline constexpr unsigned UM_OPTIONS = 0x405;       // the options dialog

inline constexpr long kPingAnswer = 50;
inline constexpr std::uintptr_t kCopyDataOpen = 101;          // WM_COPYDATA: open the path
inline constexpr std::uintptr_t kCopyDataOpenAndPrint = 102;  // WM_COPYDATA: open and print it

// A second start looks for this class and title; the title comparison ignores case, so it finds
// the controller's caption.
inline constexpr const char* kControllerClass = "TKliMain";
inline constexpr const char* kProbeTitle = "Quor K-lI";
inline constexpr const char* kControllerCaption = "Quor K-li";

enum class ControllerCommand {
  NewNote = 4,
  Exit = 5,
  Options = 6,
  SkinSelector = 7,
  ShowAll = 8,
  HideAll = 9,
  CloseAll = 10,
  Cascade = 11,
  MenuAt = 12,  // lParam carries the screen point, see DecodeMenuPoint
};

// The command a UM_COMMAND asks for: codes 4..11 only when wParam and lParam agree (a guard
// against stray messages), 12 with any lParam. Anything else asks for nothing.
std::optional<ControllerCommand> DecodeCommand(std::uint64_t wParam, std::int64_t lParam);

struct MenuPoint {
  int X, Y;
  friend bool operator==(const MenuPoint&, const MenuPoint&) = default;
};
// lParam = X * 9999 + Y in 32 bits. Signed division truncating towards zero, so a point left of
// or above the primary screen comes through as well.
MenuPoint DecodeMenuPoint(std::int64_t lParam);

// The file name that UM_FILENAMECHAR assembles. It is fed by any process, so it has a bound.
class PendingFileName {
 public:
  static constexpr std::size_t kMaxLength = 32767;  // the longest path Windows accepts
  enum class Step { Clear, Open, Append, Ignore };
  static Step Classify(std::uint64_t wParam, std::int64_t lParam);

  void Clear() { text_.clear(); }
  // Appends the character and returns the new length. A NUL (it would cut the path short
  // unseen) and characters past kMaxLength are left out; the length then stays as it was.
  std::size_t Append(unsigned char character);
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// The path a WM_COPYDATA carries: read only within its `size` bytes and up to the first NUL,
// since a sender may omit the terminator. Null data or size 0 give an empty path.
std::string CopyDataPath(const void* data, std::size_t size);
