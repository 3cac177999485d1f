// Reading and saving the settings file through the platform's file calls, with the player told of
// every trouble in one SETTINGS: line. The file is small; anything over 64 KiB is not a settings file.
#include "app/launcher/settings_file.h"

#include <cstdio>

#include "platform/file_system.h"

namespace {

constexpr size_t kMaxSettingsBytes = 64 * 1024;

}  // namespace

PlayerSettings LoadSettingsFile(const std::string& path) {
  if (path.empty()) return PlayerSettings{};
  std::string text, error;
  switch (platform::ReadSmallFile(path, kMaxSettingsBytes, &text, &error)) {
    case platform::FileRead::Missing:
      return PlayerSettings{};
    case platform::FileRead::TooLarge:
      std::fprintf(stderr, "SETTINGS: %s: larger than %zu bytes, not read; defaults used\n", path.c_str(),
                   kMaxSettingsBytes);
      return PlayerSettings{};
    case platform::FileRead::Failed:
      std::fprintf(stderr, "SETTINGS: %s: cannot be read (%s); defaults used\n", path.c_str(), error.c_str());
      return PlayerSettings{};
    case platform::FileRead::Read:
      break;
  }
  SettingsProblems problems;
  const PlayerSettings settings = ReadSettingsText(text, &problems);
  if (problems.count > 0) {
    std::fprintf(stderr, "SETTINGS: %s line %d: %s (%d line%s not understood); defaults used for them\n", path.c_str(),
                 problems.firstLine, problems.firstReason.c_str(), problems.count, problems.count == 1 ? "" : "s");
  }
  return settings;
}

bool SaveSettingsFile(const std::string& path, const PlayerSettings& settings) {
  std::string error = "no $XDG_CONFIG_HOME or $HOME to keep it in";
  if (!path.empty() && platform::WriteFileAtomically(path, SettingsText(settings), &error)) return true;
  std::fprintf(stderr, "SETTINGS: cannot save %s: %s; the game starts without saving\n",
               path.empty() ? "the settings" : path.c_str(), error.c_str());
  return false;
}
