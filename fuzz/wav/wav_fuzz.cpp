// Feeds arbitrary bytes to LoadWav through a file, then plays and mixes whatever loaded.
// The loader must refuse or load every input without reading or writing outside what it owns.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/sound_effects.h"
#include "platform/backend.h"
#include "platform/sound.h"
#include "platform/headless/headless.h"

namespace {

const std::string& InputPath() {
  // Memory-backed /dev/shm when the machine has it: a file per input costs little there.
  static const std::string folder = std::filesystem::is_directory("/dev/shm") ? "/dev/shm/" : "/tmp/";
  static const std::string path = folder + "tavo_fuzz_wav_" + std::to_string(getpid()) + ".wav";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = [] {
    platform::SelectBackend(platform::Backend::Headless);
    InputPath();  // built before the exit handler is registered, so it outlives the handler
    std::atexit([] { std::remove(InputPath().c_str()); });
    return InitSound() == 1;
  }();
  if (!ready) return 0;
  std::FILE* file = std::fopen(InputPath().c_str(), "wb");
  if (!file) return 0;
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);

  const int32_t id = LoadWav(InputPath().c_str());
  if (id >= 0) {
    if (SoundTable[id].size <= 0 || SoundTable[id].buffer == nullptr) __builtin_trap();
    PlaySoundEffect(id, DSBPLAY_LOOPING, 0, 0, 0);
    std::vector<float> mix(2 * 256);
    platform::RenderHeadlessAudio(mix.data(), 256, 48000);
  }
  InitSound();  // empties the table for the next input
  return 0;
}
