// The player's folders by the freedesktop base-directory standard: where data and settings live, worked out
// from environment variables alone, so the rules are written once and tests can hand in any environment.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

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

}  // namespace platform
