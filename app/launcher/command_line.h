// The game's command line: what the player asked for, read from argc/argv without touching anything else,
// and the texts of --help, --version and the usage line. The start-up code acts on the result.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/launcher/option_values.h"
#include "platform/display_choices.h"
#include "platform/folder_rules.h"

// The name of the settings file in the game's settings folder (platform::GameSettingsFolder).
constexpr const char* kSettingsFileName = "settings.ini";

enum class CommandLineAction {
  Run,          // start the game with the options below
  ShowHelp,     // print HelpText(the system's folder rules) and exit 0
  ShowVersion,  // print VersionText() and exit 0
  Refuse,       // a known option with a bad value: print UsageLine(refusal) and exit 2
};

// Every option the player gave; an option not given stays empty, so saved settings fill it in.
struct CommandLineOptions {
  CommandLineAction action = CommandLineAction::Run;
  std::string refusal;                        // Refuse: the option and what is wrong with it
  std::vector<std::string> unknownArguments;  // ignored, each named once on stderr
  std::optional<bool> fullScreen;             // --window (false) or --fullscreen (true), the last one given
  std::optional<WindowSize> windowSize;       // --window=WxH
  std::optional<platform::PictureScaling> scaling;
  std::optional<int32_t> musicVolume;        // 0..100
  std::optional<int32_t> effectsVolume;      // 0..100
  std::optional<bool> rumble;                // --no-rumble (false)
  std::optional<std::string> dataFolder;     // --data=DIR
  std::optional<std::string> recordPath;     // --record=FILE
  std::optional<std::string> playPath;       // --play=FILE
  std::optional<uint16_t> hostPort;          // --host[=PORT] (27960 when no port is given)
  bool hostPortNamed = false;                // --host=PORT rather than --host
  std::optional<std::string> joinAddress;    // --join=HOST[:PORT]
  std::optional<std::string> playerName;     // --name=TEXT
  std::optional<std::string> serverAddress;  // --server=ADDRESS[:PORT]
  bool saveSettings = false;
};

// Reads the command line with GNU conventions (--opt=value and --opt value, unambiguous abbreviations,
// "--" ends the options). --help and --version end the reading at once, as does the first bad value.
// argv is not changed; only argv[1..argc-1] are read.
CommandLineOptions ParseCommandLine(int argc, const char* const* argv);

// The --help text: every option with its meaning, then where the settings file is and where the game's files
// are looked for, both told from the platform's folder rules for the given system.
std::string HelpText(platform::FolderRules rules);
// "tavo2000 <version>".
std::string VersionText();
// The one line printed for a refused option value.
std::string UsageLine(const std::string& refusal);
