// Finding the game's files when the program is started outside their folder: the places to look, in their
// fixed order, and the search itself (the first place that holds any of the four asset folders wins).
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/base_folders.h"

// What the search looks at, read from the process's surroundings by PlacesFromEnvironment (or made up by tests).
struct DataSearchPlaces {
  std::string workingFolder = ".";
  std::optional<std::string> tavoData;                               // $TAVO_DATA
  std::string executableFolder;                                      // empty when unknown
  std::optional<std::string> xdgDataHome;                            // $XDG_DATA_HOME
  std::optional<std::string> home;                                   // $HOME
  std::optional<std::string> xdgDataDirs;                            // $XDG_DATA_DIRS
  platform::FolderRules rules = platform::FolderRules::Freedesktop;  // the system's, from PlacesFromEnvironment
};

DataSearchPlaces PlacesFromEnvironment();

// The folders to try, in order, after the working folder, by the places' folder rules (platform::GameDataFolders):
// $TAVO_DATA, the executable's folder, ../share/tavo2000 beside it, $XDG_DATA_HOME/tavo2000
// (~/.local/share/tavo2000), each DIR/tavo2000 of $XDG_DATA_DIRS (/usr/local/share:/usr/share); on Windows the
// executable's folder, then %TAVO_DATA%. Empty values are skipped; unset or empty XDG values take their
// defaults, and relative XDG entries are ignored as the freedesktop standard asks.
std::vector<std::string> DataFolderCandidates(const DataSearchPlaces& places);

// True when folder holds at least one of Backgrounds/, Sprites/, SoundFX/ and Music/.
bool HoldsGameFiles(const std::string& folder);

struct DataSearchResult {
  enum class Outcome {
    WorkingFolder,           // the working folder holds them: stay
    Found,                   // folder holds them: change into it
    DataFolderWithoutFiles,  // --data named a folder without them: an error
    NoneFound,               // nowhere: go on as before, tried lists every folder looked at
  };
  Outcome outcome = Outcome::WorkingFolder;
  std::string folder;
  std::vector<std::string> tried;
};

// --data, when given, is the one place looked at; otherwise the working folder, then the candidates.
DataSearchResult SearchForGameFiles(const std::optional<std::string>& dataFolder, const DataSearchPlaces& places);
