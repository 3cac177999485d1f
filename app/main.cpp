// The executable's entry: reads the command line, settles where the game's files are and the player's
// display and sound choices, picks the SDL backend and hands over to WinMain.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/demos/demos.h"
#include "app/game_window.h"
#include "app/launcher/command_line.h"
#include "app/launcher/start_choices.h"
#include "app/main_window.h"
#include "app/online/meeting_screen.h"
#include "app/online/online_start.h"
#include "platform/backend.h"
#include "platform/process_environment.h"
#include "platform/window.h"

namespace {

// Stands in for the instance handle; only its identity matters.
int InstanceTag = 0;

}  // namespace

int main(int argc, char** argv) {
  platform::UseStartingConsole();  // --help, --version and usage errors reach the console it was started from
  std::vector<std::string> arguments = platform::CommandLineArguments(argc, argv);
  std::vector<char*> argumentPointers;
  for (std::string& argument : arguments) argumentPointers.push_back(argument.data());
  argumentPointers.push_back(nullptr);
  CommandLineOptions options = ParseCommandLine(static_cast<int>(arguments.size()), argumentPointers.data());
  if (const std::optional<int> exitCode = PrepareStart(options)) return *exitCode;
  const bool online = WantsOnlineSession(options);
  if (online && !StartOnlineFromCommandLine(options)) return kOnlineFailedExitCode;
  // An online session records the frames both machines played, not this machine's devices.
  std::string demoError;
  if (!StartDemos(online ? "" : options.recordPath.value_or(""), options.playPath.value_or(""), &demoError)) {
    std::fprintf(stderr, "tavo2000: %s\n", demoError.c_str());
    return 2;
  }
  platform::SelectBackend(platform::Backend::Sdl);
  const int32_t exitCode = WinMain(&InstanceTag, nullptr, "", 1);
  // The recording is written on every way out of the loop (quit entry, closed window, end of a played script).
  const bool recordingSaved = FinishDemos() && (!online || FinishOnlineRecording());
  if (MainWindow == nullptr) {
    // Without a window the game cannot start; say why and how to run it instead of ending silently.
    std::fprintf(stderr,
                 "tavo2000: cannot open the game window (%s); run it in a desktop session, "
                 "or without a display as: xvfb-run ./tavo2000\n",
                 platform::LastError().c_str());
  }
  return recordingSaved ? exitCode : 1;
}
