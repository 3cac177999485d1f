// Checks of the generated sound effects: the 8-bit mono 11025 Hz format, their lengths, headroom,
// quiet ends, and the pitch movement each one is meant to have.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tests/assets/generated_files.h"

namespace asset_checks {
namespace {

// The frequency with the most energy in [first, first + count), scanning 200 to 4000 Hz in 5 Hz steps (Goertzel).
double DominantFrequency(const Wave& wave, size_t first, size_t count) {
  double bestFrequency = 0, bestPower = -1;
  for (double f = 200; f <= 4000; f += 5) {
    const double coefficient = 2 * std::cos(2 * std::numbers::pi * f / wave.sampleRate);
    double s1 = 0, s2 = 0;
    for (size_t i = first; i < first + count && i < wave.samples.size(); ++i) {
      const double s0 = (double(wave.samples[i]) - 128.0) + coefficient * s1 - s2;
      s2 = s1;
      s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
    if (power > bestPower) {
      bestPower = power;
      bestFrequency = f;
    }
  }
  return bestFrequency;
}

size_t Samples(double seconds) { return size_t(seconds * 11025.0); }

TEST(SoundEffects, AreUnsignedEightBitMonoAt11025Hz) {
  for (const char* path : {"SoundFX/bounce3.wav", "SoundFX/score.wav"}) {
    const Wave wave = ReadWave(path);
    EXPECT_EQ(wave.format, 1) << path << " is PCM";
    EXPECT_EQ(wave.channels, 1) << path;
    EXPECT_EQ(wave.sampleRate, 11025u) << path;
    EXPECT_EQ(wave.bitsPerSample, 8) << path;
    EXPECT_EQ(wave.blockAlign, 1) << path;
    EXPECT_EQ(wave.byteRate, 11025u) << path;
  }
}

TEST(SoundEffects, LastAboutAsLongAsTheirPurpose) {
  const double bounce = double(ReadWave("SoundFX/bounce3.wav").samples.size()) / 11025.0;
  const double score = double(ReadWave("SoundFX/score.wav").samples.size()) / 11025.0;
  EXPECT_GE(bounce, 0.045);
  EXPECT_LE(bounce, 0.075);
  EXPECT_GE(score, 0.35);
  EXPECT_LE(score, 0.45);
}

TEST(SoundEffects, AreLoudButNeverClipAndEndInSilence) {
  for (const char* path : {"SoundFX/bounce3.wav", "SoundFX/score.wav"}) {
    const Wave wave = ReadWave(path);
    ASSERT_GT(wave.samples.size(), 100u) << path;
    const auto [low, high] = std::minmax_element(wave.samples.begin(), wave.samples.end());
    EXPECT_GT(*low, 2) << path << " touches the bottom rail";
    EXPECT_LT(*high, 253) << path << " touches the top rail";
    // Peaks near 0.48 of full scale (61 of 128): the effects sit 5 dB under their old level, for the song.
    EXPECT_GT(std::max(128 - *low, *high - 128), 55) << path << " is too quiet";
    EXPECT_NEAR(wave.samples.front(), 128, 4) << path << " starts with a click";
    EXPECT_NEAR(wave.samples.back(), 128, 4) << path << " ends with a click";
  }
}

TEST(SoundEffects, BounceStartsNearOneKilohertzAndDropsAboutAnOctave) {
  const Wave wave = ReadWave("SoundFX/bounce3.wav");
  ASSERT_GE(wave.samples.size(), Samples(0.055));
  const double start = DominantFrequency(wave, 0, Samples(0.012));
  const double end = DominantFrequency(wave, Samples(0.040), Samples(0.015));
  EXPECT_NEAR(start, 1000.0, 150.0);
  EXPECT_GT(start / end, 1.45);
  EXPECT_LT(start / end, 2.3);
}

TEST(SoundEffects, ScoreRisesThroughAMajorTriad) {
  const Wave wave = ReadWave("SoundFX/score.wav");
  ASSERT_GE(wave.samples.size(), Samples(0.35));
  // Each note's onset window, short enough that the note before it has faded below it.
  const double first = DominantFrequency(wave, Samples(0.005), Samples(0.050));
  const double second = DominantFrequency(wave, Samples(0.075), Samples(0.050));
  const double third = DominantFrequency(wave, Samples(0.145), Samples(0.050));
  EXPECT_LT(first, second);
  EXPECT_LT(second, third);
  EXPECT_NEAR(second / first, 1.26, 0.04) << "a major third above the root";
  EXPECT_NEAR(third / first, 1.50, 0.04) << "a fifth above the root";
}

}  // namespace
}  // namespace asset_checks
