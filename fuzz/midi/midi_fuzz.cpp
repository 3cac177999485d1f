// Feeds arbitrary bytes to the standard MIDI file check, then every accepted input through the song table:
// loaded, played for a short bounded render on the headless backend, stopped and deleted.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "platform/backend.h"
#include "platform/music.h"
#include "platform/sound.h"
#include "platform/headless/headless.h"

namespace {

const std::string& InputPath() {
  // Memory-backed /dev/shm when the machine has it: a file per input costs little there.
  static const std::string folder = std::filesystem::is_directory("/dev/shm") ? "/dev/shm/" : "/tmp/";
  static const std::string path = folder + "tavo_fuzz_midi_" + std::to_string(getpid()) + ".mid";
  return path;
}

// The headless sound device and the song table; without them (no SoundFont) there is nothing to fuzz.
bool StartMusic() {
  platform::SelectBackend(platform::Backend::Headless);
  InputPath();  // built before the exit handler is registered, so it outlives the handler
  std::atexit([] { std::remove(InputPath().c_str()); });
  if (InitSound() != 1 || InitMusic() != 1) {
    std::fprintf(stderr, "fuzz_midi: no sound device or song table; install timgm6mb-soundfont\n");
    std::abort();
  }
  return true;
}

// A quarter of a second of song, rendered in blocks of 512 frames: long enough for the player to read the
// whole file and start its first notes, short enough that no input runs long.
void RenderShortly() {
  constexpr uint32_t kBlock = 512;
  constexpr uint32_t kFrames = platform::kHeadlessMusicRate / 4;
  static float mix[2 * kBlock];
  for (uint32_t done = 0; done < kFrames; done += kBlock)
    platform::RenderHeadlessAudio(mix, kBlock, platform::kHeadlessMusicRate);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  [[maybe_unused]] static const bool started = StartMusic();
  if (!platform::IsStandardMidiFile(data, size)) return 0;
  std::FILE* file = std::fopen(InputPath().c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  // The check accepted these bytes, so the table must load the same file.
  const int32_t id = LoadMidi(InputPath().c_str());
  if (id < 0) __builtin_trap();
  PlayMidi(id);
  RenderShortly();
  GetMidiStatus(id);
  StopMidi(id);
  DeleteMidi(id);
  return 0;
}
