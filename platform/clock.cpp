// The tick count and the waits, handed to the chosen backend's clock table:
// platform/sdl/clock_sdl.cpp (a monotonic clock) or platform/headless/clock_headless.cpp (a virtual one).
#include "platform/clock.h"

#include "platform/internal/backend_tables.h"

namespace platform {

uint32_t GetTicks() { return ChosenBackend().clock->getTicks(); }

void SleepMs(uint32_t ms) { ChosenBackend().clock->sleepMs(ms); }

void PauseBriefly() { ChosenBackend().clock->pauseBriefly(); }

}  // namespace platform
