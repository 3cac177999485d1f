// The executable's entry: picks the SDL backend and hands over to WinMain. The game takes no arguments,
// so nothing of the command line is passed on.
#include <cstdio>

#include "app/main_window.h"
#include "platform/backend.h"
#include "platform/window.h"

namespace {

// Stands in for the instance handle; only its identity matters.
int InstanceTag = 0;

}  // namespace

int main() {
  platform::SelectBackend(platform::Backend::Sdl);
  const int32_t exitCode = WinMain(&InstanceTag, nullptr, "", 1);
  if (MainWindow == nullptr) {
    // Without a window the game cannot start; say why and how to run it instead of ending silently.
    std::fprintf(stderr,
                 "tavo2000: cannot open the game window (%s); run it in a desktop session, "
                 "or without a display as: xvfb-run ./tavo2000\n",
                 platform::LastError().c_str());
  }
  return exitCode;
}
