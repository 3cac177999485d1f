// The MIDI renderer on FluidSynth: one synthesiser with the General MIDI SoundFont and one MIDI player whose
// clock is the rendered samples, so that a song advances exactly as fast as it is heard.
#include <fluidsynth.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/internal/music_renderer.h"
#include "platform/music.h"

namespace platform {

struct MusicRenderer {
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  fluid_player_t* player = nullptr;  // the song being played, or null
  bool renderedSinceStart = false;   // the player has had a rendering pass since the song started
};

namespace {

void LogMusicError(int /*level*/, const char* message, void* /*data*/) { std::fprintf(stderr, "MUSIC: %s\n", message); }

void QuietLibraryLog() {
  fluid_set_log_function(FLUID_PANIC, LogMusicError, nullptr);
  fluid_set_log_function(FLUID_ERR, LogMusicError, nullptr);
  fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
  fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
  fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
}

}  // namespace

MusicRenderer* CreateMusicRenderer(uint32_t rate) {
  const std::string soundFont = FindSoundFontPath();
  if (soundFont.empty()) {
    std::fprintf(stderr, "MUSIC: no General MIDI SoundFont found; install timgm6mb-soundfont\n");
    return nullptr;
  }
  QuietLibraryLog();
  auto* renderer = new MusicRenderer;
  renderer->settings = new_fluid_settings();
  fluid_settings_setnum(renderer->settings, "synth.sample-rate", rate);
  fluid_settings_setstr(renderer->settings, "player.timing-source", "sample");
  // No reverb or chorus: their tails would keep sounding after a stop, which must be silent at once.
  fluid_settings_setint(renderer->settings, "synth.reverb.active", 0);
  fluid_settings_setint(renderer->settings, "synth.chorus.active", 0);
  // The synthesiser's own default gain leaves a song about 13 dB under the effects; 0.5 brings it close.
  fluid_settings_setnum(renderer->settings, "synth.gain", 0.5);
  renderer->synth = new_fluid_synth(renderer->settings);
  if (!renderer->synth || fluid_synth_sfload(renderer->synth, soundFont.c_str(), 1) == FLUID_FAILED) {
    std::fprintf(stderr, "MUSIC: cannot load the SoundFont %s; install timgm6mb-soundfont\n", soundFont.c_str());
    DestroyMusicRenderer(renderer);
    return nullptr;
  }
  return renderer;
}

void DestroyMusicRenderer(MusicRenderer* renderer) {
  if (!renderer) return;
  StopMusicSong(renderer);
  if (renderer->synth) delete_fluid_synth(renderer->synth);
  if (renderer->settings) delete_fluid_settings(renderer->settings);
  delete renderer;
}

// The player reads the file when it starts it: nothing to ready beforehand.
void PrepareMusicSong(MusicRenderer* /*renderer*/, const std::vector<uint8_t>& /*midiFile*/) {}

int32_t StartMusicSong(MusicRenderer* renderer, const std::vector<uint8_t>& midiFile) {
  StopMusicSong(renderer);
  fluid_player_t* player = new_fluid_player(renderer->synth);
  if (!player) return kMusicErrNotInitialised;
  if (fluid_player_add_mem(player, midiFile.data(), midiFile.size()) != FLUID_OK ||
      fluid_player_play(player) != FLUID_OK) {
    delete_fluid_player(player);
    return kMusicErrBadFile;
  }
  renderer->player = player;
  renderer->renderedSinceStart = false;
  return kMusicOk;
}

void StopMusicSong(MusicRenderer* renderer) {
  if (renderer->player) {
    fluid_player_stop(renderer->player);
    delete_fluid_player(renderer->player);
    renderer->player = nullptr;
  }
  if (renderer->synth) fluid_synth_all_sounds_off(renderer->synth, -1);
}

bool MusicSongPlaying(MusicRenderer* renderer) {
  // The player keeps reporting "playing" after its last event, so the end is also read from its ticks.
  // Until the first rendering after a start the player has not read the file, and its length reads 0.
  fluid_player_t* player = renderer->player;
  return player && fluid_player_get_status(player) == FLUID_PLAYER_PLAYING &&
         (!renderer->renderedSinceStart ||
          fluid_player_get_current_tick(player) < fluid_player_get_total_ticks(player));
}

void RenderMusicSong(MusicRenderer* renderer, float* out, uint32_t frames) {
  constexpr uint32_t kChunk = 256;
  float scratch[2 * kChunk];
  while (frames > 0) {
    const uint32_t count = std::min(frames, kChunk);
    fluid_synth_write_float(renderer->synth, static_cast<int>(count), scratch, 0, 2, scratch, 1, 2);
    for (uint32_t i = 0; i < 2 * count; ++i) out[i] += scratch[i];
    out += 2 * count;
    frames -= count;
  }
  renderer->renderedSinceStart = true;
}

}  // namespace platform
