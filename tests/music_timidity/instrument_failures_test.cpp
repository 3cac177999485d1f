// The Timidity renderer with a damaged instrument set: a config it cannot read, or a patch that is missing,
// empty, cut short or inconsistent, refuses the music with one MUSIC line; a set without an instrument for the
// song's notes leaves the song silent with one MUSIC line however often it is played. Never a crash.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "platform/headless/headless.h"
#include "platform/music.h"
#include "platform/process_environment.h"
#include "tests/support/headless_fixture.h"
#include "tests/support/midi_file.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wave_file.h"

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kRate = platform::kHeadlessMusicRate;
// The patch that plays program 0 (the test songs' piano) in the built set: the nearest the song ships.
constexpr const char* kPianoPatch = "Tone_000/038_Synth_Bass_1.pat";
// Places in a GUS patch: the sample count in the 239-byte header, then the first sample's length, loop points
// and root frequency (little-endian, after its 7-byte name and a byte of loop fractions).
constexpr size_t kSampleCountAt = 198, kLengthAt = 247, kLoopStartAt = 251, kLoopEndAt = 255, kRootAt = 269;

std::string Poke(std::string bytes, size_t at, const std::string& value) {
  return bytes.replace(at, value.size(), value);
}

double RenderLoudness(double seconds) {
  const uint32_t frames = static_cast<uint32_t>(seconds * kRate);
  std::vector<float> out(2 * static_cast<size_t>(frames));
  platform::RenderHeadlessAudio(out.data(), frames, kRate);
  double sum = 0;
  for (float sample : out) sum += static_cast<double>(sample) * sample;
  return std::sqrt(sum / out.size());
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class DamagedInstruments : public testsupport::HeadlessSoundTest {
 protected:
  void SetUp() override {
    const auto built = platform::EnvironmentVariable("TAVO_INSTRUMENTS");
    ASSERT_TRUE(built) << "the tests read the built instrument set through TAVO_INSTRUMENTS";
    builtConfig = *built;
    HeadlessSoundTest::SetUp();
    ASSERT_EQ(InitSound(), 1);
  }
  void TearDown() override {
    ShutdownMusic();
    ShutdownSound();
    platform::SetEnvironmentVariable("TAVO_INSTRUMENTS", builtConfig);
  }
  // A copy of the built set in a scratch folder of its own, which the renderer then reads.
  fs::path CopyOfTheSet(const std::string& name) {
    const fs::path folder = fs::path(testfiles::ScratchPath(name)) / "Instruments";
    fs::create_directories(folder.parent_path());
    fs::copy(fs::path(builtConfig).parent_path(), folder, fs::copy_options::recursive);
    platform::SetEnvironmentVariable("TAVO_INSTRUMENTS", (folder / "timidity.cfg").string());
    return folder;
  }
  // Starts a two-second song twice (as a new match would) and returns its loudness after each start.
  std::vector<double> PlayTwice() {
    const std::string path =
        testwave::WriteFile(testfiles::ScratchPath("two_seconds.mid"), testmidi::Song({{0, 300, 60}}, 384));
    const int32_t id = LoadMidi(path.c_str());
    EXPECT_GE(id, 0);
    std::vector<double> loudness;
    for (int start = 0; start < 2; ++start) {
      EXPECT_EQ(PlayMidi(id), 1);
      loudness.push_back(RenderLoudness(0.2));
    }
    return loudness;
  }
  std::string builtConfig;
};

TEST_F(DamagedInstruments, APatchThatWouldNotPlayRefusesTheMusicWithOneLine) {
  struct Case {
    const char* name;
    std::string (*damage)(const std::string& patch);  // the patch's new bytes; "-" removes it
  };
  const Case cases[] = {
      {"intact", [](const std::string& patch) { return patch; }},
      {"missing", [](const std::string&) { return std::string("-"); }},
      {"empty", [](const std::string&) { return std::string(); }},
      {"header only", [](const std::string& patch) { return patch.substr(0, 239); }},
      {"cut in its samples", [](const std::string& patch) { return patch.substr(0, patch.size() / 2); }},
      {"cut by one byte", [](const std::string& patch) { return patch.substr(0, patch.size() - 1); }},
      {"not a patch", [](const std::string& patch) { return std::string(patch.size(), '\x5A'); }},
      {"another magic", [](const std::string& patch) { return "GF1PATCH999" + patch.substr(11); }},
      {"no samples", [](const std::string& patch) { return Poke(patch, kSampleCountAt, std::string(1, '\0')); }},
      {"length past the file", [](const std::string& patch) { return Poke(patch, kLengthAt, "\xF0\xFF\xFF\x0F"); }},
      {"loop past the end", [](const std::string& patch) { return Poke(patch, kLoopEndAt, "\xF0\xFF\x7F\x00"); }},
      {"loop backwards", [](const std::string& patch) { return Poke(patch, kLoopStartAt, "\xFF\xFF\x7F\x00"); }},
      {"no root frequency", [](const std::string& patch) { return Poke(patch, kRootAt, std::string(4, '\0')); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path folder = CopyOfTheSet(std::string("set_") + std::to_string(&c - cases));
    const std::string damaged = c.damage(ReadBytes(folder / kPianoPatch));
    if (damaged == "-") fs::remove(folder / kPianoPatch);
    else WriteBytes(folder / kPianoPatch, damaged);
    const bool intact = std::string(c.name) == "intact";
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(InitMusic(), intact ? 1 : 0);
    const int32_t id =
        LoadMidi(testwave::WriteFile(testfiles::ScratchPath("song.mid"), testmidi::Song({{0, 300, 60}}, 384)).c_str());
    EXPECT_EQ(PlayMidi(id), intact ? 1 : 0);
    const double loudness = RenderLoudness(0.2);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(loudness > 1e-3, intact) << loudness;
    EXPECT_EQ(said, intact ? std::string()
                           : "MUSIC: the instrument set " + (folder / "timidity.cfg").string() +
                                 " has a missing or damaged patch " + kPianoPatch + "\n");
    ShutdownMusic();
  }
}

TEST_F(DamagedInstruments, ASetWithoutTheSongsInstrumentLeavesItSilentWithOneLine) {
  const fs::path folder = CopyOfTheSet("no_piano");
  // The bass alone, for program 38: the test songs' piano has nothing to play it.
  WriteBytes(folder / "timidity.cfg", std::string("bank 0\n38 ") + kPianoPatch + "\n");
  ::testing::internal::CaptureStderr();
  ASSERT_EQ(InitMusic(), 1);
  std::vector<double> loudness = PlayTwice();
  // More refused songs than the renderer keeps, one after the other.
  for (uint8_t key = 61; key < 67; ++key) {
    const int32_t id = LoadMidi(testwave::WriteFile(testfiles::ScratchPath("refused" + std::to_string(key) + ".mid"),
                                                    testmidi::Song({{0, 96, key}}, 192))
                                    .c_str());
    ASSERT_GE(id, 0);
    EXPECT_EQ(PlayMidi(id), 1);
    loudness.push_back(RenderLoudness(0.05));
  }
  const std::string said = ::testing::internal::GetCapturedStderr();
  for (double rms : loudness) EXPECT_LT(rms, 1e-6);
  EXPECT_EQ(said, "MUSIC: the instrument set has no instrument for some notes of the song; it stays silent\n");
  EXPECT_EQ(GetMidiStatus(CurrentMidi), kMidiStateStopped);
}

TEST_F(DamagedInstruments, AConfigItCannotReadRefusesTheMusicWithOneLine) {
  const fs::path folder = CopyOfTheSet("bad_config");
  WriteBytes(folder / "timidity.cfg", std::string("bank 0\n0 ") + kPianoPatch + " amp=loud\n");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(InitMusic(), 0);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(said, "MUSIC: cannot read the instrument set " + (folder / "timidity.cfg").string() + "\n");
  EXPECT_EQ(LoadMidi("anything.mid"), -1);
  EXPECT_EQ(PlayMidi(0), 0);
}

}  // namespace
