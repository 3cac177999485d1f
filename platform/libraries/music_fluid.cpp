// The music performance on FluidSynth: one synthesiser with the General MIDI SoundFont and one MIDI player,
// rendered by the sound device's mixer (the SDL callback or headless rendering) through the music hook.
#include <fluidsynth.h>

#include <algorithm>
#include <cstdio>

#include "platform/internal/backend_tables.h"
#include "platform/internal/music_internal.h"
#include "platform/internal/sound_internal.h"

namespace platform {

struct MusicPerformanceObject {
  uint32_t refCount = 1;
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  fluid_player_t* player = nullptr;   // the song being played, or null
  MusicSegment* playingSegment = nullptr;
  uint32_t rate = 0;
  uint64_t starts = 0;
  bool renderedSinceStart = false;  // the player has had a rendering pass since the song started
};

namespace {

// Both guarded by MusicMutex.
MusicPerformanceObject* connectedPerformance = nullptr;
std::vector<MusicPerformanceObject*> livePerformances;

void LogMusicError(int /*level*/, const char* message, void* /*data*/) {
  std::fprintf(stderr, "MUSIC: %s\n", message);
}

void QuietLibraryLog() {
  fluid_set_log_function(FLUID_PANIC, LogMusicError, nullptr);
  fluid_set_log_function(FLUID_ERR, LogMusicError, nullptr);
  fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
  fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
  fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
}

// Adds the synthesiser's output to the mix; runs on the audio thread (or in headless rendering).
void RenderMusic(float* out, uint32_t frames, uint32_t rate) {
  std::lock_guard<std::mutex> guard(MusicMutex());
  MusicPerformanceObject* performance = connectedPerformance;
  if (!performance || !performance->synth || rate != performance->rate) return;
  constexpr uint32_t kChunk = 256;
  float scratch[2 * kChunk];
  while (frames > 0) {
    const uint32_t count = std::min(frames, kChunk);
    fluid_synth_write_float(performance->synth, static_cast<int>(count), scratch, 0, 2, scratch, 1, 2);
    for (uint32_t i = 0; i < 2 * count; ++i) out[i] += scratch[i];
    out += 2 * count;
    frames -= count;
  }
  performance->renderedSinceStart = true;
}

// Ends the current song at once and cuts every sounding note. MusicMutex must be held.
void StopPlayerLocked(MusicPerformanceObject* performance) {
  if (performance->player) {
    fluid_player_stop(performance->player);
    delete_fluid_player(performance->player);
    performance->player = nullptr;
  }
  performance->playingSegment = nullptr;
  if (performance->synth) fluid_synth_all_sounds_off(performance->synth, -1);
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
  if (!performance || !device || performance->synth) return kMusicErrInvalidArg;
  const std::string soundFont = FindSoundFontPath();
  if (soundFont.empty()) {
    std::fprintf(stderr, "MUSIC: no General MIDI SoundFont found; install timgm6mb-soundfont\n");
    return kMusicErrNoSoundFont;
  }
  QuietLibraryLog();
  const uint32_t outputRate = ChosenBackend().sound->outputRate();
  performance->rate = outputRate != 0 ? outputRate : kHeadlessMusicRate;
  performance->settings = new_fluid_settings();
  fluid_settings_setnum(performance->settings, "synth.sample-rate", performance->rate);
  // The player's clock is the rendered samples, so a song advances exactly as fast as it is heard.
  fluid_settings_setstr(performance->settings, "player.timing-source", "sample");
  // No reverb or chorus: their tails would keep sounding after a stop, which must be silent at once.
  fluid_settings_setint(performance->settings, "synth.reverb.active", 0);
  fluid_settings_setint(performance->settings, "synth.chorus.active", 0);
  // The synthesiser's own default gain leaves a song about 13 dB under the effects; 0.5 brings it close.
  fluid_settings_setnum(performance->settings, "synth.gain", 0.5);
  performance->synth = new_fluid_synth(performance->settings);
  if (!performance->synth || fluid_synth_sfload(performance->synth, soundFont.c_str(), 1) == FLUID_FAILED) {
    std::fprintf(stderr, "MUSIC: cannot load the SoundFont %s; install timgm6mb-soundfont\n", soundFont.c_str());
    if (performance->synth) delete_fluid_synth(performance->synth);
    delete_fluid_settings(performance->settings);
    performance->synth = nullptr;
    performance->settings = nullptr;
    return kMusicErrNoSoundFont;
  }
  return kMusicOk;
}

int32_t AddMusicPort(MusicPerformanceObject* performance) {
  if (!performance || !performance->synth) return kMusicErrNotInitialised;
  std::lock_guard<std::mutex> guard(MusicMutex());
  connectedPerformance = performance;
  SetMusicMixHook(RenderMusic);
  return kMusicOk;
}

int32_t PlayMusicSegment(MusicPerformanceObject* performance, MusicSegment* segment, MusicSegmentState** state) {
  if (state) *state = nullptr;
  if (!performance || !segment) return kMusicErrInvalidArg;
  std::lock_guard<std::mutex> guard(MusicMutex());
  if (!performance->synth) return kMusicErrNotInitialised;
  if (segment->downloadedTo != performance) return kMusicErrInvalidArg;
  StopPlayerLocked(performance);
  fluid_player_t* player = new_fluid_player(performance->synth);
  if (!player) return kMusicErrNotInitialised;
  if (fluid_player_add_mem(player, segment->bytes.data(), segment->bytes.size()) != FLUID_OK ||
      fluid_player_play(player) != FLUID_OK) {
    delete_fluid_player(player);
    return kMusicErrBadFile;
  }
  performance->player = player;
  performance->playingSegment = segment;
  performance->renderedSinceStart = false;
  ++performance->starts;
  if (state) *state = new MusicSegmentState{performance->starts};
  return kMusicOk;
}

int32_t StopMusicSegment(MusicPerformanceObject* performance, MusicSegment* segment) {
  if (!performance) return kMusicErrInvalidArg;
  std::lock_guard<std::mutex> guard(MusicMutex());
  if (!segment || segment == performance->playingSegment) StopPlayerLocked(performance);
  return kMusicOk;
}

int32_t IsMusicSegmentPlaying(MusicPerformanceObject* performance, MusicSegment* segment) {
  if (!performance || !segment) return kMusicErrInvalidArg;
  std::lock_guard<std::mutex> guard(MusicMutex());
  // The player keeps reporting "playing" after its last event, so the end is also read from its ticks.
  fluid_player_t* player = performance->player;
  // Until the first rendering after a start the player has not read the file, and its length reads 0.
  const bool playing = player && performance->playingSegment == segment &&
                       fluid_player_get_status(player) == FLUID_PLAYER_PLAYING &&
                       (!performance->renderedSinceStart ||
                        fluid_player_get_current_tick(player) < fluid_player_get_total_ticks(player));
  return playing ? kMusicOk : kMusicFalse;
}

int32_t CloseMusicPerformance(MusicPerformanceObject* performance) {
  if (!performance) return kMusicErrInvalidArg;
  std::lock_guard<std::mutex> guard(MusicMutex());
  StopPlayerLocked(performance);
  if (connectedPerformance == performance) {
    connectedPerformance = nullptr;
    SetMusicMixHook(nullptr);
  }
  if (performance->synth) delete_fluid_synth(performance->synth);
  if (performance->settings) delete_fluid_settings(performance->settings);
  performance->synth = nullptr;
  performance->settings = nullptr;
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
