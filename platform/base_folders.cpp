// The folder rules: each user folder from its variable or from HOME, the system data list, and where the game's
// data and settings are looked for under the freedesktop standard and under Windows.
#include "platform/base_folders.h"

#include <algorithm>

#include "platform/os/operating_system.h"

namespace platform {

namespace {

bool IsAbsolute(const std::optional<std::string>& path) { return path && !path->empty() && (*path)[0] == '/'; }

// A Windows path with a drive and a separator ("C:\\..." or "C:/..."), or a network path ("\\\\server\\...").
bool IsAbsoluteOnWindows(const std::optional<std::string>& path) {
  if (!path || path->size() < 3) return false;
  const std::string& p = *path;
  const bool drive =
      ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z')) && p[1] == ':' && (p[2] == '\\' || p[2] == '/');
  return drive || (p[0] == '\\' && p[1] == '\\');
}

constexpr const char* kGameFolderName = "tavo2000";

}  // namespace

std::string UserBaseFolder(BaseFolder which, const EnvironmentLookup& lookup) {
  const bool data = which == BaseFolder::DataHome;
  const std::optional<std::string> chosen = lookup(data ? "XDG_DATA_HOME" : "XDG_CONFIG_HOME");
  if (IsAbsolute(chosen)) return *chosen;
  const std::optional<std::string> home = lookup("HOME");
  if (!IsAbsolute(home)) return {};
  const std::string under = data ? ".local/share" : ".config";
  return home->back() == '/' ? *home + under : *home + "/" + under;
}

std::vector<std::string> SystemDataFolders(const EnvironmentLookup& lookup) {
  const std::optional<std::string> set = lookup("XDG_DATA_DIRS");
  const std::string list = set && !set->empty() ? *set : "/usr/local/share:/usr/share";
  std::vector<std::string> folders;
  size_t start = 0;
  while (start <= list.size()) {
    const size_t end = std::min(list.find(':', start), list.size());
    std::optional<std::string> entry = list.substr(start, end - start);
    if (IsAbsolute(entry)) folders.push_back(*entry);
    start = end + 1;
  }
  return folders;
}

EnvironmentLookup ProcessEnvironment() { return os::EnvironmentVariable; }

FolderRules SystemFolderRules() { return os::SystemFolderRules(); }

std::string JoinPath(FolderRules rules, const std::string& folder, const std::string& name) {
  const bool windows = rules == FolderRules::Windows;
  if (folder.empty() || folder.back() == '/' || (windows && folder.back() == '\\')) return folder + name;
  return folder + (windows ? "\\" : "/") + name;
}

std::vector<std::string> GameDataFolders(FolderRules rules, const std::string& executableFolder,
                                         const EnvironmentLookup& lookup) {
  std::vector<std::string> folders;
  const std::optional<std::string> tavoData = lookup("TAVO_DATA");
  const bool haveTavoData = tavoData && !tavoData->empty();
  if (rules == FolderRules::Windows) {
    if (!executableFolder.empty()) folders.push_back(executableFolder);
    if (haveTavoData) folders.push_back(*tavoData);
    return folders;
  }
  if (haveTavoData) folders.push_back(*tavoData);
  if (!executableFolder.empty()) {
    folders.push_back(executableFolder);
    folders.push_back(JoinPath(rules, executableFolder, std::string("../share/") + kGameFolderName));
  }
  const std::string dataHome = UserBaseFolder(BaseFolder::DataHome, lookup);
  if (!dataHome.empty()) folders.push_back(JoinPath(rules, dataHome, kGameFolderName));
  for (const std::string& folder : SystemDataFolders(lookup))
    folders.push_back(JoinPath(rules, folder, kGameFolderName));
  return folders;
}

std::string GameSettingsFolder(FolderRules rules, const EnvironmentLookup& lookup) {
  if (rules == FolderRules::Windows) {
    const std::optional<std::string> appData = lookup("APPDATA");
    return IsAbsoluteOnWindows(appData) ? JoinPath(rules, *appData, "Tavo2000") : std::string();
  }
  const std::string configHome = UserBaseFolder(BaseFolder::ConfigHome, lookup);
  return configHome.empty() ? std::string() : JoinPath(rules, configHome, kGameFolderName);
}

}  // namespace platform
