// The game's two sound effects, synthesised as samples in [-1, 1] at the effects' rate.
// Each is made from oscillators and envelopes alone and ends in silence.
#pragma once
#include <cstdint>
#include <vector>

namespace assets {

constexpr uint32_t kEffectSampleRate = 11025;
// Loudest peak either effect reaches: 5 dB under where it once was (0.85), so that the song, at its own level,
// sits 5 dB closer to the effects and an effect landing on the song's loudest moment still stays under full scale.
constexpr float kEffectPeak = 0.48f;

// The bounce: a bright square-wave blip of about 60 ms that starts near 1 kHz and drops an octave,
// with a fast attack and decay.
std::vector<float> MakeBounceSound();

// The score chime: a rising major triad played as an arpeggio on a soft triangle voice, with a short echo,
// about 400 ms in all.
std::vector<float> MakeScoreSound();

}  // namespace assets
