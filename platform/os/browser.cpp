// The operating-system calls only the browser makes (posix_shared.cpp holds those it shares with Linux): no executable
// file, no shell, and waits that suspend the program (Asyncify) to give the page its turn, held while it is hidden.
#include "platform/os/operating_system.h"

#include <emscripten.h>

// The two functions' bodies are JavaScript, which clang-format would lay out as C++.
// clang-format off
// Whether the page is hidden: another tab in front, the browser minimised, the phone's screen off. (Node.js, which
// runs the window-less tests, has no page.)
EM_JS(int, PageIsHidden, (), {
  return typeof document !== "undefined" && document.visibilityState === "hidden" ? 1 : 0;
});

// Shakes the first gamepad with this id through its vibration actuator, where the browser has one.
EM_JS(int, VibrateGamepadNamed, (const char* name, int strong, int weak, int ms), {
  if (typeof navigator === "undefined" || !navigator.getGamepads) return 0;
  const id = UTF8ToString(name);
  for (const pad of navigator.getGamepads()) {
    if (!pad || pad.id !== id) continue;
    const actuator = pad.vibrationActuator;
    if (!actuator || !actuator.playEffect) return 0;
    const played = actuator.playEffect("dual-rumble",
                                       {duration: ms, strongMagnitude: strong / 65535, weakMagnitude: weak / 65535});
    if (played && played.catch) played.catch(() => {});
    return 1;
  }
  return 0;
});

// Hands a line of online play to the page's panel (index.html's tavoOnline), where there is one.
EM_JS(void, TellPanel, (const char* key, const char* value), {
  if (typeof window !== "undefined" && window.tavoOnline) window.tavoOnline(UTF8ToString(key), UTF8ToString(value));
});

// Suspends the program until the page is shown again.
EM_ASYNC_JS(void, WaitUntilShown, (), {
  await new Promise((shown) => {
    const look = () => {
      if (document.visibilityState === "hidden") return;
      document.removeEventListener("visibilitychange", look);
      shown();
    };
    document.addEventListener("visibilitychange", look);
    look();
  });
});
// clang-format on

namespace platform::os {

namespace {

// When the page last had its turn, on its millisecond clock, and how long a run of short pauses may keep it waiting.
double lastTurn = 0;
constexpr double kLongestWithoutTurnMs = 20;
// Whether a wait holds while the page is hidden (an online session pauses by itself instead).
bool holdWhileHidden = true;

}  // namespace

// The page's files are preloaded into the working folder; there is no executable file to find them beside.
std::string ExecutableFolder() { return {}; }

// No shell runs in a page.
std::string CommandOutput(const std::string&, size_t) { return {}; }

// The page runs only where WebGL works (it says so otherwise), and WebGL draws on the graphics hardware when
// the browser has any.
bool MayHaveGraphicsHardware() { return true; }

bool VibrateBrowserGamepad(const char* name, uint16_t strong, uint16_t weak, uint32_t ms) {
  return VibrateGamepadNamed(name, strong, weak, static_cast<int>(ms)) != 0;
}

bool InPage() { return true; }

bool PageHidden() { return PageIsHidden() != 0; }

void HoldWhileHidden(bool hold) { holdWhileHidden = hold; }

void TellPage(const char* key, const std::string& value) { TellPanel(key, value.c_str()); }

// The page draws, plays sound and delivers input while the program is suspended here. The browser's timers
// cannot wait less than a millisecond (after a few turns, not less than 4), so a shorter pause is waited out on
// the spot when the page had its turn lately, which keeps the frame clock's last steps as short as it asks.
// While the page is hidden the program waits here until it is shown: the game stands still (the page stops the
// sound), and the frame clock, which times each frame from its own start, goes on with one long frame.
void Wait(uint64_t microseconds) {
  if (holdWhileHidden && PageIsHidden()) {
    WaitUntilShown();
    lastTurn = emscripten_get_now();
    return;
  }
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
