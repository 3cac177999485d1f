// The SDL backend's audio output (SDL's dummy driver, so no sound card is needed): effects and the song
// reach the device callback through the same mixer, and a machine without audio gives InitSound 0.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "platform/backend.h"
#include "platform/sound.h"
#include "tests/support/environment.h"
#include "tests/support/headless_fixture.h"
#include "tests/support/midi_file.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wave_file.h"

namespace {

struct TapRecord {
  std::atomic<int> blocks{0};
  std::atomic<int> audibleBlocks{0};
  std::atomic<uint32_t> rate{0};
};

void RecordBlock(const float* mixed, uint32_t frames, uint32_t rate, void* user) {
  auto* record = static_cast<TapRecord*>(user);
  float peak = 0;
  for (uint32_t i = 0; i < 2 * frames; ++i) peak = std::max(peak, std::abs(mixed[i]));
  record->rate = rate;
  ++record->blocks;
  if (peak > 0.01f) ++record->audibleBlocks;
}

// Waits (up to two seconds) until the device callback has delivered `count` more blocks.
bool WaitForBlocks(const TapRecord& record, int count) {
  const int target = record.blocks + count;
  for (int i = 0; i < 200 && record.blocks < target; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return record.blocks >= target;
}

class SdlOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    testenv::Set("SDL_AUDIODRIVER", "dummy");
    platform::SelectBackend(platform::Backend::Sdl);
    ShutdownMusic();
    ShutdownSound();
    SoundInitPending = 1;
  }
  void TearDown() override {
    platform::SetSoundOutputTap(nullptr, nullptr);
    ShutdownMusic();
    ShutdownSound();
    testsupport::UseHeadlessBackend();
    testenv::Unset("SDL_AUDIODRIVER");
  }
};

}  // namespace

TEST_F(SdlOutput, EffectsAndTheSongReachTheDeviceCallback) {
  ASSERT_EQ(InitSound(), 1);
  ASSERT_EQ(InitMusic(), 1);
  TapRecord record;
  platform::SetSoundOutputTap(RecordBlock, &record);
  ASSERT_TRUE(WaitForBlocks(record, 3));
  EXPECT_EQ(record.rate, 48000u);
  EXPECT_EQ(record.audibleBlocks, 0);

  testwave::WaveLayout wave;
  wave.samples.assign(11025, 200);
  const int32_t effect =
      LoadWav(testwave::WriteFile(testfiles::ScratchPath("sdl_fx.wav"), testwave::BuildWave(wave)).c_str());
  ASSERT_EQ(PlaySoundEffect(effect, DSBPLAY_LOOPING, 0, 0, 0), 1);
  ASSERT_TRUE(WaitForBlocks(record, 3));
  EXPECT_GE(record.audibleBlocks, 2);
  StopAllSoundEffects();

  const std::string song = testwave::WriteFile(testfiles::ScratchPath("sdl_song.mid"),
                                               testmidi::Song({{0, 384, 60}, {0, 384, 64}, {0, 384, 67}}, 400));
  const int32_t id = LoadMidi(song.c_str());
  ASSERT_EQ(PlayMidi(id), 1);
  ASSERT_TRUE(WaitForBlocks(record, 2));
  const int before = record.audibleBlocks;
  ASSERT_TRUE(WaitForBlocks(record, 5));
  EXPECT_GE(record.audibleBlocks - before, 4);
  EXPECT_EQ(GetMidiStatus(id), kMidiStatePlaying);
}

TEST_F(SdlOutput, NoAudioDeviceMakesInitSoundReturnZero) {
  testenv::Set("SDL_AUDIODRIVER", "no-such-driver");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(InitSound(), 0);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(said.rfind("SOUND: ", 0), 0u) << said;
  EXPECT_EQ(SoundDevice, nullptr);
  EXPECT_EQ(InitMusic(), 0);
}

TEST_F(SdlOutput, AnAlsaDeviceThatIsNotThereGivesOnlyOurOneLine) {
  // The ALSA library reports a missing device with lines of its own; the player is to see only ours.
  testenv::Set("SDL_AUDIODRIVER", "alsa");
  testenv::Set("AUDIODEV", "tavo_no_such_device");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(InitSound(), 0);
  const std::string said = ::testing::internal::GetCapturedStderr();
  testenv::Unset("AUDIODEV");
  EXPECT_EQ(said.rfind("SOUND: ", 0), 0u) << said;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
}
