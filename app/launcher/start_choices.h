// What happens between reading the command line and making the window: help, version and refusals, the
// unknown-argument lines, the search for the game's files, the settings, and the choices handed to the platform.
#pragma once
#include <optional>

#include "app/launcher/command_line.h"

// Acts on the options. Returns the exit code when the program ends here (0 for --help and --version,
// 2 for a refused value), or nothing when the game is to start. The record and play file names are made
// absolute first, so they still name the player's files once the working folder has changed.
std::optional<int> PrepareStart(CommandLineOptions& options);
