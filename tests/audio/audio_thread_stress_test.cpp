// The audio thread against the game thread: one thread mixes without pause (as the device callback does) while
// the test thread makes random sound-table and song operations, each result checked against the table's rules.
// Built with -fsanitize=thread by tools/tsan.sh, where any data race is reported.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "platform/headless/headless.h"
#include "platform/sound.h"
#include "tests/support/headless_fixture.h"
#include "tests/support/midi_file.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wave_file.h"

namespace {

// Operations per run: TAVO_STRESS_OPERATIONS, else 100,000.
int64_t OperationCount() {
  const char* text = std::getenv("TAVO_STRESS_OPERATIONS");
  const int64_t count = text ? std::atoll(text) : 0;
  return count > 0 ? count : 100000;
}

// Mixes blocks until told to stop, checking that every sample is a number within [-1, 1].
class MixerThread {
 public:
  MixerThread() : thread_([this] { Run(); }) {}
  ~MixerThread() { Stop(); }
  void Stop() {
    stop_.store(true);
    if (thread_.joinable()) thread_.join();
  }
  int64_t Blocks() const { return blocks_.load(); }
  int64_t BadSamples() const { return badSamples_.load(); }

 private:
  void Run() {
    std::vector<float> block(2 * 256);
    while (!stop_.load()) {
      platform::RenderHeadlessAudio(block.data(), 256, platform::kHeadlessMusicRate);
      for (float sample : block)
        if (!std::isfinite(sample) || sample < -1.0f || sample > 1.0f) badSamples_.fetch_add(1);
      blocks_.fetch_add(1);
      std::this_thread::yield();  // a device asks again only after its period
    }
  }
  std::atomic<bool> stop_{false};
  std::atomic<int64_t> blocks_{0};
  std::atomic<int64_t> badSamples_{0};
  std::thread thread_;
};

// What the table's rules say each slot holds.
enum class Sound { Free, Deleted, Stopped, PlayingOnce, Looping };

struct Expected {
  Sound sounds[kSoundSlotCount] = {};
  bool songs[kMidiSlotCount] = {};
  int32_t songLoads[kMidiSlotCount] = {};  // which load of the slot (a reloaded slot is another song)
  int32_t playingSong = -1;                // the slot whose song was started and not stopped since
  int32_t playingLoad = 0;

