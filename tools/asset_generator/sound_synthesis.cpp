// Sound synthesis for the effects: band-limited oscillators (sums of harmonics below the Nyquist frequency,
// so the low 11025 Hz rate does not fold overtones back as noise), envelopes, an echo and normalisation.
#include "tools/asset_generator/sound_synthesis.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace assets {

namespace {

constexpr float kRate = float(kEffectSampleRate);
constexpr float kNyquistGuard = 0.45f * kRate;  // harmonics above this are left out

// A square wave from its odd harmonics; `phase` counts cycles.
float BandLimitedSquare(double phase, float frequency) {
  float sum = 0;
  for (int k = 1; float(k) * frequency < kNyquistGuard; k += 2)
    sum += float(std::sin(2.0 * std::numbers::pi * phase * k)) / float(k);
  return sum * (4.0f / std::numbers::pi_v<float>);
}

// A triangle wave from its odd harmonics with alternating signs and 1/k^2 amplitudes.
float BandLimitedTriangle(double phase, float frequency) {
  float sum = 0;
  float sign = 1;
  for (int k = 1; float(k) * frequency < kNyquistGuard; k += 2, sign = -sign)
    sum += sign * float(std::sin(2.0 * std::numbers::pi * phase * k)) / float(k * k);
  return sum * (8.0f / (std::numbers::pi_v<float> * std::numbers::pi_v<float>));
}

// Scales the samples so the largest magnitude is exactly kEffectPeak.
void Normalise(std::vector<float>& samples) {
  float peak = 0;
  for (const float s : samples) peak = std::max(peak, std::fabs(s));
  if (peak <= 0) return;
  for (float& s : samples) s *= kEffectPeak / peak;
}

}  // namespace

std::vector<float> MakeBounceSound() {
  const size_t length = size_t(0.060f * kRate);
  std::vector<float> samples(length);
  double phase = 0;
  for (size_t i = 0; i < length; ++i) {
    const float t = float(i) / kRate;
    const float progress = float(i) / float(length - 1);
    // The pitch falls exponentially from 1050 Hz to half of it over the whole blip.
    const float frequency = 1050.0f * std::pow(0.5f, progress);
    const float attack = std::min(1.0f, t / 0.002f);
    const float decay = std::exp(-t / 0.022f) * (1.0f - progress * progress);
    samples[i] = BandLimitedSquare(phase, frequency) * attack * decay;
    phase += frequency / kRate;
  }
  Normalise(samples);
  return samples;
}

std::vector<float> MakeScoreSound() {
  const size_t length = size_t(0.400f * kRate);
  std::vector<float> dry(length, 0.0f);
  // C6, E6, G6: the notes of a major triad, one every 70 ms, each ringing on with its own decay.
  const float notes[3] = {1046.5f, 1318.5f, 1568.0f};
  for (int n = 0; n < 3; ++n) {
    const size_t start = size_t(0.070f * kRate * float(n));
    double phase = 0;
    for (size_t i = start; i < length; ++i) {
      const float t = float(i - start) / kRate;
      const float attack = std::min(1.0f, t / 0.004f);
      const float ring = n == 2 ? 0.11f : 0.06f;  // the top note rings longest
      dry[i] += BandLimitedTriangle(phase, notes[n]) * attack * std::exp(-t / ring);
      phase += notes[n] / kRate;
    }
  }
  // A feedback echo 60 ms behind.
  std::vector<float> wet = dry;
  const size_t delay = size_t(0.060f * kRate);
  for (size_t i = delay; i < length; ++i) wet[i] += wet[i - delay] * 0.38f;
  // The tail is faded to silence so the sound ends without a click.
  for (size_t i = 0; i < length; ++i) wet[i] *= 1.0f - std::pow(float(i) / float(length - 1), 6.0f);
  Normalise(wet);
  return wet;
}

}  // namespace assets
