// The command line's online session: the player's name (given, or the user's login name), the meeting screen as
// start-up's first screen, and the recording of the frames both machines played.
#include "app/online/online_start.h"

#include <cstdio>

#include "app/online/meeting_screen.h"
#include "app/online/online_recording.h"
#include "app/online/session.h"
#include "app/startup.h"
#include "platform/process_environment.h"

namespace {

// The name given, else the user's login name as the system keeps it, else "Player" (MakeName cleans any of them).
std::string PlayerName(const CommandLineOptions& options) {
  if (options.playerName) return *options.playerName;
  for (const char* variable : {"USER", "USERNAME", "LOGNAME"}) {
    const std::optional<std::string> name = platform::EnvironmentVariable(variable);
    if (name && !name->empty()) return *name;
  }
  return "Player";
}

}  // namespace

bool WantsOnlineSession(const CommandLineOptions& options) {
  return options.hostPort.has_value() || options.joinAddress.has_value();
}

bool StartOnlineFromCommandLine(const CommandLineOptions& options) {
  OnlineRequest request;
  request.role = options.hostPort ? OnlineRole::Host : OnlineRole::Joiner;
  request.port = options.hostPort.value_or(kDefaultOnlinePort);
  request.peerAddress = options.joinAddress.value_or("");
  request.name = PlayerName(options);
  request.serverAddress = options.serverAddress.value_or("");
  // Meeting through a server needs no port of its own (the server tells the other player where this one is): unless
  // one is named, the system chooses it, so a server on this machine may keep 27960.
  if (!request.serverAddress.empty() && !options.hostPortNamed) request.port = 0;
  std::string error;
  if (!StartOnlineSession(request, &error)) {
    std::fprintf(stderr, "tavo2000: %s\n", error.c_str());
    return false;
  }
  FirstScreen = RunMeetingScreen;
  OnOnlineSessionEnded = ShowSessionEndAndOpenMenu;
  OnOnlinePauseShown = ShowPauseNotice;
  StartOnlineRecording(options.recordPath.value_or(""));
  return true;
}

bool FinishOnlineRecording() {
  std::string error;
  if (SaveOnlineRecording(&error)) return true;
  std::fprintf(stderr, "RECORD: the recording was not saved: %s\n", error.c_str());
  return false;
}
