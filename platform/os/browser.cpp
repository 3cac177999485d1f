// The operating-system calls only the browser makes (the page built with Emscripten; posix_shared.cpp holds the
// POSIX calls it shares with Linux): no executable file and no shell, and waits that give the page its turn: the
// game's loops never return to the browser, so each wait suspends the program (Asyncify).
#include "platform/os/operating_system.h"

#include <emscripten.h>

namespace platform::os {

namespace {

// When the page last had its turn, on its millisecond clock, and how long a run of short pauses may keep it waiting.
double lastTurn = 0;
constexpr double kLongestWithoutTurnMs = 20;

}  // namespace

// The page's files are preloaded into the working folder; there is no executable file to find them beside.
std::string ExecutableFolder() { return {}; }

// No shell runs in a page.
std::string CommandOutput(const std::string&, size_t) { return {}; }

// The page runs only where WebGL works (it says so otherwise), and WebGL draws on the graphics hardware when
// the browser has any.
bool MayHaveGraphicsHardware() { return true; }

// The page draws, plays sound and delivers input while the program is suspended here. The browser's timers
// cannot wait less than a millisecond (after a few turns, not less than 4), so a shorter pause is waited out on
// the spot when the page had its turn lately, which keeps the frame clock's last steps as short as it asks.
void Wait(uint64_t microseconds) {
  const double start = emscripten_get_now();
  if (microseconds >= 1000 || start - lastTurn > kLongestWithoutTurnMs) {
    emscripten_sleep(static_cast<unsigned>(microseconds / 1000));
    lastTurn = emscripten_get_now();
    return;
  }
  while (emscripten_get_now() - start < static_cast<double>(microseconds) / 1000) {
  }
}

}  // namespace platform::os
