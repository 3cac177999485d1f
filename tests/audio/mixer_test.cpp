// The mixer that both backends share: pace, resampling, volume, pan, looping and frequency, heard through
// the sound table and rendered into memory.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "audio/sound_effects.h"
#include "platform/headless/headless.h"
#include "platform/sound.h"
#include "tests/support/headless_fixture.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wave_file.h"

namespace {

class Mixer : public testsupport::HeadlessSoundTest {
 protected:
  void SetUp() override {
    HeadlessSoundTest::SetUp();
    ASSERT_EQ(InitSound(), 1);
  }

  // Loads a sound of `count` samples all at `level` (128 is silence), declared at `declaredRate`.
  int32_t LoadConstant(size_t count, uint8_t level, uint32_t declaredRate = 11025) {
    testwave::WaveLayout wave;
    wave.rate = declaredRate;
    wave.samples.assign(count, level);
    return LoadWav(testwave::WriteFile(testfiles::ScratchPath("mixer.wav"), testwave::BuildWave(wave)).c_str());
  }

  std::vector<float> Render(uint32_t frames, uint32_t rate) {
    std::vector<float> out(2 * frames);
    platform::RenderHeadlessAudio(out.data(), frames, rate);
    return out;
  }

  // Frames from the start of `out` until the sound falls silent.
  static size_t SoundingFrames(const std::vector<float>& out) {
    size_t frames = 0;
    while (2 * frames < out.size() && out[2 * frames] != 0.0f) ++frames;
    return frames;
  }
};

}  // namespace

TEST_F(Mixer, SamplesComeOutAtTheElevenKilohertzPaceWhateverTheFileDeclares) {
  const int32_t id = LoadConstant(1102, 192, 44100);  // a tenth of a second at 11025 Hz
  PlaySoundEffect(id, 0, 0, 0, 0);
  const std::vector<float> out = Render(9600, 48000);
  // 1102 samples at 11025 Hz last 4797.8 frames at 48000 Hz.
  EXPECT_NEAR(static_cast<double>(SoundingFrames(out)), 1102.0 * 48000 / 11025, 1.0);
  EXPECT_FLOAT_EQ(out[0], 0.5f);
  EXPECT_FLOAT_EQ(out[1], 0.5f);
  EXPECT_EQ(GetSoundStatus(id), 0);
}

TEST_F(Mixer, ResamplingInterpolatesBetweenNeighbouringSamples) {
  testwave::WaveLayout wave;
  wave.samples = {128, 192, 128, 64};
  const int32_t id =
      LoadWav(testwave::WriteFile(testfiles::ScratchPath("ramp.wav"), testwave::BuildWave(wave)).c_str());
  PlaySoundEffect(id, 0, 0, 0, 0);
  const std::vector<float> out = Render(8, 22050);  // two output frames per sample
  const float expected[] = {0.0f, 0.25f, 0.5f, 0.25f, 0.0f, -0.25f, -0.5f};
  for (size_t i = 0; i < 7; ++i) EXPECT_NEAR(out[2 * i], expected[i], 1e-6) << i;
}

TEST_F(Mixer, FrequencySetForABufferChangesItsPace) {
  const int32_t id = LoadConstant(1000, 192);
  ASSERT_EQ(SetSoundFrequency(id, 22050), 1);
  PlaySoundEffect(id, 0, 0, 0, 0);
  EXPECT_NEAR(static_cast<double>(SoundingFrames(Render(4000, 44100))), 2000.0, 1.0);
}

TEST_F(Mixer, VolumeAttenuatesInHundredthsOfADecibel) {
  const int32_t id = LoadConstant(500, 192);
  ASSERT_EQ(SetSoundVolume(id, 0), 1);  // -30 dB
  PlaySoundEffect(id, 0, 0, 0, 0);
  const std::vector<float> out = Render(10, 11025);
  EXPECT_NEAR(out[0], 0.5f * std::pow(10.0f, -1.5f), 1e-6);
  ASSERT_EQ(SetSoundVolume(id, 100), 1);
  EXPECT_NEAR(Render(10, 11025)[0], 0.5f, 1e-6);
  ASSERT_EQ(platform::SetSoundBufferVolume(SoundTable[id].buffer, platform::kSoundVolumeMin), 0);
  EXPECT_EQ(Render(10, 11025)[0], 0.0f);
}

TEST_F(Mixer, PanAttenuatesTheOppositeSide) {
  const int32_t id = LoadConstant(500, 192);
  PlaySoundEffect(id, 0, 0, 0, 0);
  ASSERT_EQ(SetSoundPan(id, -2000), 1);  // left: right side 20 dB down
  std::vector<float> out = Render(4, 11025);
  EXPECT_NEAR(out[0], 0.5f, 1e-6);
  EXPECT_NEAR(out[1], 0.05f, 1e-6);
  ASSERT_EQ(SetSoundPan(id, 10000), 1);  // fully right
  out = Render(4, 11025);
  EXPECT_NEAR(out[0], 0.0f, 1e-4);
  EXPECT_NEAR(out[1], 0.5f, 1e-6);
}

TEST_F(Mixer, LoopingSoundWrapsUntilStopped) {
  const int32_t id = LoadConstant(100, 192);
  PlaySoundEffect(id, DSBPLAY_LOOPING, 0, 0, 0);
  EXPECT_EQ(SoundingFrames(Render(1000, 11025)), 1000u);
  EXPECT_EQ(GetSoundStatus(id), 5);
  StopSoundEffect(id);
  EXPECT_EQ(SoundingFrames(Render(10, 11025)), 0u);
}
