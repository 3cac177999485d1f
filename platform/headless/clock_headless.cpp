// The headless clock: a plain counter that starts at 0 and moves only when the program waits (SleepMs by its
// milliseconds, PauseBriefly by 1) or when a test sets it.
#include "platform/headless/headless.h"
#include "platform/internal/backend_tables.h"

namespace platform {

namespace {

uint32_t virtualTicks = 0;

uint32_t GetTicks() { return virtualTicks; }

void SleepMs(uint32_t ms) { virtualTicks += ms; }

void PauseBriefly() { virtualTicks += 1; }

}  // namespace

const ClockBackend& HeadlessClockBackend() {
  static const ClockBackend table{.getTicks = GetTicks, .sleepMs = SleepMs, .pauseBriefly = PauseBriefly};
  return table;
}

void SetVirtualTicks(uint32_t ticks) { virtualTicks = ticks; }

}  // namespace platform
