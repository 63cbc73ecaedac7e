#pragma once
// The flash of a note's text box when its alarm goes off: the box alternates between its own
// colour and red on a 500 ms timer for 30 ticks, then gets its own colour back. The note owns
// the timer and the text box; this says when the timer starts and stops and which colour the box
// shows. Colours are those the note file holds (system colours have the high bit set). Portable.
#include <cstdint>
#include <optional>

enum class BlinkTimerChange { None, Start, Stop };

// What the note does after a call: its blink timer, and the colour its text box takes now.
struct BlinkEffect {
  BlinkTimerChange Timer = BlinkTimerChange::None;
  std::optional<std::int32_t> Color;
  friend bool operator==(const BlinkEffect&, const BlinkEffect&) = default;
};

class TNoteBlink {
 public:
  static constexpr unsigned BlinkInterval = 500;  // ms
  static constexpr std::int32_t BlinkColor = 0x0000FF;
  static constexpr int BlinkTicks = 30;

  // On: starts the blink from `textBoxColor`, the box's colour now, which comes back at the end;
  // a blink that runs goes on undisturbed. Off: stops a running blink and gives the saved colour
  // back; with no blink running there is nothing to give back, so nothing happens.
  BlinkEffect SetBlinking(bool on, std::int32_t textBoxColor);

  // One tick of the blink timer; `textBoxColor` is the colour the box shows now. The box shows
  // red where it showed the saved colour and the saved colour otherwise; the last tick also stops
  // the timer. A tick that arrives after the blink ended (already queued) changes nothing.
  BlinkEffect onTimer(std::int32_t textBoxColor);

  bool Blinking() const { return blinking_; }
  int BlinkCount() const { return blinkCount_; }
  std::int32_t BlinkSavedColor() const { return blinkSavedColor_; }

 private:
  bool blinking_ = false;
  int blinkCount_ = 0;
  std::int32_t blinkSavedColor_ = 0;
};
