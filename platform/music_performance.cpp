// The music performance: which song each performance plays, the one performance joined to the mix, and the
// hook through which the audio thread renders it. The synthesiser itself is the MIDI renderer's.
#include <algorithm>
#include <vector>

#include "platform/internal/music_internal.h"
#include "platform/internal/music_renderer.h"
#include "platform/internal/sound_internal.h"

namespace platform {

struct MusicPerformanceObject {
  uint32_t refCount = 1;
  MusicRenderer* renderer = nullptr;  // made by Open
  MusicSegment* playingSegment = nullptr;
  uint32_t rate = 0;
  uint64_t starts = 0;
};

namespace {

// Both guarded by MusicMutex.
MusicPerformanceObject* connectedPerformance = nullptr;
std::vector<MusicPerformanceObject*> livePerformances;

// Adds the performance's output to the mix; runs on the audio thread (or in headless rendering).
void RenderMusic(float* out, uint32_t frames, uint32_t rate) {
  std::lock_guard<std::mutex> guard(MusicMutex());
  MusicPerformanceObject* performance = connectedPerformance;
  if (!performance || !performance->renderer || rate != performance->rate) return;
  RenderMusicSong(performance->renderer, out, frames);
}

// Ends the current song at once and cuts every sounding note. MusicMutex must be held.
void StopPlayingLocked(MusicPerformanceObject* performance) {
  if (performance->renderer) StopMusicSong(performance->renderer);
  performance->playingSegment = nullptr;
}

}  // namespace

void ForgetMusicSegment(MusicSegment* segment) {
  for (MusicPerformanceObject* performance : livePerformances)
    if (performance->playingSegment == segment) performance->playingSegment = nullptr;
}

int32_t CreateMusicPerformance(MusicPerformanceObject** out) {
  if (!out) return kMusicErrInvalidArg;
  *out = new MusicPerformanceObject;
  std::lock_guard<std::mutex> guard(MusicMutex());
  livePerformances.push_back(*out);
  return kMusicOk;
}

int32_t OpenMusicPerformance(MusicPerformanceObject* performance, SoundDeviceObject* device) {
  if (!performance || !device || performance->renderer) return kMusicErrInvalidArg;
  // A headless mix is rendered at whatever rate its caller asks, so the music keeps a fixed rate of its own.
  const uint32_t rate = SoundRendersHeadless() ? kHeadlessMusicRate : SoundOutputRate();
  MusicRenderer* renderer = CreateMusicRenderer(rate);
  if (!renderer) return kMusicErrNoSoundFont;
  std::lock_guard<std::mutex> guard(MusicMutex());
  performance->rate = rate;
  performance->renderer = renderer;
  return kMusicOk;
}

int32_t AddMusicPort(MusicPerformanceObject* performance) {
  if (!performance || !performance->renderer) return kMusicErrNotInitialised;
  std::lock_guard<std::mutex> guard(MusicMutex());
  connectedPerformance = performance;
  SetMusicMixHook(RenderMusic);
  return kMusicOk;
}

int32_t PlayMusicSegment(MusicPerformanceObject* performance, MusicSegment* segment, MusicSegmentState** state) {
  if (state) *state = nullptr;
  if (!performance || !segment) return kMusicErrInvalidArg;
  // Only the game thread makes and removes the renderer, so it may be read before the lock.
  if (performance->renderer && segment->downloadedTo == performance)
    PrepareMusicSong(performance->renderer, segment->bytes);
  std::lock_guard<std::mutex> guard(MusicMutex());
  if (!performance->renderer) return kMusicErrNotInitialised;
  if (segment->downloadedTo != performance) return kMusicErrInvalidArg;
  StopPlayingLocked(performance);
  const int32_t started = StartMusicSong(performance->renderer, segment->bytes);
  if (started != kMusicOk) return started;
  performance->playingSegment = segment;
  ++performance->starts;
  if (state) *state = new MusicSegmentState{performance->starts};
  return kMusicOk;
}

int32_t StopMusicSegment(MusicPerformanceObject* performance, MusicSegment* segment) {
  if (!performance) return kMusicErrInvalidArg;
  std::lock_guard<std::mutex> guard(MusicMutex());
  if (!segment || segment == performance->playingSegment) StopPlayingLocked(performance);
  return kMusicOk;
}

int32_t IsMusicSegmentPlaying(MusicPerformanceObject* performance, MusicSegment* segment) {
  if (!performance || !segment) return kMusicErrInvalidArg;
  std::lock_guard<std::mutex> guard(MusicMutex());
  const bool playing =
      performance->renderer && performance->playingSegment == segment && MusicSongPlaying(performance->renderer);
  return playing ? kMusicOk : kMusicFalse;
}

int32_t CloseMusicPerformance(MusicPerformanceObject* performance) {
  if (!performance) return kMusicErrInvalidArg;
  std::lock_guard<std::mutex> guard(MusicMutex());
  StopPlayingLocked(performance);
  if (connectedPerformance == performance) {
    connectedPerformance = nullptr;
    SetMusicMixHook(nullptr);
  }
  DestroyMusicRenderer(performance->renderer);
  performance->renderer = nullptr;
  return kMusicOk;
}

uint32_t ReleaseMusicPerformance(MusicPerformanceObject* performance) {
  if (!performance) return 0;
  if (--performance->refCount > 0) return performance->refCount;
  CloseMusicPerformance(performance);
  {
    std::lock_guard<std::mutex> guard(MusicMutex());
    livePerformances.erase(std::remove(livePerformances.begin(), livePerformances.end(), performance),
                           livePerformances.end());
  }
  delete performance;
  return 0;
}

}  // namespace platform
