// The player's saved settings: the text read back as written, malformed lines, the file on disk (missing,
// unreadable, unwritable folder), and the start-up step: command line over the file, written only on request.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/launcher/player_settings.h"
#include "app/launcher/settings_file.h"
#include "app/launcher/start_choices.h"
#include "platform/display_choices.h"
#include "platform/master_volume.h"
#include "platform/pads.h"
#include "tests/support/environment.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

using Scaling = platform::PictureScaling;

std::string FileText(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST(SettingsText, RoundTripAndDefaults) {
  const PlayerSettings chosen{{false, 1920, 1080, Scaling::Integer}, 0, 55, false};
  SettingsProblems problems;
  EXPECT_EQ(ReadSettingsText(SettingsText(chosen), &problems), chosen);
  EXPECT_EQ(problems.count, 0);
  EXPECT_EQ(ReadSettingsText("", &problems), PlayerSettings{});
  // Spaces, CR line ends, comments and a later line over an earlier one.
  const PlayerSettings read =
      ReadSettingsText("; comment\r\n  scale = integer \r\n\n# x=y\nmusic=10\nmusic=20\nwindow=640x480", &problems);
  EXPECT_EQ(problems.count, 0);
  EXPECT_EQ(read, (PlayerSettings{{true, 640, 480, Scaling::Integer}, 20, 100}));
}

TEST(SettingsText, MalformedLinesKeepTheirDefaults) {
  struct Case {
    const char* text;
    int32_t count, firstLine;
    PlayerSettings expected;
  };
  const PlayerSettings defaults;
  const Case cases[] = {
      {"scale=huge\n", 1, 1, defaults},
      {"rumble=no\nrumble=maybe\n", 1, 2, {{true, 1280, 960, Scaling::Fit}, 100, 100, false}},
      {"music=40\nvolume=3\neffects=101\n", 2, 2, {{true, 1280, 960, Scaling::Fit}, 40, 100}},
      {"fullscreen=no\nwindow=10x10\n", 1, 2, {{false, 1280, 960, Scaling::Fit}, 100, 100}},
      {"fullscreen\n[section]\n=yes\nfullscreen=YES\n", 4, 1, defaults},
      {"music=5\n\x01\xff garbage", 1, 2, {{true, 1280, 960, Scaling::Fit}, 5, 100}},
  };
  for (const Case& c : cases) {
    SettingsProblems problems;
    EXPECT_EQ(ReadSettingsText(c.text, &problems), c.expected) << c.text;
    EXPECT_EQ(problems.count, c.count) << c.text;
    EXPECT_EQ(problems.firstLine, c.firstLine) << c.text;
    EXPECT_FALSE(problems.firstReason.empty());
  }
}

TEST(SettingsText, FilePlaceAndCommandLineOverIt) {
  using platform::FolderRules;
  const struct {
    FolderRules rules;
    std::optional<std::string> xdgConfigHome, home, appData;
    std::string expected;
  } cases[] = {
      {FolderRules::Freedesktop, "/x", "/h", "C:\\A", "/x/tavo2000/settings.ini"},
      {FolderRules::Freedesktop, "", "/h", std::nullopt, "/h/.config/tavo2000/settings.ini"},
      {FolderRules::Freedesktop, "rel", "/h", std::nullopt, "/h/.config/tavo2000/settings.ini"},
      {FolderRules::Freedesktop, std::nullopt, std::nullopt, "C:\\A", ""},
      {FolderRules::Windows, "/x", "/h", "C:\\Users\\Ann\\AppData\\Roaming",
       "C:\\Users\\Ann\\AppData\\Roaming\\Tavo2000\\settings.ini"},
      {FolderRules::Windows, std::nullopt, std::nullopt, "D:/Roaming/", "D:/Roaming/Tavo2000\\settings.ini"},
      {FolderRules::Windows, "/x", "/h", "Roaming", ""},
      {FolderRules::Windows, "/x", "/h", std::nullopt, ""},
  };
  for (const auto& c : cases) {
    const auto lookup = [&c](const char* name) -> std::optional<std::string> {
      const std::string variable = name;
      return variable == "XDG_CONFIG_HOME" ? c.xdgConfigHome
             : variable == "HOME"          ? c.home
             : variable == "APPDATA"       ? c.appData
                                           : std::nullopt;
    };
    EXPECT_EQ(SettingsFilePath(c.rules, lookup), c.expected) << c.appData.value_or("-");
  }
  CommandLineOptions options;
  options.fullScreen = false;
  options.musicVolume = 7;
  const PlayerSettings saved{{true, 800, 600, Scaling::Integer}, 50, 60};
  EXPECT_EQ(WithCommandLine(saved, options), (PlayerSettings{{false, 800, 600, Scaling::Integer}, 7, 60}));
  options.windowSize = WindowSize{1024, 768};
  options.scaling = Scaling::Fit;
  options.effectsVolume = 0;
  options.rumble = false;
  EXPECT_EQ(WithCommandLine(saved, options), (PlayerSettings{{false, 1024, 768, Scaling::Fit}, 7, 0, false}));
}

// The file on disk and the start-up step, with $XDG_CONFIG_HOME in a scratch folder.
class SettingsOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    root = testfiles::ScratchPath("settings");
    fs::remove_all(root);
    fs::create_directories(root + "/data/Music");
    path = root + "/config/tavo2000/settings.ini";
    testenv::Set("XDG_CONFIG_HOME", (root + "/config").c_str());
    original = fs::current_path();
  }
  void TearDown() override {
    fs::current_path(original);
    testenv::Unset("XDG_CONFIG_HOME");
    platform::SetDisplayChoices({});
    platform::SetMasterVolumes(100, 100);
    fs::remove_all(root);
  }
  // PrepareStart with these arguments (the data folder given, so the search never leaves the tree).
  std::optional<int> Start(std::vector<const char*> arguments) {
    const std::string data = "--data=" + root + "/data";
    arguments.insert(arguments.begin(), {"tavo2000", data.c_str()});
    CommandLineOptions options = ParseCommandLine(static_cast<int>(arguments.size()), arguments.data());
    return PrepareStart(options);
  }
  std::string root, path;
  fs::path original;
};

