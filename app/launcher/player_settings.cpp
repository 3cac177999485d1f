// The settings text and the laying of a command line over saved settings.
// The text is read line by line with the same value readers as the command line.
#include "app/launcher/player_settings.h"

#include <algorithm>

#include "app/launcher/option_values.h"
#include "platform/base_folders.h"

namespace {

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

// Applies one "key=value" line; the reason it could not, or empty.
std::string ApplySetting(std::string_view key, std::string_view value, PlayerSettings* settings) {
  if (key == "fullscreen") {
    const std::optional<bool> yes = ReadYesNo(value);
    if (!yes) return "fullscreen is not yes or no";
    settings->display.fullScreen = *yes;
  } else if (key == "window") {
    const std::optional<WindowSize> size = ReadWindowSize(value);
    if (!size) return "window is not WxH from 640x480 up to 16384x16384";
    settings->display.windowWidth = size->width;
    settings->display.windowHeight = size->height;
  } else if (key == "scale") {
    const std::optional<platform::PictureScaling> scaling = ReadScaling(value);
    if (!scaling) return "scale is not fit or integer";
    settings->display.scaling = *scaling;
  } else if (key == "music" || key == "effects") {
    const std::optional<int32_t> volume = ReadVolume(value);
    if (!volume) return std::string(key) + " is not a whole number from 0 to 100";
    (key == "music" ? settings->musicVolume : settings->effectsVolume) = *volume;
  } else if (key == "rumble") {
    const std::optional<bool> yes = ReadYesNo(value);
    if (!yes) return "rumble is not yes or no";
    settings->rumble = *yes;
  } else {
    return "unknown key";
  }
  return {};
}

}  // namespace

bool operator==(const PlayerSettings& a, const PlayerSettings& b) {
  const platform::DisplayChoices& x = a.display;
  const platform::DisplayChoices& y = b.display;
  return x.fullScreen == y.fullScreen && x.windowWidth == y.windowWidth && x.windowHeight == y.windowHeight &&
         x.scaling == y.scaling && a.musicVolume == b.musicVolume && a.effectsVolume == b.effectsVolume &&
         a.rumble == b.rumble;
}

PlayerSettings ReadSettingsText(std::string_view text, SettingsProblems* problems) {
  PlayerSettings settings;
  *problems = SettingsProblems{};
  int32_t lineNumber = 0;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view line = Trimmed(text.substr(start, end - start));
    start = end + 1;
    ++lineNumber;
    if (line.empty() || line[0] == '#' || line[0] == ';') continue;
    const size_t equals = line.find('=');
    const std::string reason =
        equals == std::string_view::npos
            ? "not a key=value line"
            : ApplySetting(Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1)), &settings);
    if (reason.empty()) continue;
    if (problems->count++ == 0) {
      problems->firstLine = lineNumber;
      problems->firstReason = reason;
    }
  }
  return settings;
}

std::string SettingsText(const PlayerSettings& settings) {
  return "# Tavo 2000 settings, written by tavo2000 --save-settings\n"
         "fullscreen=" +
         std::string(settings.display.fullScreen ? "yes" : "no") + "\n" +
         "window=" + WindowSizeText(settings.display.windowWidth, settings.display.windowHeight) + "\n" +
         "scale=" + ScalingText(settings.display.scaling) + "\n" + "music=" + std::to_string(settings.musicVolume) +
         "\n" + "effects=" + std::to_string(settings.effectsVolume) + "\n" +
         "rumble=" + (settings.rumble ? "yes" : "no") + "\n";
}

std::string SettingsFilePath(platform::FolderRules rules, const platform::EnvironmentLookup& environment) {
  const std::string folder = platform::GameSettingsFolder(rules, environment);
  return folder.empty() ? std::string() : platform::JoinPath(rules, folder, kSettingsFileName);
}

PlayerSettings WithCommandLine(PlayerSettings settings, const CommandLineOptions& options) {
  if (options.fullScreen) settings.display.fullScreen = *options.fullScreen;
  if (options.windowSize) {
    settings.display.windowWidth = options.windowSize->width;
    settings.display.windowHeight = options.windowSize->height;
  }
  if (options.scaling) settings.display.scaling = *options.scaling;
  if (options.musicVolume) settings.musicVolume = *options.musicVolume;
  if (options.effectsVolume) settings.effectsVolume = *options.effectsVolume;
  if (options.rumble) settings.rumble = *options.rumble;
  return settings;
}
