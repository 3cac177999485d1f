// The music loader and its segments: standard MIDI files read whole by name from the search folder and
// checked, their parameters, and where the General MIDI SoundFont lives. No FluidSynth here.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/music_internal.h"

namespace platform {

struct MusicLoaderObject {
  std::string searchFolder;
  uint32_t refCount = 1;
};

namespace {

// Reads the whole file when it is a regular file no larger than kMaxMidiFileBytes.
bool ReadWholeFile(const std::filesystem::path& path, std::vector<uint8_t>* bytes) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  const auto length = std::filesystem::file_size(path, error);
  if (error || length > kMaxMidiFileBytes) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  bytes->resize(static_cast<size_t>(length));
  const size_t got = length > 0 ? std::fread(bytes->data(), 1, bytes->size(), file) : 0;
  std::fclose(file);
  return got == bytes->size();
}

// The player reads only 6-byte headers: a longer one (valid, its extra bytes meaningless to us) is cut to 6.
void ShortenLongHeader(std::vector<uint8_t>* bytes) {
  const uint32_t headerLength = (static_cast<uint32_t>((*bytes)[4]) << 24) | ((*bytes)[5] << 16) |
                                ((*bytes)[6] << 8) | (*bytes)[7];
  if (headerLength <= 6) return;
  bytes->erase(bytes->begin() + 14, bytes->begin() + 8 + static_cast<std::ptrdiff_t>(headerLength));
  (*bytes)[4] = (*bytes)[5] = (*bytes)[6] = 0;
  (*bytes)[7] = 6;
}

}  // namespace

std::mutex& MusicMutex() {
  static std::mutex mutex;
  return mutex;
}

int32_t CreateMusicLoader(MusicLoaderObject** out) {
  if (!out) return kMusicErrInvalidArg;
  *out = new MusicLoaderObject;
  return kMusicOk;
}

int32_t SetMusicSearchDirectory(MusicLoaderObject* loader, const char* folder) {
  if (!loader || !folder) return kMusicErrInvalidArg;
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) return kMusicErrNotFound;
  loader->searchFolder = folder;
  return kMusicOk;
}

int32_t LoadMusicSegment(MusicLoaderObject* loader, const char* fileName, MusicSegment** out) {
  if (!out) return kMusicErrInvalidArg;
  *out = nullptr;
  if (!loader || !fileName || !*fileName) return kMusicErrInvalidArg;
  std::filesystem::path path(fileName);
  if (path.is_relative() && !loader->searchFolder.empty()) path = std::filesystem::path(loader->searchFolder) / path;
  auto* segment = new MusicSegment;
  if (!ReadWholeFile(path, &segment->bytes)) {
    delete segment;
    return kMusicErrNotFound;
  }
  if (!IsStandardMidiFile(segment->bytes.data(), segment->bytes.size())) {
    delete segment;
    return kMusicErrBadFile;
  }
  ShortenLongHeader(&segment->bytes);
  *out = segment;
  return kMusicOk;
}

uint32_t ReleaseMusicLoader(MusicLoaderObject* loader) {
  if (!loader) return 0;
  if (--loader->refCount > 0) return loader->refCount;
  delete loader;
  return 0;
}

int32_t SetMusicSegmentParam(MusicSegment* segment, SegmentParam param, MusicPerformanceObject* performance) {
  if (!segment) return kMusicErrInvalidArg;
  std::lock_guard<std::mutex> guard(MusicMutex());
  switch (param) {
    case SegmentParam::StandardMidiFile:
      segment->isStandardMidiFile = true;
      return kMusicOk;
    case SegmentParam::Download:
      if (!performance) return kMusicErrInvalidArg;
      segment->downloadedTo = performance;
      return kMusicOk;
    case SegmentParam::Unload:
      if (segment->downloadedTo != performance) return kMusicErrInvalidArg;
      segment->downloadedTo = nullptr;
      return kMusicOk;
  }
  return kMusicErrInvalidArg;
}

uint32_t ReleaseMusicSegment(MusicSegment* segment) {
  if (!segment) return 0;
  std::lock_guard<std::mutex> guard(MusicMutex());
  if (--segment->refCount > 0) return segment->refCount;
  ForgetMusicSegment(segment);
  delete segment;
  return 0;
}

uint32_t ReleaseMusicSegmentState(MusicSegmentState* state) {
  delete state;
  return 0;
}

std::string FindSoundFontPath() {
  std::error_code error;
  if (const char* chosen = std::getenv("TAVO_SOUNDFONT"))
    return std::filesystem::is_regular_file(chosen, error) ? std::string(chosen) : std::string();
  const char* candidates[] = {"/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
                              "/usr/share/sounds/sf2/default-GM.sf2"};
  for (const char* candidate : candidates)
    if (std::filesystem::is_regular_file(candidate, error)) return candidate;
  return std::string();
}

}  // namespace platform
