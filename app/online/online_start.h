// An online session asked for on the command line (--host, --join, --name, --record): the request made from the
// options, the session started before the window opens, and its recording saved after the window closes.
#pragma once
#include "app/launcher/command_line.h"

// Whether the options ask for an online session.
bool WantsOnlineSession(const CommandLineOptions& options);

// Starts it: the socket opens (or the reason is printed and false returned: exit code 3), the meeting screen
// becomes start-up's first screen, and a session that ends during play shows why and opens the title menu.
bool StartOnlineFromCommandLine(const CommandLineOptions& options);

// Writes the session's recording, when --record asked for one; false (after one RECORD: line) when it cannot.
bool FinishOnlineRecording();
