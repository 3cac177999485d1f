// Inside the platform's sound service: the buffer and device records, the lock that guards them against
// the audio thread, the mixer both backends share, and the hook through which music joins the mix.
#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/sound.h"

namespace platform {

struct SoundBuffer {
  std::shared_ptr<std::vector<uint8_t>> samples;  // shared by a buffer and its duplicates
  std::vector<uint8_t> staging;                   // what Lock hands out, committed by Unlock
  uint32_t lockedOffset = 0;
  uint32_t lockedBytes = 0;
  bool locked = false;
  uint32_t flags = 0;
  uint32_t refCount = 1;
  bool playing = false;
  bool looping = false;
  uint64_t position = 0;  // in samples, 32.32 fixed point
  uint32_t frequency = kSoundDefaultFrequency;
  int32_t volume = 0;
  int32_t pan = 0;
};

struct SoundDeviceObject {
  uint32_t refCount = 1;
};

// Guards every SoundBuffer field the mixer reads and the list of live buffers.
std::mutex& SoundMutex();

// Every live buffer, in creation order. Read and written only while SoundMutex is held.
std::vector<SoundBuffer*>& LiveSoundBuffers();

// Adds every playing buffer into `out` (interleaved stereo) and advances it. SoundMutex must be held.
void MixSoundBuffers(float* out, uint32_t frames, uint32_t rate);

// The whole mix of one device period: silence, the effects, the music hook, then clipping to [-1, 1].
// Takes SoundMutex itself. Called by the SDL audio callback and by headless rendering.
void RenderMix(float* out, uint32_t frames, uint32_t rate);

// The open output's rate in Hz (0 when there is none), and whether the mix is rendered on request (headless)
// rather than pulled by an output device at that rate.
uint32_t SoundOutputRate();
bool SoundRendersHeadless();

// Someone besides the mixer who follows the buffers: the headless backend's controls, which let tests see the
// sounds started and make creation fail. The headless backend sets it; with none set nothing is followed.
struct SoundBufferWatch {
  bool (*refusesCreation)();             // creation fails as if memory ran out
  void (*started)(SoundBuffer* buffer);  // with SoundMutex held: the buffer's Play succeeded
  void (*freed)(SoundBuffer* buffer);    // with SoundMutex held: the buffer is about to be freed
};
void WatchSoundBuffers(const SoundBufferWatch* watch);

// The music service adds its own samples to each mix through this hook (null: no music).
using MusicMixHook = void (*)(float* out, uint32_t frames, uint32_t rate);
void SetMusicMixHook(MusicMixHook hook);

}  // namespace platform