TEST_F(SettingsOnDisk, WrittenOnlyWithSaveSettingsAndCommandLineWins) {
  EXPECT_EQ(Start({"--window=800x600", "--scale=integer", "--music-volume=30"}), std::nullopt);
  EXPECT_FALSE(fs::exists(root + "/config")) << "a run without --save-settings wrote a file";
  EXPECT_EQ(fs::current_path(), fs::path(root + "/data"));
  EXPECT_FALSE(platform::CurrentDisplayChoices().fullScreen);
  EXPECT_EQ(platform::CurrentDisplayChoices().scaling, Scaling::Integer);
  EXPECT_FLOAT_EQ(platform::MusicMasterGain(), 0.09f);

  // Saved: this command line over the defaults (not over the file), and the run starts with it.
  fs::create_directories(root + "/config/tavo2000");
  std::ofstream(path) << "music=5\neffects=5\n";
  EXPECT_EQ(Start({"--window=800x600", "--save-settings"}), std::nullopt);
  SettingsProblems problems;
  EXPECT_EQ(ReadSettingsText(FileText(path), &problems), (PlayerSettings{{false, 800, 600, Scaling::Fit}, 100, 100}));
  EXPECT_FLOAT_EQ(platform::EffectsMasterGain(), 1.0f);
  EXPECT_EQ(std::distance(fs::directory_iterator(root + "/config/tavo2000"), fs::directory_iterator()), 1);

  // A later run reads it; its own options win for that run and leave the file as it was.
  const std::string written = FileText(path);
  EXPECT_EQ(Start({"--fullscreen", "--effects-volume=50", "--no-rumble"}), std::nullopt);
  EXPECT_TRUE(platform::CurrentDisplayChoices().fullScreen);
  EXPECT_FALSE(platform::RumbleEnabled());
  EXPECT_EQ(platform::CurrentDisplayChoices().windowWidth, 800);
  EXPECT_FLOAT_EQ(platform::EffectsMasterGain(), 0.25f);
  EXPECT_EQ(FileText(path), written);
}

TEST_F(SettingsOnDisk, TroubleIsOneLineAndNeverARewrite) {
  fs::create_directories(root + "/config/tavo2000");
  std::ofstream(path) << "scale=integer\nmusic=loud\nbogus\n";
  testing::internal::CaptureStderr();
  const PlayerSettings partly = LoadSettingsFile(path);
  const std::string malformed = testing::internal::GetCapturedStderr();
  EXPECT_EQ(partly, (PlayerSettings{{true, 1280, 960, Scaling::Integer}, 100, 100}));
  EXPECT_EQ(malformed, "SETTINGS: " + path +
                           " line 2: music is not a whole number from 0 to 100 (2 lines not "
                           "understood); defaults used for them\n");
  EXPECT_EQ(FileText(path), "scale=integer\nmusic=loud\nbogus\n");

  // Missing: silent defaults. A folder where the file should be: one line, defaults.
  testing::internal::CaptureStderr();
  EXPECT_EQ(LoadSettingsFile(root + "/none.ini"), PlayerSettings{});
  EXPECT_EQ(LoadSettingsFile(root + "/config"), PlayerSettings{});
  const std::string unreadable = testing::internal::GetCapturedStderr();
  EXPECT_EQ(unreadable.rfind("SETTINGS: " + root + "/config: cannot be read", 0), 0u) << unreadable;
  EXPECT_EQ(std::count(unreadable.begin(), unreadable.end(), '\n'), 1);

  // An unwritable place (its folder would be under a file): one line, the game starts anyway.
  std::ofstream(root + "/blocker") << "x";
  testenv::Set("XDG_CONFIG_HOME", (root + "/blocker").c_str());
  testing::internal::CaptureStderr();
  EXPECT_EQ(Start({"--scale=integer", "--save-settings"}), std::nullopt);
  const std::string unwritable = testing::internal::GetCapturedStderr();
  EXPECT_EQ(unwritable.rfind("SETTINGS: cannot save " + root + "/blocker/tavo2000/settings.ini", 0), 0u) << unwritable;
  EXPECT_EQ(std::count(unwritable.begin(), unwritable.end(), '\n'), 1);
  EXPECT_EQ(platform::CurrentDisplayChoices().scaling, Scaling::Integer);
}

TEST_F(SettingsOnDisk, RefusalsAndTheDataFolderEndBeforeAnyFile) {
  const std::string empty = "--data=" + root + "/config";
  const char* arguments[] = {"tavo2000", empty.c_str(), "--save-settings"};
  CommandLineOptions options = ParseCommandLine(3, arguments);
  testing::internal::CaptureStderr();
  EXPECT_EQ(PrepareStart(options), 2);
  EXPECT_EQ(Start({"--scale=huge", "--save-settings"}), 2);
  const std::string refusals = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(refusals.begin(), refusals.end(), '\n'), 2) << refusals;
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(fs::current_path(), original);
}

}  // namespace
