// The player's two master volumes, music and effects, from 0 (silent) to 100 (full): gains the mixer
// applies after every volume the program sets, so nothing the program sets or reads changes.
#pragma once
#include <cstdint>

namespace platform {

// Volumes outside 0..100 are clamped. Both are 100 until set.
void SetMasterVolumes(int32_t music, int32_t effects);

// The factor a volume stands for: (volume / 100) squared, so equal steps sound roughly equal.
float MasterVolumeGain(int32_t volume);

// The factors now in force, read by the mixer on the audio thread.
float MusicMasterGain();
float EffectsMasterGain();

}  // namespace platform
