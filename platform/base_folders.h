// The player's folders by the rules of each system (the freedesktop base-directory standard, or Windows'):
// where data and settings live, worked out from environment variables alone, so tests can hand in any environment.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/folder_rules.h"

namespace platform {

// Answers an environment variable by name: its value, or nothing when it is unset.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

enum class BaseFolder {
  DataHome,    // $XDG_DATA_HOME, else ~/.local/share
  ConfigHome,  // $XDG_CONFIG_HOME, else ~/.config
};

// The folder's variable when it holds an absolute path, else its place under $HOME when HOME is absolute;
// empty when neither gives an absolute folder (an unset, empty or relative value counts as not given).
std::string UserBaseFolder(BaseFolder which, const EnvironmentLookup& lookup);

// The absolute entries of $XDG_DATA_DIRS in order (relative ones are skipped); /usr/local/share and /usr/share
// when it is unset or empty.
std::vector<std::string> SystemDataFolders(const EnvironmentLookup& lookup);

// The lookup of the running process (platform::EnvironmentVariable).
EnvironmentLookup ProcessEnvironment();

// The rules of the system the program was built for.
FolderRules SystemFolderRules();

// The folders that may hold the game's data when the working folder does not, in the order they are tried.
// Freedesktop: $TAVO_DATA, the executable's folder, ../share/tavo2000 beside it, $XDG_DATA_HOME/tavo2000
// (~/.local/share/tavo2000), each DIR/tavo2000 of $XDG_DATA_DIRS (/usr/local/share:/usr/share).
// Windows: the executable's folder, then %TAVO_DATA%. Empty values are skipped; executableFolder ends in the
// folder separator (or is empty when unknown).
std::vector<std::string> GameDataFolders(FolderRules rules, const std::string& executableFolder,
                                         const EnvironmentLookup& lookup);

// The places GameDataFolders tries, in its order, in the player's words, with the variables written as the
// system's shell writes them: "$TAVO_DATA", "$XDG_DATA_HOME/tavo2000 (default ~/.local/share/tavo2000)", ...;
// on Windows "the program's folder", "%TAVO_DATA%". Made from the same list of places, so the two agree.
std::vector<std::string> GameDataFolderTexts(FolderRules rules);

// The folder of the game's settings file: $XDG_CONFIG_HOME/tavo2000 (~/.config/tavo2000), or on Windows
// %APPDATA%\Tavo2000; empty when the environment names no absolute folder for it.
std::string GameSettingsFolder(FolderRules rules, const EnvironmentLookup& lookup);

// Where GameSettingsFolder puts fileName, in the player's words: "$XDG_CONFIG_HOME/tavo2000/NAME (default
// ~/.config/tavo2000/NAME)", or on Windows "%APPDATA%\Tavo2000\NAME".
std::string GameSettingsFileText(FolderRules rules, const std::string& fileName);

// folder and name joined by the rules' separator ('/' or '\\'), with none doubled.
std::string JoinPath(FolderRules rules, const std::string& folder, const std::string& name);

}  // namespace platform
