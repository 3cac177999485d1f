// The music table: slot states and CurrentMidi through load, play, stop, status and delete; songs that
// sound while playing and fall silent when stopped; files that are not standard MIDI files refused.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "platform/headless/headless.h"
#include "platform/master_volume.h"
#include "platform/process_environment.h"
#include "platform/sound.h"
#include "tests/support/environment.h"
#include "tests/support/headless_fixture.h"
#include "tests/support/midi_file.h"
#include "tests/support/music_renderer.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wave_file.h"

namespace {

constexpr uint32_t kRate = platform::kHeadlessMusicRate;

class MusicTable : public testsupport::HeadlessSoundTest {
 protected:
  void SetUp() override {
    HeadlessSoundTest::SetUp();
    ASSERT_EQ(InitSound(), 1);
    ASSERT_EQ(InitMusic(), 1) << "a General MIDI SoundFont is needed (timgm6mb-soundfont)";
  }
  void TearDown() override {
    ShutdownMusic();
    ShutdownSound();
    testenv::Unset("TAVO_SOUNDFONT");
  }

  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    return testwave::WriteFile(testfiles::ScratchPath("music_" + name), bytes);
  }
  // One note of 0.25 s at the start, then a rest until `seconds`.
  std::string ShortSong(const std::string& name, double seconds = 0.5, uint8_t key = 60) {
    return Write(name, testmidi::Song({{0, 48, key}}, static_cast<uint32_t>(seconds * 192)));
  }

  // Root mean square of the left channel over `seconds` of rendering.
  static double RenderLoudness(double seconds) {
    const uint32_t frames = static_cast<uint32_t>(seconds * kRate);
    std::vector<float> out(2 * static_cast<size_t>(frames));
    platform::RenderHeadlessAudio(out.data(), frames, kRate);
    double sum = 0;
    for (uint32_t i = 0; i < frames; ++i) sum += static_cast<double>(out[2 * i]) * out[2 * i];
    return std::sqrt(sum / frames);
  }
};

constexpr double kAudible = 1e-3;
constexpr double kSilent = 1e-6;

}  // namespace

TEST_F(MusicTable, LoadsIntoTheLowestFreeSlots) {
  const std::string path = ShortSong("a.mid");
  EXPECT_EQ(LoadMidi(path.c_str()), 0);
  EXPECT_EQ(LoadMidi(path.c_str()), 1);
  EXPECT_EQ(MidiTable[1].state, kMidiStateLoaded);
  EXPECT_EQ(MidiTable[1].id, 1);
  EXPECT_EQ(MidiTable[1].segmentState, nullptr);
  EXPECT_EQ(CurrentMidi, -1);
  EXPECT_EQ(DeleteMidi(0), 1);
  EXPECT_EQ(MidiTable[0].state, kMidiStateFree);
  EXPECT_EQ(LoadMidi(path.c_str()), 0);
}

TEST_F(MusicTable, NamesAreResolvedAgainstTheWorkingFolder) {
  ShortSong("relative.mid");
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(testfiles::ProcessFolder().c_str()), 0);
  const int32_t id = LoadMidi("music_relative.mid");
  const int32_t missing = LoadMidi("Music/song10.mid");
  ASSERT_EQ(chdir(previous), 0);
  EXPECT_EQ(id, 0);
  EXPECT_EQ(missing, -1);
  EXPECT_EQ(MidiTable[1].state, kMidiStateFree);
}

TEST_F(MusicTable, PlayOnAFreeSlotOrAnIdOutsideTheTableIsRefused) {
  const int32_t a = LoadMidi(ShortSong("a.mid").c_str());
  ASSERT_EQ(PlayMidi(a), 1);
  for (int32_t id : {5, -1, 64, 1000}) {
    EXPECT_EQ(PlayMidi(id), 0);
    EXPECT_EQ(StopMidi(id), 0);
    EXPECT_EQ(GetMidiStatus(id), 0);
    EXPECT_EQ(DeleteMidi(id), 1);
  }
  EXPECT_EQ(CurrentMidi, a);
  EXPECT_EQ(MidiTable[a].state, kMidiStatePlaying);
}

TEST_F(MusicTable, PlayingAnotherSongStopsTheCurrentOne) {
  const int32_t a = LoadMidi(ShortSong("a.mid", 2.0).c_str());
  const int32_t b = LoadMidi(ShortSong("b.mid", 2.0, 67).c_str());
  ASSERT_EQ(PlayMidi(a), 1);
  EXPECT_EQ(CurrentMidi, a);
  RenderLoudness(0.05);
  ASSERT_EQ(PlayMidi(b), 1);
  EXPECT_EQ(MidiTable[a].state, kMidiStateStopped);
  EXPECT_EQ(MidiTable[b].state, kMidiStatePlaying);
  EXPECT_EQ(CurrentMidi, b);
  EXPECT_EQ(GetMidiStatus(a), kMidiStateStopped);
  EXPECT_EQ(GetMidiStatus(b), kMidiStatePlaying);
}

