// The data search: candidate folders from the environment, and the first one that holds the game's files.
// Folder questions go to the platform; the list itself is worked out from plain strings.
#include "app/launcher/data_search.h"

#include <string_view>

#include "app/asset_catalogue.h"
#include "platform/base_folders.h"
#include "platform/file_system.h"
#include "platform/process_environment.h"

namespace {

constexpr const char* kGameFolderName = "tavo2000";

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

// The base-directory variables as the places hold them.
platform::EnvironmentLookup LookupIn(const DataSearchPlaces& places) {
  return [&places](const char* name) -> std::optional<std::string> {
    const std::string_view variable = name;
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
  return places;
}

std::vector<std::string> DataFolderCandidates(const DataSearchPlaces& places) {
  std::vector<std::string> candidates;
  if (places.tavoData && !places.tavoData->empty()) candidates.push_back(*places.tavoData);
  if (!places.executableFolder.empty()) {
    candidates.push_back(places.executableFolder);
    candidates.push_back(Join(places.executableFolder, std::string("../share/") + kGameFolderName));
  }
  const platform::EnvironmentLookup lookup = LookupIn(places);
  const std::string dataHome = platform::UserBaseFolder(platform::BaseFolder::DataHome, lookup);
  if (!dataHome.empty()) candidates.push_back(Join(dataHome, kGameFolderName));
  for (const std::string& folder : platform::SystemDataFolders(lookup))
    candidates.push_back(Join(folder, kGameFolderName));
  return candidates;
}

bool HoldsGameFiles(const std::string& folder) {
  for (const char* assetFolder : kAssetFolderNames)
    if (platform::IsFolder(Join(folder, assetFolder))) return true;
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
