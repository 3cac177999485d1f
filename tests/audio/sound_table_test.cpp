// The sound-effect table: slots, the WAVE loader on good and broken files, play/stop/status, the setters,
// duplicates and the refusal of ids outside the table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/sound_effects.h"
#include "platform/headless/headless.h"
#include "platform/sound.h"
#include "tests/support/headless_fixture.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wave_file.h"

namespace {

class SoundTableTest : public testsupport::HeadlessSoundTest {
 protected:
  void SetUp() override {
    HeadlessSoundTest::SetUp();
    ASSERT_EQ(InitSound(), 1);
    platform::TakeStartedBuffers();
  }
  void TearDown() override {
    platform::SetHeadlessSoundDeviceAvailable(true);
    platform::SetHeadlessBufferCreationFails(false);
  }

  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    return testwave::WriteFile(testfiles::ScratchPath("table_" + name), bytes);
  }
  std::string WriteWave(const std::string& name, const testwave::WaveLayout& wave) {
    return Write(name, testwave::BuildWave(wave));
  }
  std::string GoodWave(size_t samples = 100) {
    testwave::WaveLayout wave;
    wave.samples = testwave::Ramp(samples);
    return WriteWave("good.wav", wave);
  }
  int32_t Volume(int32_t id) {
    int32_t value = 1;
    platform::GetSoundBufferVolume(SoundTable[id].buffer, &value);
    return value;
  }
};

bool SlotIsFree(int32_t id) { return SoundTable[id].state == 0 && SoundTable[id].buffer == nullptr; }

}  // namespace

TEST_F(SoundTableTest, LoadsIntoTheLowestFreeSlotAndRecordsRateAndSize) {
  const std::string path = GoodWave(100);
  EXPECT_EQ(LoadWav(path.c_str()), 0);
  EXPECT_EQ(LoadWav(path.c_str()), 1);
  EXPECT_EQ(LoadWav(path.c_str()), 2);
  EXPECT_EQ(SoundTable[2].state, 1);
  EXPECT_EQ(SoundTable[2].rate, 11025);
  EXPECT_EQ(SoundTable[2].size, 100);
  EXPECT_EQ(SoundTable[2].id, 2);
  EXPECT_NE(SoundTable[2].buffer, nullptr);
  DeleteSound(1);
  EXPECT_EQ(SoundTable[1].buffer, nullptr);
  EXPECT_EQ(SoundTable[1].state, 1);  // a deleted sound's slot stays marked loaded: the next load skips it
  EXPECT_EQ(LoadWav(path.c_str()), 3);
  SoundTable[1].state = 0;  // a slot marked free is found again first
  EXPECT_EQ(LoadWav(path.c_str()), 1);
}

TEST_F(SoundTableTest, FullTableOrMissingDeviceRefusesBeforeLoading) {
  const std::string path = GoodWave();
  for (SoundSlot& slot : SoundTable) slot.state = 1;
  EXPECT_EQ(LoadWav(path.c_str()), -1);
  EXPECT_EQ(DuplicateSound(0), -1);
  for (const SoundSlot& slot : SoundTable) EXPECT_EQ(slot.buffer, nullptr);

  ShutdownSound();
  SoundInitPending = 1;
  platform::SetHeadlessSoundDeviceAvailable(false);
  EXPECT_EQ(InitSound(), 0);
  EXPECT_EQ(SoundDevice, nullptr);
  EXPECT_EQ(LoadWav(path.c_str()), -1);
  EXPECT_TRUE(SlotIsFree(0));
  // The device is made by the first InitSound only; a later call never tries again.
  platform::SetHeadlessSoundDeviceAvailable(true);
  EXPECT_EQ(InitSound(), 1);
  EXPECT_EQ(SoundDevice, nullptr);
}

TEST_F(SoundTableTest, AcceptsSixteenAndEighteenByteFormatChunks) {
  testwave::WaveLayout wave;
  wave.samples = testwave::Ramp(10);
  wave.fmtChunkSize = 16;
  EXPECT_EQ(LoadWav(WriteWave("fmt16.wav", wave).c_str()), 0);
  wave.fmtChunkSize = 18;
  EXPECT_EQ(LoadWav(WriteWave("fmt18.wav", wave).c_str()), 1);
  EXPECT_EQ(SoundTable[0].size, 10);
  EXPECT_EQ(SoundTable[1].size, 10);
}

