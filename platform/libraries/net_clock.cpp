// The network service's clock: SDL's monotonic milliseconds, run faster by a scale from the moment the scale is
// set, so that it never jumps, backwards or forwards, when the scale changes.
#include <SDL.h>

#include "platform/net.h"

namespace platform {

namespace {

uint32_t clockScale = 1;
uint64_t clockRealStart = 0;    // SDL's milliseconds when the scale was set
uint64_t clockScaledStart = 0;  // the clock's reading then
bool clockStarted = false;

uint64_t clockLastReal = 0;  // SDL's milliseconds at the latest reading

// The clock's reading at SDL's millisecond real (the first reading starts it at SDL's count). SDL starts its count
// again from 0 when it is shut down and started again: the clock then goes on from where it was.
uint64_t ScaledTime(uint64_t real) {
  if (!clockStarted) {
    clockStarted = true;
    clockRealStart = real;
    clockScaledStart = real;
  } else if (real < clockLastReal) {
    clockScaledStart += (clockLastReal - clockRealStart) * clockScale;
    clockRealStart = real;
  }
  clockLastReal = real;
  return clockScaledStart + (real - clockRealStart) * clockScale;
}

}  // namespace

uint64_t NetClockMs() { return ScaledTime(SDL_GetTicks64()); }

uint32_t NetClockScale() { return clockScale; }

// A scale of 0 would stop the clock: it is taken as 1.
void SetNetClockScale(uint32_t scale) {
  const uint64_t real = SDL_GetTicks64();
  clockScaledStart = ScaledTime(real);
  clockRealStart = real;
  clockScale = scale == 0 ? 1 : scale;
}

}  // namespace platform
