// The data search: candidate folders from the environment, and the first one that holds the game's files.
// Folder questions go to the platform; the list itself is worked out from plain strings.
#include "app/launcher/data_search.h"

#include <string_view>

#include "app/asset_catalogue.h"
#include "platform/base_folders.h"
#include "platform/file_system.h"
#include "platform/process_environment.h"

namespace {

// The variables of the places, for the platform's folder rules.
platform::EnvironmentLookup LookupIn(const DataSearchPlaces& places) {
  return [&places](const char* name) -> std::optional<std::string> {
    const std::string_view variable = name;
    if (variable == "TAVO_DATA") return places.tavoData;
    if (variable == "XDG_DATA_HOME") return places.xdgDataHome;
    if (variable == "XDG_DATA_DIRS") return places.xdgDataDirs;
    if (variable == "HOME") return places.home;
    return std::nullopt;
  };
}

}  // namespace

DataSearchPlaces PlacesFromEnvironment() {
  DataSearchPlaces places;
  const std::string workingFolder = platform::WorkingFolder();
  if (!workingFolder.empty()) places.workingFolder = workingFolder;  // named in full when nothing is found
  places.tavoData = platform::EnvironmentVariable("TAVO_DATA");
  places.executableFolder = platform::ExecutableFolder();
  places.xdgDataHome = platform::EnvironmentVariable("XDG_DATA_HOME");
  places.home = platform::EnvironmentVariable("HOME");
  places.xdgDataDirs = platform::EnvironmentVariable("XDG_DATA_DIRS");
  places.rules = platform::SystemFolderRules();
  return places;
}

std::vector<std::string> DataFolderCandidates(const DataSearchPlaces& places) {
  return platform::GameDataFolders(places.rules, places.executableFolder, LookupIn(places));
}

bool HoldsGameFiles(const std::string& folder) {
  for (const char* assetFolder : kAssetFolderNames)
    if (platform::IsFolder(platform::JoinPath(platform::SystemFolderRules(), folder, assetFolder))) return true;
  return false;
}

DataSearchResult SearchForGameFiles(const std::optional<std::string>& dataFolder, const DataSearchPlaces& places) {
  using Outcome = DataSearchResult::Outcome;
  if (dataFolder) {
    if (HoldsGameFiles(*dataFolder)) return {Outcome::Found, *dataFolder, {*dataFolder}};
    return {Outcome::DataFolderWithoutFiles, *dataFolder, {*dataFolder}};
  }
  DataSearchResult result;
  result.tried.push_back(places.workingFolder);
  if (HoldsGameFiles(places.workingFolder)) return {Outcome::WorkingFolder, places.workingFolder, result.tried};
  for (const std::string& candidate : DataFolderCandidates(places)) {
    result.tried.push_back(candidate);
    if (HoldsGameFiles(candidate)) {
      result.outcome = Outcome::Found;
      result.folder = candidate;
      return result;
    }
  }
  result.outcome = Outcome::NoneFound;
  return result;
}