TEST_F(MusicTable, SixSongsPlayedInTurnEachSoundAndTheFirstAgainAfterThem) {
  std::vector<int32_t> songs;
  for (uint8_t key = 60; key < 66; ++key)
    songs.push_back(LoadMidi(ShortSong("turn" + std::to_string(key) + ".mid", 1.0, key).c_str()));
  songs.push_back(songs.front());
  for (const int32_t id : songs) {
    ASSERT_GE(id, 0);
    ASSERT_EQ(PlayMidi(id), 1);
    EXPECT_GT(RenderLoudness(0.1), kAudible) << "song " << id;
    EXPECT_EQ(GetMidiStatus(id), kMidiStatePlaying);
  }
}

TEST_F(MusicTable, PlayingTheCurrentSongAgainRestartsItFromTheBeginning) {
  const int32_t a = LoadMidi(ShortSong("a.mid", 3.0).c_str());
  ASSERT_EQ(PlayMidi(a), 1);
  EXPECT_GT(RenderLoudness(0.1), kAudible);
  RenderLoudness(1.5);  // past the note and its release: the rest of the song is quiet
  EXPECT_LT(RenderLoudness(0.1), kAudible / 10);
  ASSERT_EQ(PlayMidi(a), 1);
  EXPECT_EQ(CurrentMidi, a);
  EXPECT_EQ(MidiTable[a].state, kMidiStatePlaying);
  EXPECT_GT(RenderLoudness(0.1), kAudible);  // the opening note again
}

TEST_F(MusicTable, StopSilencesAtOnceAndClearsCurrentMidiWhicheverSong) {
  const int32_t a = LoadMidi(ShortSong("a.mid", 2.0).c_str());
  const int32_t b = LoadMidi(ShortSong("b.mid").c_str());
  ASSERT_EQ(PlayMidi(a), 1);
  EXPECT_GT(RenderLoudness(0.1), kAudible);
  EXPECT_EQ(StopMidi(b), 1);  // a song never played: stopped, and CurrentMidi cleared all the same
  EXPECT_EQ(MidiTable[b].state, kMidiStateStopped);
  EXPECT_EQ(CurrentMidi, -1);
  EXPECT_EQ(GetMidiStatus(a), kMidiStatePlaying);
  EXPECT_EQ(StopMidi(a), 1);
  EXPECT_EQ(MidiTable[a].state, kMidiStateStopped);
  EXPECT_LT(RenderLoudness(0.1), kSilent);
  EXPECT_EQ(GetMidiStatus(a), kMidiStateStopped);
}

TEST_F(MusicTable, ASongThatEndedByItselfReadsStopped) {
  const int32_t a = LoadMidi(ShortSong("a.mid", 0.3).c_str());
  ASSERT_EQ(PlayMidi(a), 1);
  RenderLoudness(0.1);
  EXPECT_EQ(GetMidiStatus(a), kMidiStatePlaying);
  RenderLoudness(0.5);
  EXPECT_EQ(GetMidiStatus(a), kMidiStateStopped);
  EXPECT_EQ(CurrentMidi, a);  // only StopMidi clears it
}

TEST_F(MusicTable, DeleteFreesTheSlotWithoutStoppingTheSong) {
  const int32_t a = LoadMidi(ShortSong("a.mid", 2.0).c_str());
  ASSERT_EQ(PlayMidi(a), 1);
  EXPECT_EQ(DeleteMidi(a), 1);
  EXPECT_EQ(MidiTable[a].state, kMidiStateFree);
  EXPECT_EQ(MidiTable[a].segment, nullptr);
  EXPECT_EQ(CurrentMidi, a);
  EXPECT_GT(RenderLoudness(0.1), kAudible);
  EXPECT_EQ(PlayMidi(a), 0);
  EXPECT_EQ(DeleteMidi(a), 1);  // a free slot: nothing changes
  EXPECT_EQ(ShutdownMusic(), 1);
  EXPECT_EQ(MusicPerformance, nullptr);
  EXPECT_EQ(MusicLoader, nullptr);
  EXPECT_LT(RenderLoudness(0.05), kSilent);
}

