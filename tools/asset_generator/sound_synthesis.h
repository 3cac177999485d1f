// The game's two sound effects, synthesised as samples in [-1, 1] at the effects' rate.
// Each is made from oscillators and envelopes alone and ends in silence.
#pragma once
#include <cstdint>
#include <vector>

namespace assets {

constexpr uint32_t kEffectSampleRate = 11025;
// Loudest peak either effect reaches, comfortably inside the 8-bit range.
constexpr float kEffectPeak = 0.85f;

// The bounce: a bright square-wave blip of about 60 ms that starts near 1 kHz and drops an octave,
// with a fast attack and decay.
std::vector<float> MakeBounceSound();

// The score chime: a rising major triad played as an arpeggio on a soft triangle voice, with a short echo,
// about 400 ms in all.
std::vector<float> MakeScoreSound();

}  // namespace assets
