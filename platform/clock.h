// The millisecond tick count and the ways to let time pass, on both backends.
// SDL: a monotonic clock. Headless: a virtual clock that moves only when the program waits.
#pragma once
#include <cstdint>

namespace platform {

// Milliseconds since an arbitrary start, 32-bit, wrapping. Read by the frame clock.
uint32_t GetTicks();

// Gives the processor away for about ms milliseconds (headless: advances the virtual clock by ms).
// Called by the frame clock's wait.
void SleepMs(uint32_t ms);

// One short pause inside a wait loop (headless: advances the virtual clock by 1 ms). Called by the frame clock.
void PauseBriefly();

}  // namespace platform
