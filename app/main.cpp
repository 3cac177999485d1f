// The executable's entry: reads the command line, settles where the game's files are and the player's
// display and sound choices, picks the SDL backend and hands over to WinMain.
#include <cstdio>
#include <optional>

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/start_choices.h"
#include "platform/backend.h"
#include "platform/window.h"

namespace {

// Stands in for the instance handle; only its identity matters.
int InstanceTag = 0;

}  // namespace

int main(int argc, char** argv) {
  CommandLineOptions options = ParseCommandLine(argc, argv);
  if (const std::optional<int> exitCode = PrepareStart(options)) return *exitCode;
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
