// The frame clock: a millisecond tick count, the start of the current frame, and the wait for its end.
// All differences are unsigned 32-bit, so a wrap of the counter does not lengthen a wait.
#pragma once
#include <cstdint>

// The tick count noted by the last StartFrameClock; 0 until the first.
extern uint32_t FrameStartTicks;

// The platform's millisecond tick count.
uint32_t GetClockTicks();
// Notes the tick count in FrameStartTicks and returns it.
uint32_t StartFrameClock();
// Waits until at least ms have passed since FrameStartTicks and returns a reading taken after the wait.
// Sleeps while more than about 2 ms remain and reads the clock in short pauses for the rest.
uint32_t WaitFrameClock(uint32_t ms);