TEST_F(SoundTableTest, AnyPcmLayoutLoadsAsItsBytesAndKeepsTheDeclaredRate) {
  testwave::WaveLayout wave;
  wave.rate = 22050;
  wave.channels = 2;
  wave.bitsPerSample = 16;
  wave.samples = testwave::Ramp(400);
  const int32_t id = LoadWav(WriteWave("stereo16.wav", wave).c_str());
  ASSERT_EQ(id, 0);
  EXPECT_EQ(SoundTable[id].rate, 22050);
  EXPECT_EQ(SoundTable[id].size, 400);
  // The bytes play as 8-bit mono at 11025 Hz: one output sample per byte at that rate.
  PlaySoundEffect(id, 0, 0, 0, 0);
  std::vector<float> out(2 * 400);
  platform::RenderHeadlessAudio(out.data(), 400, 11025);
  EXPECT_FLOAT_EQ(out[0], (129 - 128) / 128.0f);
  EXPECT_FLOAT_EQ(out[2 * 399], (static_cast<uint8_t>(129 + 399) - 128) / 128.0f);
  EXPECT_EQ(GetSoundStatus(id), 0);
}

TEST_F(SoundTableTest, NonPcmAndBrokenFilesGiveMinusOneAndLeaveTheSlotFree) {
  testwave::WaveLayout wave;
  wave.samples = testwave::Ramp(50);
  wave.formatTag = 3;
  EXPECT_EQ(LoadWav(WriteWave("float.wav", wave).c_str()), -1);
  wave.formatTag = 1;
  const std::vector<uint8_t> good = testwave::BuildWave(wave);
  std::vector<uint8_t> notWave = good;
  notWave[8] = 'A';  // form type "AAVE"
  EXPECT_EQ(LoadWav(Write("notwave.wav", notWave).c_str()), -1);
  std::vector<uint8_t> noData = good;
  noData[36] = 'D';  // "Data" is not "data"
  EXPECT_EQ(LoadWav(Write("nodata.wav", noData).c_str()), -1);
  EXPECT_EQ(LoadWav(testfiles::ScratchPath("no such file.wav").c_str()), -1);
  EXPECT_EQ(LoadWav(testfiles::ProcessFolder().c_str()), -1);  // a folder
  EXPECT_TRUE(SlotIsFree(0));
  EXPECT_EQ(LoadWav(Write("good.wav", good).c_str()), 0);
}

TEST_F(SoundTableTest, TruncatedHeadersAreRefusedAtEveryCut) {
  testwave::WaveLayout wave;
  wave.samples = testwave::Ramp(8);
  const std::vector<uint8_t> good = testwave::BuildWave(wave);
  // Cut anywhere before the first sample byte: header, format record, data header.
  for (size_t length = 0; length <= 44; ++length) {
    std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_EQ(LoadWav(Write("cut.wav", cut).c_str()), -1) << "length " << length;
    EXPECT_TRUE(SlotIsFree(0));
  }
  // A 16-byte format chunk at the very end: fewer than 18 readable bytes.
  std::vector<uint8_t> shortFormat(good.begin(), good.begin() + 36);
  EXPECT_EQ(LoadWav(Write("short_fmt.wav", shortFormat).c_str()), -1);
}

TEST_F(SoundTableTest, DataSizePastTheEndTakesOnlyWhatTheFileHolds) {
  testwave::WaveLayout wave;
  wave.samples = testwave::Ramp(30);
  wave.declaredDataSize = 0xFFFFFFFF;
  wave.declaredRiffSize = 0xFFFFFFFF;
  const int32_t id = LoadWav(WriteWave("streamed.wav", wave).c_str());
  ASSERT_EQ(id, 0);
  EXPECT_EQ(SoundTable[id].size, 30);
  // Every byte of the buffer is one the file held: the last one is the ramp's last.
  PlaySoundEffect(id, 0, 0, 0, 0);
  std::vector<float> out(2 * 31);
  platform::RenderHeadlessAudio(out.data(), 31, 11025);
  EXPECT_FLOAT_EQ(out[2 * 29], (129 + 29 - 128) / 128.0f);
  EXPECT_FLOAT_EQ(out[2 * 30], 0.0f);

  wave.declaredDataSize = 1000;  // more than the 30 bytes there, but not a sentinel
  EXPECT_EQ(LoadWav(WriteWave("long_claim.wav", wave).c_str()), 1);
  EXPECT_EQ(SoundTable[1].size, 30);
}

TEST_F(SoundTableTest, EmptyDataChunkGivesMinusOneWithTheSlotFree) {
  testwave::WaveLayout wave;
  EXPECT_EQ(LoadWav(WriteWave("empty.wav", wave).c_str()), -1);
  EXPECT_TRUE(SlotIsFree(0));
}

