// The SDL backend's clock: std::chrono's steady clock in milliseconds since the program started, and real
// waits through the operating system. It names no SDL call; it lives here because it is this backend's clock.
#include <chrono>

#include "platform/internal/backend_tables.h"
#include "platform/os/operating_system.h"

namespace platform {

namespace {

const auto realClockStart = std::chrono::steady_clock::now();

uint32_t GetTicks() {
  auto elapsed = std::chrono::steady_clock::now() - realClockStart;
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void SleepMs(uint32_t ms) { os::Wait(uint64_t{ms} * 1000); }

void PauseBriefly() { os::Wait(100); }

}  // namespace

const ClockBackend& SdlClockBackend() {
  static const ClockBackend table{.getTicks = GetTicks, .sleepMs = SleepMs, .pauseBriefly = PauseBriefly};
  return table;
}

}  // namespace platform
