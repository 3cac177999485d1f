// The patch fuzz target's way into the Timidity renderer's reader: a config naming one patch file for program 0
// and drum note 35, the patch written there for each input, and a one-second song of both notes rendered.
#include "platform/tool_support/timidity_patch_reader.h"

#include <SDL.h>
#include <sdl2_timidity/timidity.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/os/operating_system.h"

namespace platform::timidity_reader {

namespace {

// Format 0, 96 ticks a quarter note at the default 120 beats a minute: program 0 and drum note 35 struck together
// and released after 192 ticks, one second.
constexpr uint8_t kSong[] = {
    'M',  'T',  'h',  'd',  0, 0, 0, 6,  0, 0, 0, 1, 0, 96,  // header
    'M',  'T',  'r',  'k',  0, 0, 0, 24,                     // the one track
    0x00, 0xC0, 0x00,                                        // program 0 on channel 1
    0x00, 0x90, 60,   100,                                   // middle C on
    0x00, 0x99, 35,   100,                                   // drum note 35 on channel 10
    0x81, 0x40, 0x80, 60,   0,                               // 192 ticks later: middle C off
    0x00, 0x89, 35,   0,                                     // the drum off
    0x00, 0xFF, 0x2F, 0x00,                                  // end of track
};
// A low output rate walks through the sample data, and so reaches its loop, in few rendered frames.
constexpr int kRenderRate = 8000;
constexpr int kRenderedFrames = kRenderRate * 5 / 4;

// The patch file and the config naming it, in memory-backed /dev/shm when the machine has it.
const std::string& PatchPath() {
  static const std::string path = (os::IsFolder("/dev/shm") ? std::string("/dev/shm/") : std::string("/tmp/")) +
                                  "tavo_fuzz_patch_" + std::to_string(os::ProcessNumber()) + ".pat";
  return path;
}
const std::string& ConfigPath() {
  static const std::string path = PatchPath() + ".cfg";
  return path;
}

void RemoveFiles() {
  os::RemoveFile(PatchPath());
  os::RemoveFile(ConfigPath());
}

bool ReadyRenderer() {
  const std::string config = "bank 0\n0 " + PatchPath() + "\ndrumset 0\n35 " + PatchPath() + "\n";
  std::string error;
  if (os::WriteWholeFile(ConfigPath(), config.data(), config.size(), false, false, &error) != os::FileWrite::Written ||
      Timidity_Init(ConfigPath().c_str()) != 0) {
    std::fprintf(stderr, "timidity_patch_reader: cannot ready the renderer with %s %s\n", ConfigPath().c_str(),
                 error.c_str());
    std::abort();
  }
  std::atexit(RemoveFiles);
  return true;
}

}  // namespace

bool ReadAndPlayPatch(const uint8_t* bytes, size_t size) {
  [[maybe_unused]] static const bool ready = ReadyRenderer();
  std::string error;
  if (os::WriteWholeFile(PatchPath(), bytes, size, false, false, &error) != os::FileWrite::Written) return false;
  SDL_RWops* song = SDL_RWFromConstMem(kSong, sizeof kSong);
  SDL_AudioSpec format{};
  format.freq = kRenderRate;
  format.format = AUDIO_S16SYS;
  format.channels = 2;
  format.samples = 256;
  MidiSong* loaded = Timidity_LoadSong(song, &format);
  SDL_RWclose(song);
  if (loaded == nullptr) return false;
  const bool read = loaded->tonebank[0]->instrument[0] != nullptr && loaded->drumset[0]->instrument[35] != nullptr;
  Timidity_Start(loaded);
  int16_t block[2 * 256];
  for (int frames = 0; frames < kRenderedFrames && Timidity_IsActive(loaded); frames += 256)
    Timidity_PlaySome(loaded, block, static_cast<Sint32>(sizeof block));
  Timidity_FreeSong(loaded);
  return read;
}

}  // namespace platform::timidity_reader
