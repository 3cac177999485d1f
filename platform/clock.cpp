// The tick count on both backends: std::chrono's steady clock for SDL, a plain counter headless.
// The headless clock starts at 0 and moves only through SleepMs, PauseBriefly or SetVirtualTicks.
#include "platform/clock.h"

#include <chrono>
#include <thread>

#include "platform/backend.h"

namespace platform {

namespace {
uint32_t virtualTicks = 0;
const auto realClockStart = std::chrono::steady_clock::now();
}  // namespace

uint32_t GetTicks() {
  if (CurrentBackend() == Backend::Headless) return virtualTicks;
  auto elapsed = std::chrono::steady_clock::now() - realClockStart;
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void SleepMs(uint32_t ms) {
  if (CurrentBackend() == Backend::Headless) {
    virtualTicks += ms;
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void PauseBriefly() {
  if (CurrentBackend() == Backend::Headless) {
    virtualTicks += 1;
    return;
  }
  std::this_thread::sleep_for(std::chrono::microseconds(100));
}

void SetVirtualTicks(uint32_t ticks) { virtualTicks = ticks; }

}  // namespace platform