TEST_F(MusicTable, FilesThatAreNotStandardMidiFilesGiveMinusOneWithTheSlotFree) {
  const std::vector<uint8_t> good = testmidi::Song({{0, 48, 60}}, 96);
  std::vector<uint8_t> noHeader = good;
  noHeader[1] = 'X';
  std::vector<uint8_t> shortHeader = testmidi::Header(0, 1, 96);
  shortHeader[7] = 4;  // declares 4 bytes: too short for format, tracks and division
  shortHeader.resize(12);
  const std::vector<uint8_t> track(good.begin() + 14, good.end());
  shortHeader.insert(shortHeader.end(), track.begin(), track.end());
  std::vector<uint8_t> trackPastEnd = good;
  trackPastEnd.resize(good.size() - 3);
  std::vector<uint8_t> fewerTracks = good;
  fewerTracks[11] = 2;  // declares two tracks, holds one
  std::vector<uint8_t> zeroDivision = good;
  zeroDivision[12] = zeroDivision[13] = 0;
  // A tempo event whose length (266 MB) runs past its 7-byte track: the player would set that much aside.
  std::vector<uint8_t> metaPastEnd = testmidi::Header(0, 1, 96);
  const std::vector<uint8_t> hugeTempo = testmidi::Chunk("MTrk", {0x00, 0xFF, 0x51, 0xFE, 0xF8, 0xA1, 0x20});
  metaPastEnd.insert(metaPastEnd.end(), hugeTempo.begin(), hugeTempo.end());
  // A system-exclusive event one byte longer than what is left, after a note read with running status.
  std::vector<uint8_t> sysExPastEnd = testmidi::Header(0, 1, 96);
  const std::vector<uint8_t> longSysEx = testmidi::Chunk("MTrk", {0, 0x90, 60, 100, 0, 62, 100, 0, 0xF0, 3, 1, 0xF7});
  sysExPastEnd.insert(sysExPastEnd.end(), longSysEx.begin(), longSysEx.end());
  // The same tempo event begun in a one-byte track: the player reads an event to its end, past the track.
  std::vector<uint8_t> eventPastTrack = testmidi::Header(0, 1, 96);
  const std::vector<uint8_t> oneByteTrack = testmidi::Chunk("MTrk", {0x00});
  eventPastTrack.insert(eventPastTrack.end(), oneByteTrack.begin(), oneByteTrack.end());
  eventPastTrack.insert(eventPastTrack.end(), hugeTempo.begin() + 9, hugeTempo.end());
  // A second track going on with the first one's running status (the end-of-track meta event's): its first
  // data bytes make another tempo event of 266 MB.
  std::vector<uint8_t> runningIntoTrack = testmidi::Header(1, 2, 96);
  runningIntoTrack.insert(runningIntoTrack.end(), good.begin() + 14, good.end());
  const std::vector<uint8_t> statusless = testmidi::Chunk("MTrk", {0x00, 0x51, 0xFE, 0xF8, 0xA1, 0x20});
  runningIntoTrack.insert(runningIntoTrack.end(), statusless.begin(), statusless.end());
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  for (const Case& c : {Case{"noheader", noHeader}, Case{"shortheader", shortHeader}, Case{"pastend", trackPastEnd},
                        Case{"fewer", fewerTracks}, Case{"division", zeroDivision}, Case{"empty", {}},
                        Case{"metapastend", metaPastEnd}, Case{"sysexpastend", sysExPastEnd},
                        Case{"eventpasttrack", eventPastTrack}, Case{"runningintotrack", runningIntoTrack},
                        Case{"riff", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'R', 'M', 'I', 'D'}}}) {
    EXPECT_EQ(LoadMidi(Write(c.name, c.bytes).c_str()), -1) << c.name;
  }
  EXPECT_EQ(LoadMidi(testfiles::ScratchPath("no such song.mid").c_str()), -1);
  EXPECT_EQ(LoadMidi(testfiles::ProcessFolder().c_str()), -1);  // a folder
  EXPECT_EQ(MidiTable[0].state, kMidiStateFree);
  EXPECT_EQ(MidiTable[0].segment, nullptr);
}

TEST_F(MusicTable, LongerHeaderAndTrailingChunksAreAccepted) {
  const std::vector<uint8_t> song = testmidi::Song({{0, 48, 60}}, 96);
  std::vector<uint8_t> longHeader = testmidi::Header(0, 1, 96, 4);
  longHeader.insert(longHeader.end(), song.begin() + 14, song.end());
  // The system-exclusive event that fills the rest of its track exactly.
  std::vector<uint8_t> sysExToTheEnd = testmidi::Header(0, 1, 96);
  const std::vector<uint8_t> track = testmidi::Chunk("MTrk", {0, 0x90, 60, 100, 0, 62, 100, 0, 0xF0, 2, 1, 0xF7});
  sysExToTheEnd.insert(sysExToTheEnd.end(), track.begin(), track.end());
  EXPECT_EQ(LoadMidi(Write("sysex_to_end.mid", sysExToTheEnd).c_str()), 0);
  EXPECT_EQ(DeleteMidi(0), 1);
  const std::vector<uint8_t> extra = testmidi::Chunk("XTRA", {1, 2, 3});
  longHeader.insert(longHeader.end(), extra.begin(), extra.end());
  const int32_t id = LoadMidi(Write("longheader.mid", longHeader).c_str());
  ASSERT_EQ(id, 0);
  ASSERT_EQ(PlayMidi(id), 1);
  EXPECT_GT(RenderLoudness(0.1), kAudible);
}

