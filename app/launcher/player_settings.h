// The display and sound choices a player can keep: their record, the settings file's text (read and
// written), where the file lives, and how one run's command line is laid over them.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/launcher/command_line.h"
#include "platform/base_folders.h"
#include "platform/display_choices.h"

// The display choices are the platform's own record, handed over as they are.
struct PlayerSettings {
  platform::DisplayChoices display;
  int32_t musicVolume = 100;    // 0..100
  int32_t effectsVolume = 100;  // 0..100
  bool rumble = true;           // gamepads rumble on hits and misses
};

bool operator==(const PlayerSettings& a, const PlayerSettings& b);

// The lines a settings text could not use: the first one's number and why, and how many there were.
struct SettingsProblems {
  int32_t count = 0;
  int32_t firstLine = 0;
  std::string firstReason;
};

// Reads "key=value" lines (fullscreen, window, scale, music, effects, rumble); blank lines and lines starting with
// '#' or ';' are skipped, spaces around keys and values and a CR before the line end are allowed, a later
// line wins over an earlier one. Whatever cannot be used keeps its default and is counted in *problems.
PlayerSettings ReadSettingsText(std::string_view text, SettingsProblems* problems);
// The text ReadSettingsText reads back as the same settings.
std::string SettingsText(const PlayerSettings& settings);

// $XDG_CONFIG_HOME/tavo2000/settings.ini, or ~/.config/tavo2000/settings.ini when that is unset, empty or
// relative; on Windows %APPDATA%\Tavo2000\settings.ini. Empty when the environment gives no absolute folder.
std::string SettingsFilePath(platform::FolderRules rules, const platform::EnvironmentLookup& environment);

// The settings with every display and sound choice the command line made put over them.
PlayerSettings WithCommandLine(PlayerSettings settings, const CommandLineOptions& options);
