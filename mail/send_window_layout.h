#pragma once
// Where the parts of the sending window go: the status line, the progress bar's panel, the
// byte counter and the cancel button, laid out from the texts' measured sizes in the window's
// font. The Win32 window measures with GetTextExtentPoint32A and places its controls from the
// result, client coordinates.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

enum class SendMailDialogObjects : uint8_t { StatusText, StatusBar, ByteCounter, CancelButton };

// A set of SendMailDialogObjects; all four by default.
class TSendMailDialogOptions {
 public:
  TSendMailDialogOptions() = default;
  TSendMailDialogOptions(std::initializer_list<SendMailDialogObjects> objects) : bits_(0) {
    for (const SendMailDialogObjects object : objects) bits_ |= Bit(object);
  }
  bool Has(SendMailDialogObjects object) const { return (bits_ & Bit(object)) != 0; }

 private:
  static uint8_t Bit(SendMailDialogObjects object) { return uint8_t(1u << static_cast<unsigned>(object)); }
  uint8_t bits_ = 0x0F;
};

// The six texts of the window by position: 0 "Connecting to", 1 "Connected to",
// 2 "Recipient #", 3 "Sending Mail", 4 "Attachment", 5 "Cancel".
inline constexpr std::size_t kLanguageStringCount = 6;
// Appends each missing text in order, so a shorter list is completed; longer lists stay.
void CompleteLanguageStrings(std::vector<std::string>& strings);

struct TextExtent {
  int Width = 0;
  int Height = 0;
};
using MeasureText = std::function<TextExtent(std::string_view text)>;

struct ControlBox {
  bool Visible = false;
  int Left = 0, Top = 0, Width = 0, Height = 0;
  friend bool operator==(const ControlBox&, const ControlBox&) = default;
};

struct SendWindowLayout {
  int ClientWidth = 0, ClientHeight = 0;
  ControlBox Status, Panel, Counter, Cancel;  // the panel holds the bar, filling it
  std::string CancelCaption;
};

// `languageStrings` must hold the six texts (CompleteLanguageStrings).
SendWindowLayout LayOutSendWindow(TSendMailDialogOptions options, int statusBarWidth,
                                  int statusBarHeight,
                                  const std::vector<std::string>& languageStrings,
                                  const MeasureText& measure);
