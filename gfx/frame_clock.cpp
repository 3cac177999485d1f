// The frame clock over the platform's millisecond counter.
// The wait sleeps while more than about 2 ms remain, so a frame does not keep a whole core busy.
#include "gfx/frame_clock.h"

#include "platform/clock.h"

uint32_t FrameStartTicks = 0;

namespace {
constexpr uint32_t kSpinMarginMs = 2;
}

uint32_t GetClockTicks() { return platform::GetTicks(); }

uint32_t StartFrameClock() {
  FrameStartTicks = GetClockTicks();
  return FrameStartTicks;
}

uint32_t WaitFrameClock(uint32_t ms) {
  for (;;) {
    // Unsigned difference: correct across a wrap of the counter.
    uint32_t elapsed = GetClockTicks() - FrameStartTicks;
    if (elapsed >= ms) break;
    uint32_t remaining = ms - elapsed;
    if (remaining > kSpinMarginMs) platform::SleepMs(remaining - kSpinMarginMs);
    else platform::PauseBriefly();
  }
  return GetClockTicks();
}
