// The frame clock over the platform's millisecond counter.
// The wait sleeps while more than about 2 ms remain (a frame does not keep a core busy), and always waits once.
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
  for (bool waited = false;; waited = true) {
    // Unsigned difference: correct across a wrap of the counter.
    uint32_t elapsed = GetClockTicks() - FrameStartTicks;
    if (elapsed >= ms) {
      // A frame whose work took all its time still waits once, for nothing: where the program runs only while the
      // system waits for it (the page), this is the system's turn, so a long frame does not shut it out.
      if (!waited) platform::SleepMs(0);
      break;
    }
    uint32_t remaining = ms - elapsed;
    if (remaining > kSpinMarginMs) platform::SleepMs(remaining - kSpinMarginMs);
    else platform::PauseBriefly();
  }
  return GetClockTicks();
}
