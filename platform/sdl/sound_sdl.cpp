// The SDL audio output: one device, 48000 Hz stereo float with a period of at most 512 frames, whose callback
// runs the shared mixer. The sound service reaches it through SdlSoundBackend().
#include <SDL.h>

#include <cstdio>

#include "platform/internal/alsa_messages.h"
#include "platform/internal/backend_tables.h"
#include "platform/internal/sound_internal.h"

namespace platform {

namespace {

constexpr int kWantedRate = 48000;
constexpr Uint16 kWantedPeriodFrames = 512;

SDL_AudioDeviceID outputDevice = 0;
uint32_t outputRate = 0;

void AudioCallback(void* /*user*/, Uint8* stream, int byteCount) {
  const uint32_t frames = static_cast<uint32_t>(byteCount) / (2 * sizeof(float));
  RenderMix(reinterpret_cast<float*>(stream), frames, outputRate);
}

int32_t OpenSoundOutput() {
  if (outputDevice != 0) return kSoundOk;
  SilenceAlsaMessages();  // a machine without a sound card then shows only our SOUND: line
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    std::fprintf(stderr, "SOUND: no audio output (%s)\n", SDL_GetError());
    return kSoundErrNoDevice;
  }
  SDL_AudioSpec wanted{};
  wanted.freq = kWantedRate;
  wanted.format = AUDIO_F32SYS;
  wanted.channels = 2;
  wanted.samples = kWantedPeriodFrames;
  wanted.callback = AudioCallback;
  SDL_AudioSpec obtained{};
  // The format and channel count stay ours (SDL converts); the rate may follow the hardware.
  outputDevice = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
  if (outputDevice == 0) {
    std::fprintf(stderr, "SOUND: no audio device (%s)\n", SDL_GetError());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return kSoundErrNoDevice;
  }
  outputRate = static_cast<uint32_t>(obtained.freq);
  SDL_PauseAudioDevice(outputDevice, 0);
  return kSoundOk;
}

void CloseSoundOutput() {
  if (outputDevice == 0) return;
  SDL_CloseAudioDevice(outputDevice);
  outputDevice = 0;
  outputRate = 0;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

uint32_t OutputRate() { return outputRate; }

}  // namespace

const SoundBackend& SdlSoundBackend() {
  static const SoundBackend table{.openOutput = OpenSoundOutput,
                                  .closeOutput = CloseSoundOutput,
                                  .outputRate = OutputRate,
                                  .rendersOnRequest = false};
  return table;
}

}  // namespace platform
