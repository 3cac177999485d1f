// The SDL backend's clock: std::chrono's steady clock in milliseconds since the program started, and real
// sleeps. It names no SDL call; it lives here because it is this backend's clock.
#include <chrono>
#include <thread>

#include "platform/internal/backend_tables.h"

namespace platform {

namespace {

const auto realClockStart = std::chrono::steady_clock::now();

uint32_t GetTicks() {
  auto elapsed = std::chrono::steady_clock::now() - realClockStart;
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void SleepMs(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void PauseBriefly() { std::this_thread::sleep_for(std::chrono::microseconds(100)); }

}  // namespace

const ClockBackend& SdlClockBackend() {
  static const ClockBackend table{GetTicks, SleepMs, PauseBriefly};
  return table;
}

}  // namespace platform
