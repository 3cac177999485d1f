// The command line read into its record: every option and its value forms, refused values, unknown
// arguments, the early end at --help and --version, and the help's folder lines for each system's rules.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "app/launcher/command_line.h"

namespace {

CommandLineOptions Parse(std::initializer_list<const char*> arguments) {
  std::vector<const char*> argv{"tavo2000"};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return ParseCommandLine(static_cast<int>(argv.size()), argv.data());
}

using Scaling = platform::PictureScaling;

TEST(CommandLine, NoArgumentsRunsWithNothingChosen) {
  const CommandLineOptions options = Parse({});
  EXPECT_EQ(options.action, CommandLineAction::Run);
  EXPECT_FALSE(options.fullScreen || options.windowSize || options.scaling || options.musicVolume ||
               options.effectsVolume || options.rumble || options.dataFolder || options.recordPath || options.playPath);
  EXPECT_FALSE(options.saveSettings);
  EXPECT_TRUE(options.unknownArguments.empty());
}

TEST(CommandLine, EveryOptionInBothValueForms) {
  const CommandLineOptions joined =
      Parse({"--window=800x600", "--scale=integer", "--data=/d", "--music-volume=0", "--effects-volume=100",
             "--no-rumble", "--record=r.txt", "--play=p.txt", "--save-settings"});
  const CommandLineOptions apart =
      Parse({"--window", "800x600", "--scale", "integer", "--data", "/d", "--music-volume", "0", "--effects-volume",
             "100", "--no-rumble", "--record", "r.txt", "--play", "p.txt", "--save-settings"});
  for (const CommandLineOptions& options : {joined, apart}) {
    EXPECT_EQ(options.action, CommandLineAction::Run);
    EXPECT_EQ(options.fullScreen, false);
    ASSERT_TRUE(options.windowSize);
    EXPECT_EQ(options.windowSize->width, 800);
    EXPECT_EQ(options.windowSize->height, 600);
    EXPECT_EQ(options.scaling, Scaling::Integer);
    EXPECT_EQ(options.dataFolder, "/d");
    EXPECT_EQ(options.musicVolume, 0);
    EXPECT_EQ(options.effectsVolume, 100);
    EXPECT_EQ(options.rumble, false);
    EXPECT_EQ(options.recordPath, "r.txt");
    EXPECT_EQ(options.playPath, "p.txt");
    EXPECT_TRUE(options.saveSettings);
    EXPECT_TRUE(options.unknownArguments.empty());
  }
}

TEST(CommandLine, OnlineOptions) {
  EXPECT_EQ(Parse({"--host"}).hostPort, 27960);
  EXPECT_EQ(Parse({"--host=28000", "--name=Ana"}).hostPort, 28000);
  EXPECT_EQ(Parse({"--host=28000", "--name=Ana"}).playerName, "Ana");
  const CommandLineOptions join = Parse({"--join", "example.org:28000", "--record=r"});
  EXPECT_EQ(join.joinAddress, "example.org:28000");
  EXPECT_FALSE(join.hostPort);
  EXPECT_EQ(join.recordPath, "r");
  // Through a server: a port named or not (the system chooses one unless named), a code to join; --server alone is
  // refused.
  EXPECT_FALSE(Parse({"--host", "--server=127.0.0.5"}).hostPortNamed);
  EXPECT_TRUE(Parse({"--host=27960", "--server=127.0.0.5"}).hostPortNamed);
  EXPECT_EQ(Parse({"--join=K7P2QX", "--server=127.0.0.5:27000"}).serverAddress, "127.0.0.5:27000");
  EXPECT_NE(Parse({"--server=127.0.0.5"}).refusal.find("--server needs --host"), std::string::npos);
}

TEST(CommandLine, WindowAndFullScreenTheLastOneCounts) {
  const CommandLineOptions window = Parse({"--fullscreen", "--window"});
  EXPECT_EQ(window.fullScreen, false);
  EXPECT_FALSE(window.windowSize);  // the size stays the saved or default one
  EXPECT_EQ(Parse({"--window=640x480", "--fullscreen"}).fullScreen, true);
  EXPECT_EQ(Parse({"--scale=fit"}).scaling, Scaling::Fit);
  // Limits: 640 x 480 up to 16384 on each side.
  EXPECT_EQ(Parse({"--window=16384x16384"}).windowSize->height, 16384);
  EXPECT_EQ(Parse({"--win=1024x768"}).windowSize->width, 1024);  // an unambiguous abbreviation
}

TEST(CommandLine, BadValuesAreRefused) {
  const std::vector<std::vector<const char*>> refused = {
      {"--scale=huge"},
      {"--scale"},
      {"--scale="},
      {"--window=10x10"},
      {"--window", "10x10"},
      {"--window=639x480"},
      {"--window=640x479"},
      {"--window=16385x600"},
      {"--window=800"},
      {"--window=800x"},
      {"--window=x600"},
      {"--window=800x600x2"},
      {"--window=+800x600"},
      {"--window=99999999999x600"},
      {"--window="},
      {"--music-volume=101"},
      {"--music-volume=-1"},
      {"--effects-volume=ten"},
      {"--effects-volume=50%"},
      {"--music-volume"},
      {"--data="},
      {"--data"},
      {"--record="},
      {"--play"},
      {"--fullscreen=yes"},
      {"--save-settings=1"},
      {"--no-rumble=yes"},
      {"--help=me"},
      {"--host=0"},
      {"--host=65536"},
      {"--host=port"},
      {"--join="},
      {"--host", "--join=a"},
      {"--join=a", "--play=p"},
  };
  for (const std::vector<const char*>& arguments : refused) {
    std::vector<const char*> argv{"tavo2000"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const CommandLineOptions options = ParseCommandLine(static_cast<int>(argv.size()), argv.data());
    EXPECT_EQ(options.action, CommandLineAction::Refuse) << arguments[0];
    EXPECT_NE(options.refusal.find("--"), std::string::npos) << arguments[0] << ": " << options.refusal;
  }
}

TEST(CommandLine, UnknownArgumentsAreNamedAndIgnored) {
  const CommandLineOptions options =
      Parse({"--bogus", "-x", "--music-volume=40", "stray", "--s", "--", "--scale=huge"});
  EXPECT_EQ(options.action, CommandLineAction::Run);
  EXPECT_EQ(options.musicVolume, 40);
  // "--s" is ambiguous (scale, save-settings); after "--" nothing is an option.
  EXPECT_EQ(options.unknownArguments, (std::vector<std::string>{"--bogus", "-x", "stray", "--s", "--scale=huge"}));
  EXPECT_FALSE(options.scaling);
}

TEST(CommandLine, HelpAndVersionEndTheReading) {
  EXPECT_EQ(Parse({"--help", "--scale=huge"}).action, CommandLineAction::ShowHelp);
  EXPECT_EQ(Parse({"-h"}).action, CommandLineAction::ShowHelp);
  EXPECT_EQ(Parse({"--bogus", "--version"}).action, CommandLineAction::ShowVersion);
  EXPECT_EQ(Parse({"--scale=huge", "--help"}).action, CommandLineAction::Refuse);
  EXPECT_EQ(VersionText().rfind("tavo2000 ", 0), 0u);
}

// The lines after the options: the settings file and the data search as each system's folder rules give them.
TEST(CommandLine, HelpTellsTheFolderRulesItIsGiven) {
  const struct {
    platform::FolderRules rules;
    const char* folderLines;
  } cases[] = {
      {platform::FolderRules::Freedesktop,
       "Settings are read from $XDG_CONFIG_HOME/tavo2000/settings.ini (default\n"
       "~/.config/tavo2000/settings.ini), written only by --save-settings; options win over them.\n"
       "Without --data, when the working folder holds none of Backgrounds/, Sprites/, SoundFX/\n"
       "and Music/, the game's files are looked for, first match wins, in: $TAVO_DATA; the\n"
       "executable's folder; ../share/tavo2000 beside it; $XDG_DATA_HOME/tavo2000 (default\n"
       "~/.local/share/tavo2000); each DIR/tavo2000 of $XDG_DATA_DIRS (default\n"
       "/usr/local/share:/usr/share).\n"},
      {platform::FolderRules::Windows,
       "Settings are read from %APPDATA%\\Tavo2000\\settings.ini, written only by --save-settings;\n"
       "options win over them.\n"
       "Without --data, when the working folder holds none of Backgrounds\\, Sprites\\, SoundFX\\\n"
       "and Music\\, the game's files are looked for, first match wins, in: the program's folder;\n"
       "%TAVO_DATA%.\n"},
  };
  for (const auto& c : cases) {
    const std::string help = HelpText(c.rules);
    const size_t settings = help.find("\n\nSettings are read from ");
    ASSERT_NE(settings, std::string::npos) << help;
    EXPECT_EQ(help.substr(settings + 2), c.folderLines);
  }
}

TEST(CommandLine, ReadingTwiceGivesTheSameRecordAndLeavesArgvAlone) {
  const char* argv[] = {"tavo2000", "stray", "--scale=integer", "--bogus", nullptr};
  const CommandLineOptions first = ParseCommandLine(4, argv);
  const CommandLineOptions second = ParseCommandLine(4, argv);
  EXPECT_EQ(first.unknownArguments, second.unknownArguments);
  EXPECT_EQ(second.scaling, Scaling::Integer);
  EXPECT_STREQ(argv[1], "stray");
  EXPECT_STREQ(argv[2], "--scale=integer");
  EXPECT_EQ(ParseCommandLine(0, nullptr).action, CommandLineAction::Run);
}

}  // namespace