  bool HasBuffer(int32_t id) const { return id >= 0 && id < kSoundSlotCount && sounds[id] >= Sound::Stopped; }
  bool HoldsSong(int32_t id) const { return id >= 0 && id < kMidiSlotCount && songs[id]; }
  template <typename Value, size_t N>
  static int32_t LowestFree(const Value (&slots)[N], Value free) {
    for (size_t i = 0; i < N; ++i)
      if (slots[i] == free) return static_cast<int32_t>(i);
    return -1;
  }
};

TEST(AudioThreadStress, TableAndSongOperationsWhileTheMixerRuns) {
  const std::string wave = testwave::WriteFile(testfiles::ScratchPath("stress.wav"), [] {
    testwave::WaveLayout layout;
    layout.samples = testwave::Ramp(600);
    return testwave::BuildWave(layout);
  }());
  const std::string song =
      testwave::WriteFile(testfiles::ScratchPath("stress.mid"), testmidi::Song({{0, 48, 60}, {48, 48, 64}}, 192));
  testsupport::UseHeadlessBackend();
  testsupport::ResetSound();
  ASSERT_EQ(InitSound(), 1);
  ASSERT_EQ(InitMusic(), 1) << "a General MIDI SoundFont is needed (timgm6mb-soundfont)";

  std::mt19937 random(2000);
  auto below = [&random](int32_t n) { return static_cast<int32_t>(random() % static_cast<uint32_t>(n)); };
  // Mostly slots in use, sometimes any slot, now and then an id outside the table.
  auto soundId = [&](const Expected& e) {
    const int32_t roll = below(10);
    if (roll == 0) return below(kSoundSlotCount + 4) - 2;
    const int32_t top = Expected::LowestFree(e.sounds, Sound::Free);
    return below(top < 0 ? kSoundSlotCount : top + 1);
  };
  auto songId = [&]() { return below(10) == 0 ? below(kMidiSlotCount + 4) - 2 : below(6); };

  Expected e;
  int64_t wrong = 0;
  std::string firstWrong;
  auto check = [&](bool right, const char* what, int64_t step) {
    if (right) return;
    if (wrong++ == 0) firstWrong = std::string(what) + " at operation " + std::to_string(step);
  };

  MixerThread mixer;
  const int64_t operations = OperationCount();
  for (int64_t step = 0; step < operations; ++step) {
    if (step % 32 == 0) std::this_thread::yield();  // let the mixer in between the game's bursts of calls
    const int32_t op = below(100);
    if (op < 6) {
      const int32_t expected = Expected::LowestFree(e.sounds, Sound::Free);
      const int32_t id = LoadWav(wave.c_str());
      check(id == expected, "LoadWav", step);
      if (id >= 0) e.sounds[id] = Sound::Stopped;
    } else if (op < 12) {
      const int32_t source = soundId(e);
      const int32_t free = Expected::LowestFree(e.sounds, Sound::Free);
      const int32_t expected = e.HasBuffer(source) ? free : -1;
      const int32_t id = DuplicateSound(source);
      check(id == expected, "DuplicateSound", step);
      if (id >= 0) e.sounds[id] = Sound::Stopped;
    } else if (op < 30) {
      const int32_t id = soundId(e);
      const uint32_t flags = below(4) == 0 ? DSBPLAY_LOOPING : 0;
      check(PlaySoundEffect(id, flags, 0, 0, 0) == 1, "PlaySoundEffect", step);
      if (e.HasBuffer(id)) e.sounds[id] = flags ? Sound::Looping : Sound::PlayingOnce;
    } else if (op < 40) {
      const int32_t id = soundId(e);
      check(StopSoundEffect(id) == 1, "StopSoundEffect", step);
      if (e.HasBuffer(id)) e.sounds[id] = Sound::Stopped;
    } else if (op < 47) {
      const int32_t id = soundId(e), volume = below(500) - 300;
      const int32_t hundredths = -30 * (100 - volume);
      const bool accepted = e.HasBuffer(id) && hundredths >= -10000 && hundredths <= 0;
      check(SetSoundVolume(id, volume) == (accepted ? 1 : 0), "SetSoundVolume", step);
    } else if (op < 54) {
      const int32_t id = soundId(e), pan = below(24000) - 12000;
      const bool accepted = e.HasBuffer(id) && pan >= -10000 && pan <= 10000;
      check(SetSoundPan(id, pan) == (accepted ? 1 : 0), "SetSoundPan", step);
    } else if (op < 61) {
      const int32_t id = soundId(e), frequency = below(5) == 0 ? below(200) : below(250000);
      const bool accepted = e.HasBuffer(id) && (frequency == 0 || (frequency >= 100 && frequency <= 200000));
      check(SetSoundFrequency(id, frequency) == (accepted ? 1 : 0), "SetSoundFrequency", step);
    } else if (op < 67) {
      const int32_t id = soundId(e);
      check(DeleteSound(id) == 1, "DeleteSound", step);
      if (e.HasBuffer(id)) e.sounds[id] = Sound::Deleted;
    } else if (op < 75) {
      // A one-shot sound may have ended on the audio thread; nothing else changes a status behind the table.
      const int32_t id = soundId(e);
      const int32_t status = GetSoundStatus(id);
      const Sound state = id >= 0 && id < kSoundSlotCount ? e.sounds[id] : Sound::Free;
      bool right = false;
      if (!e.HasBuffer(id)) right = status == -1;
      else if (state == Sound::Stopped) right = status == 0;
      else if (state == Sound::Looping)
        right = status == (platform::kSoundStatusPlaying | platform::kSoundStatusLooping);
      else right = status == 0 || status == platform::kSoundStatusPlaying;
      check(right, "GetSoundStatus", step);
      if (state == Sound::PlayingOnce && status == 0) e.sounds[id] = Sound::Stopped;
    } else if (op < 76) {
      check(InitSound() == 1, "InitSound", step);
      for (Sound& sound : e.sounds) sound = Sound::Free;
    } else if (op < 80) {
      const int32_t expected = Expected::LowestFree(e.songs, false);
      const int32_t id = LoadMidi(song.c_str());
      check(id == expected, "LoadMidi", step);
      if (id >= 0) {
        e.songs[id] = true;
        ++e.songLoads[id];
      }
    } else if (op < 88) {
      const int32_t id = songId();
      check(PlayMidi(id) == (e.HoldsSong(id) ? 1 : 0), "PlayMidi", step);
      if (e.HoldsSong(id)) {
        e.playingSong = id;
        e.playingLoad = e.songLoads[id];
      }
    } else if (op < 93) {
      // Stopping a song that is not the one playing leaves the playing one alone.
      const int32_t id = songId();
      check(StopMidi(id) == (e.HoldsSong(id) ? 1 : 0), "StopMidi", step);
      if (e.HoldsSong(id) && id == e.playingSong && e.songLoads[id] == e.playingLoad) e.playingSong = -1;
    } else if (op < 97) {
      // Playing may have ended by itself; a song not playing never reads as playing.
      const int32_t id = songId();
      const int32_t status = GetMidiStatus(id);
      bool right = status == 0;
      if (e.HoldsSong(id)) {
        const bool started = id == e.playingSong && e.songLoads[id] == e.playingLoad;
        right = status == kMidiStateStopped || (started && status == kMidiStatePlaying);
      }
      check(right, "GetMidiStatus", step);
    } else {
      const int32_t id = songId();
      check(DeleteMidi(id) == 1, "DeleteMidi", step);
      if (e.HoldsSong(id)) {
        e.songs[id] = false;
        if (id == e.playingSong) e.playingSong = -1;
      }
    }
  }
  mixer.Stop();

  EXPECT_EQ(wrong, 0) << "results against the rules; the first wrong one: " << firstWrong;
  EXPECT_EQ(mixer.BadSamples(), 0);
  EXPECT_GT(mixer.Blocks(), 100) << "the mixer hardly ran beside the operations";
  EXPECT_EQ(ShutdownMusic(), 1);
  EXPECT_EQ(ShutdownSound(), 1);
}

}  // namespace
