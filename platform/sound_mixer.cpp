// The mixer: plays every playing buffer's unsigned 8-bit mono samples at its own frequency, resampled with
// linear interpolation to the output rate, with volume and pan in hundredths of a decibel, then adds the music;
// the player's master volumes scale each part last.
#include <algorithm>
#include <atomic>
#include <cmath>

#include "platform/internal/sound_internal.h"
#include "platform/master_volume.h"

namespace platform {

namespace {

std::atomic<MusicMixHook> musicHook{nullptr};

// The output tap and its argument, swapped together under their own lock.
std::mutex tapMutex;
SoundOutputTap outputTap = nullptr;
void* outputTapUser = nullptr;

// Hundredths of a decibel to a linear factor; the quietest setting is silence.
float DecibelGain(int32_t hundredths) {
  if (hundredths <= kSoundVolumeMin) return 0.0f;
  return std::pow(10.0f, static_cast<float>(hundredths) / 2000.0f);
}

float SampleValue(uint8_t byte) { return (static_cast<int32_t>(byte) - 128) / 128.0f; }

// Mixes one buffer into out until the block or the sound ends; returns false when a one-shot sound finished.
bool MixOneBuffer(SoundBuffer& buffer, float* out, uint32_t frames, uint32_t rate) {
  const std::vector<uint8_t>& samples = *buffer.samples;
  const uint64_t length = static_cast<uint64_t>(samples.size()) << 32;
  const uint64_t step = (static_cast<uint64_t>(buffer.frequency) << 32) / rate;
  const float gain = DecibelGain(buffer.volume);
  const float leftGain = gain * (buffer.pan > 0 ? DecibelGain(-buffer.pan) : 1.0f);
  const float rightGain = gain * (buffer.pan < 0 ? DecibelGain(buffer.pan) : 1.0f);
  const size_t last = samples.size() - 1;
  uint64_t position = buffer.position;
  for (uint32_t frame = 0; frame < frames; ++frame) {
    const size_t index = static_cast<size_t>(position >> 32);
    const size_t next = index < last ? index + 1 : (buffer.looping ? 0 : last);
    const float fraction = static_cast<float>(position & 0xFFFFFFFFu) / 4294967296.0f;
    const float value =
        SampleValue(samples[index]) + (SampleValue(samples[next]) - SampleValue(samples[index])) * fraction;
    out[2 * frame] += value * leftGain;
    out[2 * frame + 1] += value * rightGain;
    position += step;
    if (position >= length) {
      // A one-shot sound stops (and rewinds) as soon as its last sample is out.
      if (!buffer.looping) {
        buffer.position = 0;
        return false;
      }
      position %= length;
    }
  }
  buffer.position = position;
  return true;
}

// The music hook renders in chunks of this many frames; scaled music is fetched in the same chunks.
constexpr uint32_t kMusicChunkFrames = 256;

// Adds the music to out at gain; at full gain the hook adds it straight in.
void AddMusic(MusicMixHook hook, float* out, uint32_t frames, uint32_t rate, float gain) {
  if (gain == 1.0f) {
    hook(out, frames, rate);
    return;
  }
  float chunk[2 * kMusicChunkFrames];
  while (frames > 0) {
    const uint32_t count = std::min(frames, kMusicChunkFrames);
    std::fill(chunk, chunk + 2 * count, 0.0f);
    hook(chunk, count, rate);
    for (uint32_t i = 0; i < 2 * count; ++i) out[i] += gain * chunk[i];
    out += 2 * count;
    frames -= count;
  }
}

}  // namespace

void MixSoundBuffers(float* out, uint32_t frames, uint32_t rate) {
  if (rate == 0) return;
  for (SoundBuffer* buffer : LiveSoundBuffers()) {
    if (!buffer->playing || buffer->samples->empty()) continue;
    if (!MixOneBuffer(*buffer, out, frames, rate)) buffer->playing = false;
  }
}

void RenderMix(float* out, uint32_t frames, uint32_t rate) {
  std::fill(out, out + 2 * static_cast<size_t>(frames), 0.0f);
  {
    std::lock_guard<std::mutex> guard(SoundMutex());
    MixSoundBuffers(out, frames, rate);
  }
  const size_t samples = 2 * static_cast<size_t>(frames);
  const float effectsGain = EffectsMasterGain();
  if (effectsGain != 1.0f)
    for (size_t i = 0; i < samples; ++i) out[i] *= effectsGain;
  if (MusicMixHook hook = musicHook.load()) AddMusic(hook, out, frames, rate, MusicMasterGain());
  for (size_t i = 0; i < samples; ++i) out[i] = std::clamp(out[i], -1.0f, 1.0f);
  std::lock_guard<std::mutex> guard(tapMutex);
  if (outputTap) outputTap(out, frames, rate, outputTapUser);
}

void SetSoundOutputTap(SoundOutputTap tap, void* user) {
  std::lock_guard<std::mutex> guard(tapMutex);
  outputTap = tap;
  outputTapUser = user;
}

void SetMusicMixHook(MusicMixHook hook) { musicHook.store(hook); }

}  // namespace platform