TEST_F(SoundTableTest, SlotWhoseBufferCannotBeMadeGoesBackToTheFreePool) {
  const std::string path = GoodWave();
  ASSERT_EQ(LoadWav(path.c_str()), 0);
  platform::SetHeadlessBufferCreationFails(true);
  EXPECT_EQ(LoadWav(path.c_str()), -1);
  EXPECT_TRUE(SlotIsFree(1));
  EXPECT_EQ(DuplicateSound(0), -1);
  EXPECT_TRUE(SlotIsFree(1));
  EXPECT_EQ(SoundTable[1].id, 1);
  platform::SetHeadlessBufferCreationFails(false);
  EXPECT_EQ(LoadWav(path.c_str()), 1);
}

TEST_F(SoundTableTest, ChunkSizesThatLieNeverLeadOutsideTheFile) {
  testwave::WaveLayout wave;
  wave.samples = testwave::Ramp(20);
  std::vector<uint8_t> bytes = testwave::BuildWave(wave);
  bytes[16] = bytes[17] = bytes[18] = bytes[19] = 0xFF;  // fmt chunk claims 4 GB: "data" lies beyond the file
  EXPECT_EQ(LoadWav(Write("huge_fmt.wav", bytes).c_str()), -1);
  wave.declaredRiffSize = 20;  // the RIFF form ends inside the format chunk: no "data" within it
  EXPECT_EQ(LoadWav(WriteWave("short_riff.wav", wave).c_str()), -1);
  EXPECT_TRUE(SlotIsFree(0));
}

TEST_F(SoundTableTest, ChunksBeforeTheFormatAndOddSizedChunksAreSkipped) {
  testwave::WaveLayout wave;
  wave.samples = testwave::Ramp(12);
  std::vector<uint8_t> plain = testwave::BuildWave(wave);
  // Insert an odd-sized "LIST" chunk (5 bytes + 1 pad) between "WAVE" and "fmt ".
  std::vector<uint8_t> extra = {'L', 'I', 'S', 'T', 5, 0, 0, 0, 'I', 'N', 'F', 'O', 'x', 0};
  std::vector<uint8_t> bytes(plain.begin(), plain.begin() + 12);
  bytes.insert(bytes.end(), extra.begin(), extra.end());
  bytes.insert(bytes.end(), plain.begin() + 12, plain.end());
  const uint32_t riffSize = static_cast<uint32_t>(bytes.size() - 8);
  for (int i = 0; i < 4; ++i) bytes[4 + i] = static_cast<uint8_t>(riffSize >> (8 * i));
  const int32_t id = LoadWav(Write("list.wav", bytes).c_str());
  ASSERT_EQ(id, 0);
  EXPECT_EQ(SoundTable[id].size, 12);
}

TEST_F(SoundTableTest, PlayRestartsFromTheFirstSampleAndReportsStatus) {
  const int32_t id = LoadWav(GoodWave(100).c_str());
  ASSERT_EQ(id, 0);
  EXPECT_EQ(GetSoundStatus(id), 0);
  EXPECT_EQ(PlaySoundEffect(id, 0, 0, 0, 0), 1);
  EXPECT_EQ(GetSoundStatus(id), 1);
  std::vector<float> out(2 * 40);
  platform::RenderHeadlessAudio(out.data(), 40, 11025);
  EXPECT_FLOAT_EQ(out[2 * 39], 40 / 128.0f);
  EXPECT_EQ(PlaySoundEffect(id, 0, 0, 0, 0), 1);  // still playing: starts again
  platform::RenderHeadlessAudio(out.data(), 40, 11025);
  EXPECT_FLOAT_EQ(out[0], 1 / 128.0f);
  EXPECT_EQ(platform::TakeStartedBuffers().size(), 2u);

  EXPECT_EQ(PlaySoundEffect(id, DSBPLAY_LOOPING, 0, 0, 0), 1);
  EXPECT_EQ(GetSoundStatus(id), 5);
  EXPECT_EQ(StopSoundEffect(id), 1);
  EXPECT_EQ(GetSoundStatus(id), 0);
  uint32_t position = 99;
  platform::GetSoundBufferPosition(SoundTable[id].buffer, &position);
  EXPECT_EQ(position, 0u);
}

TEST_F(SoundTableTest, EmptySlotPlaysNothingAndHasNoStatus) {
  EXPECT_EQ(PlaySoundEffect(5, 0, 0, 0, 0), 1);
  EXPECT_EQ(GetSoundStatus(5), -1);
  EXPECT_TRUE(platform::TakeStartedBuffers().empty());
}

