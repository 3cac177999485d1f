// Feeds arbitrary bytes to the standard MIDI file check, and every accepted input through the loader
// (which reads the file whole and shortens long headers). Neither may read outside the input.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/music.h"

namespace {

const std::string& InputPath() {
  // Memory-backed /dev/shm when the machine has it: a file per input costs little there.
  static const std::string folder = std::filesystem::is_directory("/dev/shm") ? "/dev/shm/" : "/tmp/";
  static const std::string path = folder + "tavo_fuzz_midi_" + std::to_string(getpid()) + ".mid";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static platform::MusicLoaderObject* loader = [] {
    platform::MusicLoaderObject* created = nullptr;
    platform::CreateMusicLoader(&created);
    InputPath();  // built before the exit handler is registered, so it outlives the handler
    std::atexit([] { std::remove(InputPath().c_str()); });
    return created;
  }();
  if (!platform::IsStandardMidiFile(data, size)) return 0;
  std::FILE* file = std::fopen(InputPath().c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  platform::MusicSegment* segment = nullptr;
  // The check accepted these bytes, so the loader must accept the same file.
  if (platform::LoadMusicSegment(loader, InputPath().c_str(), &segment) != platform::kMusicOk) __builtin_trap();
  platform::ReleaseMusicSegment(segment);
  return 0;
}
