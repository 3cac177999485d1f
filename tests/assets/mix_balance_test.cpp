// The generated song and effects mixed as the game plays them (headless, 48000 Hz): the song's own level, the
// balance between its loudness and the effects' peaks, and no sample driven to full scale when all play at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "platform/headless/headless.h"
#include "platform/music.h"
#include "platform/sound.h"
#include "tests/assets/generated_files.h"
#include "tests/support/headless_fixture.h"

namespace {

constexpr uint32_t kRate = platform::kHeadlessMusicRate;
constexpr uint32_t kBlock = 512;        // frames per render, as the SDL output asks for them
constexpr double kLongestSong = 180.0;  // seconds; the song ends well before

struct Levels {
  double sumOfSquares = 0;
  size_t samples = 0;
  float peak = 0;
  size_t fullScale = 0;  // samples the mixer had to clamp (a clamped sample sits at exactly +-1)
  double RmsDb() const { return 10 * std::log10(sumOfSquares / samples); }
  double PeakDb() const { return 20 * std::log10(peak); }
};

void RenderInto(Levels* levels, uint32_t frames) {
  std::vector<float> out(2 * kBlock);
  for (uint32_t done = 0; done < frames; done += kBlock) {
    platform::RenderHeadlessAudio(out.data(), kBlock, kRate);
    for (const float sample : out) {
      levels->sumOfSquares += static_cast<double>(sample) * sample;
      levels->peak = std::max(levels->peak, std::abs(sample));
      if (std::abs(sample) >= 1.0f) ++levels->fullScale;
    }
    levels->samples += out.size();
  }
}

class MixBalance : public testsupport::HeadlessSoundTest {
 protected:
  void SetUp() override {
    HeadlessSoundTest::SetUp();
    ASSERT_EQ(InitSound(), 1);
    ASSERT_EQ(InitMusic(), 1) << "a General MIDI SoundFont is needed (timgm6mb-soundfont)";
    for (const char* file : {"SoundFX/bounce3.wav", "SoundFX/score.wav", "Music/song10.mid"})
      asset_checks::ReadGeneratedFile(file);  // made on first use
    const std::string folder = asset_checks::GeneratedFolder();
    bounce = LoadWav((folder + "/SoundFX/bounce3.wav").c_str());
    score = LoadWav((folder + "/SoundFX/score.wav").c_str());
    song = LoadMidi((folder + "/Music/song10.mid").c_str());
    ASSERT_GE(bounce, 0);
    ASSERT_GE(score, 0);
    ASSERT_GE(song, 0);
  }
  void TearDown() override {
    ShutdownMusic();
    ShutdownSound();
  }
  // Plays the song to its end; every `bounceEvery` blocks a bounce starts, every `scoreEvery` blocks the
  // score sound (0: never). Returns the levels of the whole mix.
  Levels PlaySong(uint32_t bounceEvery, uint32_t scoreEvery) {
    Levels levels;
    EXPECT_EQ(PlayMidi(song), 1);
    for (uint32_t block = 0; block * kBlock < kLongestSong * kRate && GetMidiStatus(song) == 2; ++block) {
      if (bounceEvery != 0 && block % bounceEvery == 0) PlaySoundEffect(bounce, 0, 0, 0, 0);
      if (scoreEvery != 0 && block % scoreEvery == 0) PlaySoundEffect(score, 0, 0, 0, 0);
      RenderInto(&levels, kBlock);
    }
    return levels;
  }
  Levels PlayEffect(int32_t id) {
    Levels levels;
    PlaySoundEffect(id, 0, 0, 0, 0);
    RenderInto(&levels, 2 * kRate);
    return levels;
  }
  int32_t bounce = -1, score = -1, song = -1;
};

TEST_F(MixBalance, SongSitsCloserToTheEffectsAndNothingClips) {
  const Levels songAlone = PlaySong(0, 0);
  const double effectsPeakDb = std::max(PlayEffect(bounce).PeakDb(), PlayEffect(score).PeakDb());
  // Before the balance the song's loudness sat 21.8 dB under the effects' peaks (so measured); now 4 to 6 dB less.
  const double gap = effectsPeakDb - songAlone.RmsDb();
  std::printf("song RMS %.1f dBFS, peak %.1f dBFS; effects peak %.1f dBFS; gap %.1f dB\n", songAlone.RmsDb(),
              songAlone.PeakDb(), effectsPeakDb, gap);
  EXPECT_GE(gap, 21.8 - 6.0);
  EXPECT_LE(gap, 21.8 - 4.0);
  // Bounces about three times a second and the score sound every few seconds, over the whole song (31 and 131
  // blocks never line up the same way twice in a row, so the effects meet the song's loud passages).
  const Levels everything = PlaySong(31, 131);
  std::printf("song and effects: peak %.2f dBFS, %zu samples at full scale\n", everything.PeakDb(),
              everything.fullScale);
  EXPECT_EQ(everything.fullScale, 0u);
  EXPECT_GT(everything.samples, 40u * kRate) << "the song ended early";
}

TEST_F(MixBalance, TheSongsFirstTwentySecondsSitBetweenMinusThirtyAndMinusFourteenDecibelsWithoutClipping) {
  ASSERT_EQ(PlayMidi(song), 1);
  Levels levels;
  RenderInto(&levels, 20 * kRate);
  std::printf("song over 20 s: RMS %.1f dBFS, peak %.1f dBFS\n", levels.RmsDb(), levels.PeakDb());
  EXPECT_EQ(GetMidiStatus(song), 2) << "the song ended within 20 s";
  EXPECT_GE(levels.RmsDb(), -30.0);
  EXPECT_LE(levels.RmsDb(), -14.0);
  EXPECT_LT(levels.peak, 1.0f);
  EXPECT_EQ(levels.fullScale, 0u);
}

}  // namespace
