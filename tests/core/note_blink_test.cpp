#include "notes/note_blink.h"

#include <gtest/gtest.h>

namespace {

// A whole blink as the note runs it, the box taking each colour it is given.
TEST(NoteBlink, AlternatesThirtyTicksAndEndsWithTheBoxColour) {
  for (const std::int32_t color : {0x00FFFF, TNoteBlink::BlinkColor, static_cast<std::int32_t>(0x80000005)}) {
    TNoteBlink blink;
    EXPECT_EQ(blink.SetBlinking(true, color).Timer, BlinkTimerChange::Start);
    EXPECT_EQ(blink.SetBlinking(true, 0x123456), BlinkEffect{}) << "an alarm during the blink";
    std::int32_t shown = color;
    for (int tick = 1; tick < TNoteBlink::BlinkTicks; ++tick) {
      const BlinkEffect effect = blink.onTimer(shown);
      shown = effect.Color.value_or(-1);
      EXPECT_EQ(effect.Timer, BlinkTimerChange::None);
      EXPECT_EQ(shown, tick % 2 == 1 ? TNoteBlink::BlinkColor : color) << std::hex << color << " tick " << tick;
    }
    EXPECT_EQ(blink.onTimer(shown), (BlinkEffect{BlinkTimerChange::Stop, color}));
    // A tick already queued, and stopping again, leave the box alone.
    EXPECT_EQ(blink.onTimer(shown), BlinkEffect{});
    EXPECT_EQ(blink.SetBlinking(false, shown), BlinkEffect{});
  }
}

}  // namespace
