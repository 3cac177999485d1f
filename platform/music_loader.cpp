// The music loader and its segments: standard MIDI files read whole by name from the search folder and
// checked, their parameters, and where the General MIDI SoundFont lives. No FluidSynth here.
#include <string>

#include "platform/base_folders.h"
#include "platform/file_system.h"
#include "platform/internal/music_internal.h"
#include "platform/os/operating_system.h"
#include "platform/process_environment.h"

namespace platform {

struct MusicLoaderObject {
  std::string searchFolder;
  uint32_t refCount = 1;
};

namespace {

// Reads the whole file when it is a regular file no larger than kMaxMidiFileBytes.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes) {
  if (!os::IsFile(path)) return false;
  std::string contents, ignored;
  if (ReadSmallFile(path, kMaxMidiFileBytes, &contents, &ignored) != FileRead::Read) return false;
  bytes->assign(contents.begin(), contents.end());
  return true;
}

// The player reads only 6-byte headers: a longer one (valid, its extra bytes meaningless to us) is cut to 6.
void ShortenLongHeader(std::vector<uint8_t>* bytes) {
  const uint32_t headerLength =
      (static_cast<uint32_t>((*bytes)[4]) << 24) | ((*bytes)[5] << 16) | ((*bytes)[6] << 8) | (*bytes)[7];
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
  if (!IsFolder(folder)) return kMusicErrNotFound;
  loader->searchFolder = folder;
  return kMusicOk;
}

int32_t LoadMusicSegment(MusicLoaderObject* loader, const char* fileName, MusicSegment** out) {
  if (!out) return kMusicErrInvalidArg;
  *out = nullptr;
  if (!loader || !fileName || !*fileName) return kMusicErrInvalidArg;
  std::string path = fileName;
  if (!os::IsAbsolutePath(path) && !loader->searchFolder.empty())
    path = JoinPath(os::SystemFolderRules(), loader->searchFolder, path);
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
  if (const std::optional<std::string> chosen = EnvironmentVariable("TAVO_SOUNDFONT"))
    return os::IsFile(*chosen) ? *chosen : std::string();
  const char* candidates[] = {"/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
                              "/usr/share/sounds/sf2/default-GM.sf2"};
  for (const char* candidate : candidates)
    if (os::IsFile(candidate)) return candidate;
  return std::string();
}

}  // namespace platform
