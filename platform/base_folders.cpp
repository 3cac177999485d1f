// The folder rules: each user folder from its variable or from HOME, the system data list, and where the game's
// data and settings are looked for under the freedesktop standard and under Windows, each place also told in words.
#include "platform/base_folders.h"

#include <algorithm>
#include <span>

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

// The variables the rules read, named once for the folders and for their words.
constexpr const char* kTavoDataVariable = "TAVO_DATA";
constexpr const char* kDataHomeVariable = "XDG_DATA_HOME";
constexpr const char* kConfigHomeVariable = "XDG_CONFIG_HOME";
constexpr const char* kSystemDataVariable = "XDG_DATA_DIRS";
constexpr const char* kAppDataVariable = "APPDATA";

constexpr const char* kGameFolderName = "tavo2000";
constexpr const char* kWindowsGameFolderName = "Tavo2000";
constexpr const char* kDataHomeUnderHome = ".local/share";
constexpr const char* kConfigHomeUnderHome = ".config";
constexpr const char* kDefaultSystemDataFolders = "/usr/local/share:/usr/share";

// The game's folder under a prefix beside the executable's bin/.
std::string ShareBesideExecutable() { return std::string("../share/") + kGameFolderName; }

// The places GameDataFolders tries, in each system's order; the list of places the help tells is the same one.
enum class DataPlace { TavoData, ExecutableFolder, ShareBesideExecutable, UserDataHome, SystemDataFolders };
constexpr DataPlace kFreedesktopDataPlaces[] = {DataPlace::TavoData, DataPlace::ExecutableFolder,
                                                DataPlace::ShareBesideExecutable, DataPlace::UserDataHome,
                                                DataPlace::SystemDataFolders};
constexpr DataPlace kWindowsDataPlaces[] = {DataPlace::ExecutableFolder, DataPlace::TavoData};

std::span<const DataPlace> DataPlaces(FolderRules rules) {
  if (rules == FolderRules::Windows) return kWindowsDataPlaces;
  return kFreedesktopDataPlaces;
}

// An environment variable named as the system's shell writes it: $NAME, or %NAME% on Windows.
std::string VariableText(FolderRules rules, const char* name) {
  return rules == FolderRules::Windows ? std::string("%") + name + "%" : std::string("$") + name;
}

// Adds the folders one place gives (none when its variable or the executable's folder is not known).
void AddDataPlace(DataPlace place, FolderRules rules, const std::string& executableFolder,
                  const EnvironmentLookup& lookup, std::vector<std::string>* folders) {
  switch (place) {
    case DataPlace::TavoData: {
      const std::optional<std::string> tavoData = lookup(kTavoDataVariable);
      if (tavoData && !tavoData->empty()) folders->push_back(*tavoData);
      return;
    }
    case DataPlace::ExecutableFolder:
      if (!executableFolder.empty()) folders->push_back(executableFolder);
      return;
    case DataPlace::ShareBesideExecutable:
      if (!executableFolder.empty()) folders->push_back(JoinPath(rules, executableFolder, ShareBesideExecutable()));
      return;
    case DataPlace::UserDataHome: {
      const std::string dataHome = UserBaseFolder(BaseFolder::DataHome, lookup);
      if (!dataHome.empty()) folders->push_back(JoinPath(rules, dataHome, kGameFolderName));
      return;
    }
    case DataPlace::SystemDataFolders:
      for (const std::string& folder : SystemDataFolders(lookup))
        folders->push_back(JoinPath(rules, folder, kGameFolderName));
      return;
  }
}

// One place in the player's words, as AddDataPlace works it out.
std::string DataPlaceText(DataPlace place, FolderRules rules) {
  switch (place) {
    case DataPlace::TavoData:
      return VariableText(rules, kTavoDataVariable);
    case DataPlace::ExecutableFolder:
      return rules == FolderRules::Windows ? "the program's folder" : "the executable's folder";
    case DataPlace::ShareBesideExecutable:
      return ShareBesideExecutable() + " beside it";
    case DataPlace::UserDataHome:
      return JoinPath(rules, VariableText(rules, kDataHomeVariable), kGameFolderName) + " (default " +
             JoinPath(rules, JoinPath(rules, "~", kDataHomeUnderHome), kGameFolderName) + ")";
    case DataPlace::SystemDataFolders:
      return std::string("each ") + JoinPath(rules, "DIR", kGameFolderName) + " of " +
             VariableText(rules, kSystemDataVariable) + " (default " + kDefaultSystemDataFolders + ")";
  }
  return {};
}

}  // namespace

std::string UserBaseFolder(BaseFolder which, const EnvironmentLookup& lookup) {
  const bool data = which == BaseFolder::DataHome;
  const std::optional<std::string> chosen = lookup(data ? kDataHomeVariable : kConfigHomeVariable);
  if (IsAbsolute(chosen)) return *chosen;
  const std::optional<std::string> home = lookup("HOME");
  if (!IsAbsolute(home)) return {};
  const std::string under = data ? kDataHomeUnderHome : kConfigHomeUnderHome;
  return home->back() == '/' ? *home + under : *home + "/" + under;
}

std::vector<std::string> SystemDataFolders(const EnvironmentLookup& lookup) {
  const std::optional<std::string> set = lookup(kSystemDataVariable);
  const std::string list = set && !set->empty() ? *set : kDefaultSystemDataFolders;
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
  for (const DataPlace place : DataPlaces(rules)) AddDataPlace(place, rules, executableFolder, lookup, &folders);
  return folders;
}

std::vector<std::string> GameDataFolderTexts(FolderRules rules) {
  std::vector<std::string> texts;
  for (const DataPlace place : DataPlaces(rules)) texts.push_back(DataPlaceText(place, rules));
  return texts;
}

std::string GameSettingsFolder(FolderRules rules, const EnvironmentLookup& lookup) {
  if (rules == FolderRules::Windows) {
    const std::optional<std::string> appData = lookup(kAppDataVariable);
    return IsAbsoluteOnWindows(appData) ? JoinPath(rules, *appData, kWindowsGameFolderName) : std::string();
  }
  const std::string configHome = UserBaseFolder(BaseFolder::ConfigHome, lookup);
  return configHome.empty() ? std::string() : JoinPath(rules, configHome, kGameFolderName);
}

std::string GameSettingsFileText(FolderRules rules, const std::string& fileName) {
  if (rules == FolderRules::Windows)
    return JoinPath(rules, JoinPath(rules, VariableText(rules, kAppDataVariable), kWindowsGameFolderName), fileName);
  const std::string under = JoinPath(rules, kGameFolderName, fileName);
  return JoinPath(rules, VariableText(rules, kConfigHomeVariable), under) + " (default " +
         JoinPath(rules, JoinPath(rules, "~", kConfigHomeUnderHome), under) + ")";
}

}  // namespace platform