TEST_F(SoundTableTest, VolumeMapsZeroToHundredOntoMinusThirtyDecibelsToZero) {
  const int32_t id = LoadWav(GoodWave().c_str());
  EXPECT_EQ(SetSoundVolume(id, 100), 1);
  EXPECT_EQ(Volume(id), 0);
  EXPECT_EQ(SetSoundVolume(id, 50), 1);
  EXPECT_EQ(Volume(id), -1500);
  EXPECT_EQ(SetSoundVolume(id, 0), 1);
  EXPECT_EQ(Volume(id), -3000);
  EXPECT_EQ(SetSoundVolume(id, 101), 0);  // would amplify: refused, value kept
  EXPECT_EQ(Volume(id), -3000);
  // Far below 0: -30 x (100 - volume) is -15 x 2^32 here, which 32-bit arithmetic would turn into 0 (full volume).
  EXPECT_EQ(SetSoundVolume(id, INT32_MIN + 100), 0);
  EXPECT_EQ(Volume(id), -3000);
  EXPECT_EQ(SetSoundFrequency(id, 22050), 1);
  EXPECT_EQ(SetSoundFrequency(id, 50), 0);
  EXPECT_EQ(SetSoundPan(id, -10000), 1);
  EXPECT_EQ(SetSoundPan(id, 10001), 0);
  EXPECT_EQ(SetSoundVolume(7, 50), 0);  // empty slot: the platform refuses
}

TEST_F(SoundTableTest, IdsOutsideTheTableAreRefusedHarmlessly) {
  LoadWav(GoodWave().c_str());
  for (int32_t id : {-1, 256, -100000, 1 << 30}) {
    EXPECT_EQ(PlaySoundEffect(id, 0, 0, 0, 0), 1);
    EXPECT_EQ(SetSoundVolume(id, 50), 0);
    EXPECT_EQ(SetSoundFrequency(id, 11025), 0);
    EXPECT_EQ(SetSoundPan(id, 0), 0);
    EXPECT_EQ(StopSoundEffect(id), 1);
    EXPECT_EQ(DeleteSound(id), 1);
    EXPECT_EQ(GetSoundStatus(id), -1);
    EXPECT_EQ(DuplicateSound(id), -1);
  }
  EXPECT_TRUE(platform::TakeStartedBuffers().empty());
  EXPECT_NE(SoundTable[0].buffer, nullptr);
}

TEST_F(SoundTableTest, DuplicateSharesTheSamplesButPlaysOnItsOwn) {
  const int32_t id = LoadWav(GoodWave(100).c_str());
  const int32_t copy = DuplicateSound(id);
  ASSERT_EQ(copy, 1);
  EXPECT_EQ(SoundTable[copy].id, 1);
  EXPECT_EQ(SoundTable[copy].size, 100);
  EXPECT_EQ(SoundTable[copy].state, 1);
  EXPECT_NE(SoundTable[copy].buffer, SoundTable[id].buffer);
  PlaySoundEffect(copy, 0, 0, 0, 0);
  EXPECT_EQ(GetSoundStatus(copy), 1);
  EXPECT_EQ(GetSoundStatus(id), 0);
  std::vector<float> out(2 * 3);
  platform::RenderHeadlessAudio(out.data(), 3, 11025);
  EXPECT_FLOAT_EQ(out[4], 3 / 128.0f);
  // A deleted sound's slot stays taken; duplicating it fails and frees the slot it had chosen.
  DeleteSound(id);
  EXPECT_EQ(SoundTable[id].state, 1);
  EXPECT_EQ(DuplicateSound(id), -1);
  EXPECT_TRUE(SlotIsFree(2));
  EXPECT_EQ(GetSoundStatus(copy), 1);  // the copy's samples outlive the original
}

TEST_F(SoundTableTest, InitSoundAgainEmptiesTheTableAndShutdownReleasesEverything) {
  const std::string path = GoodWave();
  LoadWav(path.c_str());
  LoadWav(path.c_str());
  PlaySoundEffect(1, DSBPLAY_LOOPING, 0, 0, 0);
  EXPECT_EQ(InitSound(), 1);
  for (int32_t i = 0; i < kSoundSlotCount; ++i) {
    EXPECT_TRUE(SlotIsFree(i));
    EXPECT_EQ(SoundTable[i].id, i);
  }
  EXPECT_EQ(LoadWav(path.c_str()), 0);
  EXPECT_EQ(DeleteAllSounds(), 1);
  EXPECT_EQ(GetSoundStatus(0), -1);
  LoadWav(path.c_str());
  EXPECT_EQ(ShutdownSound(), 1);
  EXPECT_EQ(SoundDevice, nullptr);
  EXPECT_EQ(SoundTable[1].state, 1);  // the table itself is not cleared
  EXPECT_EQ(SoundTable[1].buffer, nullptr);
  EXPECT_EQ(PlaySoundEffect(1, 0, 0, 0, 0), 1);
}
