// Feeds arbitrary argument lists (the input split at NUL bytes) to the command-line reader: every list is read,
// a refusal says why, the values it keeps lie within their limits, and a second reading of the same list gives
// the same result (the option reader's own state starts afresh each time).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/launcher/command_line.h"
#include "app/launcher/player_settings.h"

namespace {

bool SameOptions(const CommandLineOptions& a, const CommandLineOptions& b) {
  auto sameSize = [](const std::optional<WindowSize>& x, const std::optional<WindowSize>& y) {
    return x.has_value() == y.has_value() && (!x || (x->width == y->width && x->height == y->height));
  };
  return a.action == b.action && a.refusal == b.refusal && a.unknownArguments == b.unknownArguments &&
         a.fullScreen == b.fullScreen && sameSize(a.windowSize, b.windowSize) && a.scaling == b.scaling &&
         a.musicVolume == b.musicVolume && a.effectsVolume == b.effectsVolume && a.dataFolder == b.dataFolder &&
         a.recordPath == b.recordPath && a.playPath == b.playPath && a.saveSettings == b.saveSettings;
}

bool VolumeInRange(const std::optional<int32_t>& volume) { return !volume || (*volume >= 0 && *volume <= kMaxVolume); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> words = {"tavo2000"};
  std::string word;
  for (size_t i = 0; i < size && words.size() < 64; ++i) {
    if (data[i] != 0) {
      word += static_cast<char>(data[i]);
      continue;
    }
    words.push_back(word);
    word.clear();
  }
  if (!word.empty()) words.push_back(word);
  std::vector<const char*> argv;
  for (const std::string& w : words) argv.push_back(w.c_str());
  argv.push_back(nullptr);

  const CommandLineOptions options = ParseCommandLine(static_cast<int>(words.size()), argv.data());
  if (!SameOptions(options, ParseCommandLine(static_cast<int>(words.size()), argv.data()))) std::abort();
  if (options.action == CommandLineAction::Refuse && options.refusal.empty()) std::abort();
  if (!VolumeInRange(options.musicVolume) || !VolumeInRange(options.effectsVolume)) std::abort();
  if (const std::optional<WindowSize>& size = options.windowSize;
      size && (size->width < kMinWindowWidth || size->height < kMinWindowHeight || size->width > kMaxWindowSide ||
               size->height > kMaxWindowSide))
    std::abort();
  const PlayerSettings settings = WithCommandLine(PlayerSettings{}, options);
  if (settings.musicVolume < 0 || settings.musicVolume > kMaxVolume) std::abort();
  return 0;
}
