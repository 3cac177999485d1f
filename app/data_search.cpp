// The data search: candidate folders from the environment, and the first one that holds the game's files.
// Folder questions go to the platform; the list itself is worked out from plain strings.
#include "app/data_search.h"

#include <algorithm>

#include "app/asset_catalogue.h"
#include "platform/file_system.h"
#include "platform/process_environment.h"

namespace {

constexpr const char* GameFolderName = "tavo2000";

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

// An XDG variable's value when it is set and not empty, else its default.
std::string XdgOrDefault(const std::optional<std::string>& value, const std::string& fallback) {
  return value && !value->empty() ? *value : fallback;
}

bool IsAbsolute(const std::string& path) { return !path.empty() && path[0] == '/'; }

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
    candidates.push_back(Join(places.executableFolder, std::string("../share/") + GameFolderName));
  }
  const std::string homeData = places.home && !places.home->empty() ? Join(*places.home, ".local/share") : "";
  const std::string dataHome = XdgOrDefault(places.xdgDataHome, homeData);
  if (IsAbsolute(dataHome)) candidates.push_back(Join(dataHome, GameFolderName));
  const std::string dataDirs = XdgOrDefault(places.xdgDataDirs, "/usr/local/share:/usr/share");
  size_t start = 0;
  while (start <= dataDirs.size()) {
    const size_t end = std::min(dataDirs.find(':', start), dataDirs.size());
    const std::string entry = dataDirs.substr(start, end - start);
    if (IsAbsolute(entry)) candidates.push_back(Join(entry, GameFolderName));
    start = end + 1;
  }
  return candidates;
}

bool HoldsGameFiles(const std::string& folder) {
  for (const char* assetFolder : AssetFolderNames)
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