TEST_F(MusicTable, SongAndEffectsShareOneMix) {
  const int32_t song = LoadMidi(ShortSong("a.mid", 2.0).c_str());
  testwave::WaveLayout wave;
  wave.samples.assign(11025, 160);
  const int32_t effect =
      LoadWav(testwave::WriteFile(testfiles::ScratchPath("music_fx.wav"), testwave::BuildWave(wave)).c_str());
  ASSERT_GE(effect, 0);
  PlayMidi(song);
  const double songAlone = RenderLoudness(0.05);
  PlayMidi(song);
  PlaySoundEffect(effect, 0, 0, 0, 0);
  const double both = RenderLoudness(0.05);
  EXPECT_GT(songAlone, kAudible);
  EXPECT_GT(both, songAlone);
}

TEST_F(MusicTable, MasterVolumesScaleSongAndEffectsAfterTheProgramsOwnVolumes) {
  const int32_t song = LoadMidi(ShortSong("master.mid", 2.0).c_str());
  testwave::WaveLayout wave;
  wave.samples.assign(11025, 160);
  const int32_t effect =
      LoadWav(testwave::WriteFile(testfiles::ScratchPath("master_fx.wav"), testwave::BuildWave(wave)).c_str());
  ASSERT_GE(effect, 0);
  ASSERT_EQ(SetSoundVolume(effect, 50), 1);
  // The same 50 ms with each pair of master volumes; the program's own volume reads the same throughout.
  auto loudness = [&](int32_t music, int32_t effects, bool withEffect) {
    platform::SetMasterVolumes(music, effects);
    PlayMidi(song);
    if (withEffect) PlaySoundEffect(effect, 0, 0, 0, 0);
    const double rms = RenderLoudness(0.05);
    StopAllSoundEffects();
    return rms;
  };
  const double song100 = loudness(100, 0, false), song50 = loudness(50, 100, false);
  const double effect100 = loudness(0, 100, true), effect30 = loudness(0, 30, true);
  EXPECT_EQ(loudness(0, 0, true), 0.0);
  platform::SetMasterVolumes(100, 100);
  EXPECT_GT(song100, kAudible);
  EXPECT_NEAR(song50 / song100, 0.25, 0.01);  // a restarted song differs a little in its voices
  EXPECT_NEAR(effect30 / effect100, 0.09, 1e-4);
  int32_t ownVolume = 0;
  ASSERT_EQ(platform::GetSoundBufferVolume(SoundTable[effect].buffer, &ownVolume), 0);
  EXPECT_EQ(ownVolume, -1500);
}

TEST(MusicWithoutItsNeeds, NoSoundFontGivesZeroWithOneLineNamingThePackage) {
  testsupport::UseHeadlessBackend();
  testsupport::ResetSound();
  ASSERT_EQ(InitSound(), 1);
  const std::optional<std::string> previous = platform::EnvironmentVariable(testmusic::kInstrumentsVariable);
  testenv::Set(testmusic::kInstrumentsVariable, testmusic::kMissingInstrumentsPath);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(InitMusic(), 0);
  const std::string said = ::testing::internal::GetCapturedStderr();
  if (previous) testenv::Set(testmusic::kInstrumentsVariable, previous->c_str());
  else testenv::Unset(testmusic::kInstrumentsVariable);
  EXPECT_EQ(said, testmusic::kNoInstrumentsLine);
  EXPECT_EQ(LoadMidi("anything.mid"), -1);
  EXPECT_EQ(PlayMidi(0), 0);
  EXPECT_EQ(StopMidi(0), 0);
  EXPECT_EQ(ShutdownMusic(), 1);
  ShutdownSound();
}

TEST(MusicWithoutItsNeeds, NoSoundDeviceGivesZero) {
  testsupport::UseHeadlessBackend();
  testsupport::ResetSound();
  platform::SetHeadlessSoundDeviceAvailable(false);
  EXPECT_EQ(InitSound(), 0);
  platform::SetHeadlessSoundDeviceAvailable(true);
  EXPECT_EQ(InitMusic(), 0);
  EXPECT_EQ(LoadMidi("anything.mid"), -1);
  EXPECT_EQ(ShutdownMusic(), 1);
}
