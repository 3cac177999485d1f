// The optional frame log: one standard-error line per shown flip when TAVO_FRAME_LOG is set; see frame_log.h.
// The time is the steady clock's, in microseconds, so the gaps between lines are the frame times.
#include "platform/frame_log.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

// Read once: the environment does not change while the program runs.
const bool frameLogWanted = std::getenv("TAVO_FRAME_LOG") != nullptr;

}  // namespace

void LogFramePresented() {
  if (!frameLogWanted) return;
  const auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
  const long long micros = std::chrono::duration_cast<std::chrono::microseconds>(sinceEpoch).count();
  std::fprintf(stderr, "frame %lld\n", micros);
}

}  // namespace platform
