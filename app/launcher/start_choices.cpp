// The steps before the window, in order: answer --help/--version/refusals, name the ignored arguments, find
// the game's files (changing the working folder), read or save the settings, hand them to the platform.
#include "app/launcher/start_choices.h"

#include <cstdio>
#include <string>

#include "app/launcher/data_search.h"
#include "app/launcher/player_settings.h"
#include "app/launcher/settings_file.h"
#include "platform/display_choices.h"
#include "platform/master_volume.h"
#include "platform/pads.h"
#include "platform/process_environment.h"

namespace {

constexpr int kRefusedExitCode = 2;

std::string FolderList(const std::vector<std::string>& folders) {
  std::string list;
  for (const std::string& folder : folders) list += (list.empty() ? "" : ", ") + folder;
  return list;
}

// Finds the game's files and moves into their folder; false when --data named a folder without them.
bool EnterDataFolder(const CommandLineOptions& options) {
  const DataSearchResult search = SearchForGameFiles(options.dataFolder, PlacesFromEnvironment());
  switch (search.outcome) {
    case DataSearchResult::Outcome::WorkingFolder:
      return true;
    case DataSearchResult::Outcome::DataFolderWithoutFiles:
      std::fprintf(
          stderr, "%s\n",
          UsageLine("--data='" + search.folder + "': holds none of Backgrounds/, Sprites/, SoundFX/ and Music/")
              .c_str());
      return false;
    case DataSearchResult::Outcome::NoneFound:
      std::fprintf(stderr, "tavo2000: the game's files were not found in: %s\n", FolderList(search.tried).c_str());
      return true;
    case DataSearchResult::Outcome::Found:
      if (!platform::ChangeWorkingFolder(search.folder)) {
        if (options.dataFolder) {
          std::fprintf(stderr, "%s\n", UsageLine("--data='" + search.folder + "': cannot be entered").c_str());
          return false;
        }
        std::fprintf(stderr, "tavo2000: cannot enter %s, where the game's files are\n", search.folder.c_str());
      }
      return true;
  }
  return true;
}

void HandToPlatform(const PlayerSettings& settings) {
  platform::SetDisplayChoices(settings.display);
  platform::SetMasterVolumes(settings.musicVolume, settings.effectsVolume);
  platform::SetRumbleEnabled(settings.rumble);
}

}  // namespace

std::optional<int> PrepareStart(CommandLineOptions& options) {
  switch (options.action) {
    case CommandLineAction::ShowHelp:
      std::fputs(HelpText(platform::SystemFolderRules()).c_str(), stdout);
      return 0;
    case CommandLineAction::ShowVersion:
      std::printf("%s\n", VersionText().c_str());
      return 0;
    case CommandLineAction::Refuse:
      std::fprintf(stderr, "%s\n", UsageLine(options.refusal).c_str());
      return kRefusedExitCode;
    case CommandLineAction::Run:
      break;
  }
  for (const std::string& unknown : options.unknownArguments)
    std::fprintf(stderr, "tavo2000: ignoring unknown argument '%s'\n", unknown.c_str());
  for (std::optional<std::string>* path : {&options.recordPath, &options.playPath})
    if (*path) **path = platform::AbsolutePath(**path);
  if (!EnterDataFolder(options)) return kRefusedExitCode;

  const std::string settingsPath = SettingsFilePath(platform::SystemFolderRules(), platform::ProcessEnvironment());
  PlayerSettings settings;
  if (options.saveSettings) {
    settings = WithCommandLine(PlayerSettings{}, options);
    SaveSettingsFile(settingsPath, settings);
  } else {
    settings = WithCommandLine(LoadSettingsFile(settingsPath), options);
  }
  HandToPlatform(settings);
  return std::nullopt;
}
