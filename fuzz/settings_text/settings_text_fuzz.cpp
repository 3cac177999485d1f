// Feeds arbitrary text to the settings reader: every text gives settings within their limits, each unusable
// line is counted with the first one named, and the settings written back as text read as the same settings.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/launcher/option_values.h"
#include "app/launcher/player_settings.h"

namespace {

bool WithinLimits(const PlayerSettings& s) {
  const platform::DisplayChoices& d = s.display;
  return d.windowWidth >= kMinWindowWidth && d.windowWidth <= kMaxWindowSide && d.windowHeight >= kMinWindowHeight &&
         d.windowHeight <= kMaxWindowSide && s.musicVolume >= 0 && s.musicVolume <= kMaxVolume &&
         s.effectsVolume >= 0 && s.effectsVolume <= kMaxVolume;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  SettingsProblems problems;
  const PlayerSettings settings = ReadSettingsText(text, &problems);
  if (!WithinLimits(settings) || problems.count < 0) std::abort();
  const int64_t lines = std::count(text.begin(), text.end(), '\n') + 1;
  if (problems.count > 0 && (problems.firstLine < 1 || problems.firstLine > lines || problems.firstReason.empty()))
    std::abort();
  SettingsProblems again;
  if (!(ReadSettingsText(SettingsText(settings), &again) == settings) || again.count != 0) std::abort();
  return 0;
}
