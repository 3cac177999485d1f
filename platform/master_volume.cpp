// The master volumes, kept as gains the audio thread can read at any moment.
// Squaring the fraction gives a quieter half of the range, closer to how loudness is heard than a straight line.
#include "platform/master_volume.h"

#include <algorithm>
#include <atomic>

namespace platform {

namespace {
std::atomic<float> musicGain{1.0f};
std::atomic<float> effectsGain{1.0f};
}  // namespace

float MasterVolumeGain(int32_t volume) {
  const float fraction = static_cast<float>(std::clamp<int32_t>(volume, 0, 100)) / 100.0f;
  return fraction * fraction;
}

void SetMasterVolumes(int32_t music, int32_t effects) {
  musicGain.store(MasterVolumeGain(music));
  effectsGain.store(MasterVolumeGain(effects));
}

float MusicMasterGain() { return musicGain.load(); }

float EffectsMasterGain() { return effectsGain.load(); }

}  // namespace platform
