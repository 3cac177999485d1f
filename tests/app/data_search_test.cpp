// The search for the game's files: the order of the places, and on a temporary tree with the asset folders
// put in each place in turn, that the first place holding them wins, --data is taken alone, and none is reported.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/launcher/data_search.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

TEST(DataSearch, PlacesInTheirOrderWithDefaults) {
  DataSearchPlaces places;
  places.tavoData = "/t";
  places.executableFolder = "/opt/game/bin/";
  places.home = "/home/p";
  EXPECT_EQ(
      DataFolderCandidates(places),
      (std::vector<std::string>{"/t", "/opt/game/bin/", "/opt/game/bin/../share/tavo2000",
                                "/home/p/.local/share/tavo2000", "/usr/local/share/tavo2000", "/usr/share/tavo2000"}));
  // Set values replace the defaults; empty and relative entries are passed over.
  places.tavoData = "";
  places.executableFolder.clear();
  places.xdgDataHome = "/xdh";
  places.xdgDataDirs = "/a::relative:/b/";
  EXPECT_EQ(DataFolderCandidates(places), (std::vector<std::string>{"/xdh/tavo2000", "/a/tavo2000", "/b/tavo2000"}));
  places.xdgDataHome = "relative";
  places.xdgDataDirs = "";
  places.home.reset();
  EXPECT_EQ(DataFolderCandidates(places),
            (std::vector<std::string>{"/usr/local/share/tavo2000", "/usr/share/tavo2000"}));
  // Windows: the executable's folder first, then %TAVO_DATA%; no freedesktop folders.
  places.rules = platform::FolderRules::Windows;
  places.home = "/home/p";
  places.xdgDataHome = "/xdh";
  places.executableFolder = "C:\\Games\\Tavo 2000\\";
  places.tavoData = "D:\\data";
  EXPECT_EQ(DataFolderCandidates(places), (std::vector<std::string>{"C:\\Games\\Tavo 2000\\", "D:\\data"}));
  places.executableFolder.clear();
  places.tavoData.reset();
  EXPECT_EQ(DataFolderCandidates(places), std::vector<std::string>{});
}

// A tree with one folder for each place of the list; places.xdgDataDirs ends the list with the tree's own.
class DataSearchTree : public ::testing::Test {
 protected:
  void SetUp() override {
    root = testfiles::ScratchPath("data_search");
    fs::remove_all(root);
    places.workingFolder = root + "/work";
    places.tavoData = root + "/tavo_data";
    places.executableFolder = root + "/prefix/bin/";
    places.xdgDataHome = root + "/data_home";
    places.home = root + "/home";
    places.xdgDataDirs = root + "/dirs1:" + root + "/dirs2";
    ordered = {places.workingFolder,         *places.tavoData,
               places.executableFolder,      root + "/prefix/bin/../share/tavo2000",
               root + "/data_home/tavo2000", root + "/dirs1/tavo2000",
               root + "/dirs2/tavo2000"};
    for (const std::string& folder : ordered) fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(root); }

  std::string root;
  DataSearchPlaces places;
  std::vector<std::string> ordered;  // the working folder, then every candidate in order
};

TEST_F(DataSearchTree, FirstPlaceHoldingTheFilesWins) {
  // Filled from the back, one asset folder each (any one of the four counts): each step moves the winner forward.
  const char* assetFolders[] = {"Backgrounds", "Sprites", "SoundFX", "Music"};
  for (size_t i = ordered.size(); i-- > 0;) {
    fs::create_directories(ordered[i] + "/" + assetFolders[i % 4]);
    const DataSearchResult result = SearchForGameFiles(std::nullopt, places);
    EXPECT_EQ(result.folder, ordered[i]);
    EXPECT_EQ(result.outcome, i == 0 ? DataSearchResult::Outcome::WorkingFolder : DataSearchResult::Outcome::Found);
  }
}

TEST_F(DataSearchTree, NoneFoundListsEveryPlaceTried) {
  fs::create_directories(ordered[3] + "/backgrounds");  // names are exact
  std::ofstream(ordered[4] + "/Sprites").put('x');      // a file is not a folder
  const DataSearchResult result = SearchForGameFiles(std::nullopt, places);
  EXPECT_EQ(result.outcome, DataSearchResult::Outcome::NoneFound);
  EXPECT_EQ(result.tried, ordered);
}

TEST_F(DataSearchTree, DataOptionIsTheOnlyPlaceLookedAt) {
  fs::create_directories(places.workingFolder + "/Music");
  fs::create_directories(root + "/chosen/Sprites");
  const DataSearchResult chosen = SearchForGameFiles(root + "/chosen", places);
  EXPECT_EQ(chosen.outcome, DataSearchResult::Outcome::Found);
  EXPECT_EQ(chosen.folder, root + "/chosen");
  const DataSearchResult empty = SearchForGameFiles(root + "/dirs1", places);
  EXPECT_EQ(empty.outcome, DataSearchResult::Outcome::DataFolderWithoutFiles);
  EXPECT_EQ(SearchForGameFiles(root + "/missing", places).outcome, DataSearchResult::Outcome::DataFolderWithoutFiles);
}

}  // namespace
