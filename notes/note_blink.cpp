#include "notes/note_blink.h"

BlinkEffect TNoteBlink::SetBlinking(bool on, std::int32_t textBoxColor) {
  if (on) {
    if (blinking_) return {};
    blinking_ = true;
    blinkCount_ = 0;
    blinkSavedColor_ = textBoxColor;
    return {.Timer = BlinkTimerChange::Start, .Color = std::nullopt};
  }
  if (!blinking_) return {};
  blinking_ = false;
  return {.Timer = BlinkTimerChange::Stop, .Color = blinkSavedColor_};
}

BlinkEffect TNoteBlink::onTimer(std::int32_t textBoxColor) {
  if (!blinking_) return {};
  const std::int32_t shown = textBoxColor == blinkSavedColor_ ? BlinkColor : blinkSavedColor_;
  if (++blinkCount_ < BlinkTicks) return {.Timer = BlinkTimerChange::None, .Color = shown};
  return SetBlinking(false, textBoxColor);
}
