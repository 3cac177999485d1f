// The sound-effect table: the device, 256 slots, the WAVE loader and the play/stop/set operations.
// Ids outside 0..255 (a failed load's -1 above all) are refused without touching the table.
#include "audio/sound_effects.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "audio/riff_reader.h"

SoundSlot SoundTable[kSoundSlotCount];
platform::SoundDeviceObject* SoundDevice = nullptr;
int32_t SoundInitPending = 1;
int32_t SoundEffectsHeld = 0;
int32_t HeldSoundIds[kHeldSoundRecord] = {};
int32_t HeldSoundCount = 0;

namespace {

constexpr uint32_t DSSCL_NORMAL = 1;
constexpr uint16_t WAVE_FORMAT_PCM = 1;
constexpr int32_t kWaveFormatBytes = 18;  // the format record as read, extra-size field included

// Static, software-mixed, with volume, frequency and pan control so the three setters work.
constexpr uint32_t kEffectBufferFlags = platform::kSoundBufferStatic | platform::kSoundBufferLocSoftware |
                                        platform::kSoundBufferCtrlFrequency | platform::kSoundBufferCtrlPan |
                                        platform::kSoundBufferCtrlVolume;

bool IsSoundId(int32_t id) { return id >= 0 && id < kSoundSlotCount; }

int32_t FindFreeSoundSlot() {
  for (int32_t i = 0; i < kSoundSlotCount; ++i)
    if (SoundTable[i].state == 0) return i;
  return -1;
}

void ClearSlot(int32_t index) { SoundTable[index] = SoundSlot{nullptr, 0, 0, 0, index}; }

std::string lastLoadError;

// LoadWav's refusal: keeps the reason for LastWavLoadError and gives -1.
int32_t RefuseLoad(const char* reason) {
  lastLoadError = reason;
  return -1;
}

// What LoadWav takes from a file: the declared rate and the sample bytes the file really holds.
struct WaveContents {
  int32_t rate = 0;
  std::vector<uint8_t> samples;
};

// Walks RIFF "WAVE" -> "fmt " -> "data". Refuses a missing chunk, a short format record and a non-PCM tag;
// returns null when the samples were read, else why not.
const char* ReadWaveFile(RiffFile* file, WaveContents* contents) {
  ChunkInfo outer{};
  ChunkInfo inner = outer;
  outer.fccType = MakeFourCc('W', 'A', 'V', 'E');
  if (RiffDescend(file, &outer, nullptr, MMIO_FINDRIFF) != kRiffOk) return "not a RIFF WAVE file";
  inner.ckid = MakeFourCc('f', 'm', 't', ' ');
  if (RiffDescend(file, &inner, &outer, MMIO_FINDCHUNK) != kRiffOk) return "no format chunk";
  // KEEP: 18 bytes are read even from a 16-byte format chunk (SoundTableTest.AcceptsSixteen... checks).
  uint8_t format[kWaveFormatBytes];
  if (RiffRead(file, format, kWaveFormatBytes) != kWaveFormatBytes) return "the format record is cut short";
  const uint16_t formatTag = static_cast<uint16_t>(format[0] | (format[1] << 8));
  if (formatTag != WAVE_FORMAT_PCM) return "not PCM samples";
  uint32_t samplesPerSecond;
  std::memcpy(&samplesPerSecond, format + 4, sizeof samplesPerSecond);
  contents->rate = static_cast<int32_t>(samplesPerSecond);
  if (RiffAscend(file, &inner, 0) != kRiffOk) return "cannot step past the format chunk";
  inner.ckid = MakeFourCc('d', 'a', 't', 'a');
  if (RiffDescend(file, &inner, &outer, MMIO_FINDCHUNK) != kRiffOk) return "no data chunk";
  // Take only what the file holds: a declared size past the end (0xFFFFFFFF from a streaming writer) is cut.
  const uint64_t available = file->position < file->length ? file->length - file->position : 0;
  const uint64_t size = std::min<uint64_t>(inner.cksize, available);
  if (size > platform::kSoundBufferMaxBytes) return "more samples than a sound buffer holds";
  contents->samples.resize(static_cast<size_t>(size));
  const int32_t got = RiffRead(file, contents->samples.data(), static_cast<int32_t>(size));
  contents->samples.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return nullptr;
}

// Copies the samples into a new buffer through Lock and Unlock; null when the platform refuses.
platform::SoundBuffer* MakeFilledBuffer(const std::vector<uint8_t>& samples) {
  platform::SoundBufferDesc desc;
  desc.flags = kEffectBufferFlags;
  desc.bytes = static_cast<uint32_t>(samples.size());
  // KEEP: every sound plays as 8-bit mono at 11025 Hz whatever its file says: what the player hears.
  desc.frequency = platform::kSoundDefaultFrequency;
  platform::SoundBuffer* buffer = nullptr;
  if (platform::CreateSoundBuffer(SoundDevice, desc, &buffer) < 0) return nullptr;
  void* region1 = nullptr;
  void* region2 = nullptr;
  uint32_t bytes1 = 0, bytes2 = 0;
  if (platform::LockSoundBuffer(buffer, 0, desc.bytes, &region1, &bytes1, &region2, &bytes2,
                                platform::kSoundLockFromWriteCursor) < 0) {
    platform::ReleaseSoundBuffer(buffer);
    return nullptr;
  }
  std::memcpy(region1, samples.data(), bytes1);
  if (region2) std::memcpy(region2, samples.data() + bytes1, bytes2);
  if (platform::UnlockSoundBuffer(buffer, region1, bytes1, region2, bytes2) < 0) {
    platform::ReleaseSoundBuffer(buffer);
    return nullptr;
  }
  return buffer;
}

}  // namespace

int32_t InitSound() {
  // KEEP: the device is made on the first call only, never retried (SoundTableTest.FullTable... checks).
  if (SoundInitPending == 1) {
    std::memset(SoundTable, 0, sizeof SoundTable);
    SoundInitPending = 0;
    if (platform::CreateSoundDevice(&SoundDevice) < 0) return 0;
    if (platform::SetSoundCooperativeLevel(SoundDevice, DSSCL_NORMAL) < 0) return 0;
  }
  for (int32_t i = 0; i < kSoundSlotCount; ++i) {
    if (SoundTable[i].buffer) {
      platform::StopSoundBuffer(SoundTable[i].buffer);
      platform::ReleaseSoundBuffer(SoundTable[i].buffer);
    }
    ClearSlot(i);
  }
  return 1;
}

int32_t LoadWav(const char* fileName) {
  lastLoadError.clear();
  const int32_t index = FindFreeSoundSlot();
  if (index < 0 || !SoundDevice) return RefuseLoad(index < 0 ? "every sound slot is taken" : "no sound device");
  RiffFile* file = RiffOpen(fileName);
  if (!file) return RefuseLoad("cannot open the file");
  WaveContents contents;
  const char* unread = ReadWaveFile(file, &contents);
  RiffClose(file);
  if (unread) return RefuseLoad(unread);
  if (contents.samples.empty()) return RefuseLoad("no samples");

  SoundSlot& slot = SoundTable[index];
  slot.rate = contents.rate;
  slot.size = static_cast<int32_t>(contents.samples.size());
  slot.state = 1;
  slot.buffer = MakeFilledBuffer(contents.samples);
  // A slot whose buffer could not be made or filled goes back to the free pool.
  if (!slot.buffer) {
    ClearSlot(index);
    return RefuseLoad("the platform refused the sound buffer");
  }
  return index;
}

const std::string& LastWavLoadError() { return lastLoadError; }

int32_t DuplicateSound(int32_t id) {
  if (!IsSoundId(id) || !SoundDevice) return -1;
  const int32_t index = FindFreeSoundSlot();
  if (index < 0) return -1;
  SoundTable[index] = SoundTable[id];
  SoundTable[index].buffer = nullptr;
  if (platform::DuplicateSoundBuffer(SoundDevice, SoundTable[id].buffer, &SoundTable[index].buffer) < 0) {
    ClearSlot(index);
    return -1;
  }
  SoundTable[index].id = index;
  return index;
}

int32_t PlaySoundEffect(int32_t id, uint32_t flags, int32_t /*extra1*/, int32_t /*extra2*/, int32_t /*extra3*/) {
  // KEEP: a slot without sound counts as played (1): the game runs on silent (SoundTableTest.EmptySlot...).
  if (!IsSoundId(id) || !SoundTable[id].buffer) return 1;
  if (SoundEffectsHeld != 0) {
    if (HeldSoundCount < kHeldSoundRecord) HeldSoundIds[HeldSoundCount] = id;
    ++HeldSoundCount;
    return 1;
  }
  platform::SoundBuffer* buffer = SoundTable[id].buffer;
  // Rewinding first makes a sound that is still playing start again from its first sample.
  if (platform::SetSoundBufferPosition(buffer, 0) < 0) return 0;
  if (platform::PlaySoundBuffer(buffer, flags) < 0) return 0;
  return 1;
}

int32_t SetSoundVolume(int32_t id, int32_t volume) {
  if (!IsSoundId(id)) return 0;
  // 100 is full volume; each step below it takes 0.3 dB off, down to -30 dB at 0. Worked out in 64 bits so a
  // volume far outside 0..100 cannot wrap round into an accepted level; it stays out of range and is refused.
  const int64_t hundredths = std::clamp<int64_t>(-30 * (100 - int64_t{volume}), INT32_MIN, INT32_MAX);
  return platform::SetSoundBufferVolume(SoundTable[id].buffer, static_cast<int32_t>(hundredths)) == 0 ? 1 : 0;
}

int32_t SetSoundFrequency(int32_t id, int32_t frequency) {
  if (!IsSoundId(id)) return 0;
  return platform::SetSoundBufferFrequency(SoundTable[id].buffer, static_cast<uint32_t>(frequency)) == 0 ? 1 : 0;
}

int32_t SetSoundPan(int32_t id, int32_t pan) {
  if (!IsSoundId(id)) return 0;
  return platform::SetSoundBufferPan(SoundTable[id].buffer, pan) == 0 ? 1 : 0;
}

int32_t StopSoundEffect(int32_t id) {
  if (!IsSoundId(id)) return 1;
  if (SoundTable[id].buffer) {
    platform::StopSoundBuffer(SoundTable[id].buffer);
    platform::SetSoundBufferPosition(SoundTable[id].buffer, 0);
  }
  return 1;
}

int32_t StopAllSoundEffects() {
  for (int32_t i = 0; i < kSoundSlotCount; ++i) StopSoundEffect(i);
  return 1;
}

// KEEP: the slot stays marked loaded after its buffer goes, so loads skip it (SoundTableTest.LoadsIntoTheLowest...).
int32_t DeleteSound(int32_t id) {
  if (!IsSoundId(id)) return 1;
  StopSoundEffect(id);
  if (SoundTable[id].buffer) {
    platform::ReleaseSoundBuffer(SoundTable[id].buffer);
    SoundTable[id].buffer = nullptr;
  }
  return 1;
}

int32_t DeleteAllSounds() {
  for (int32_t i = 0; i < kSoundSlotCount; ++i) DeleteSound(i);
  return 1;
}

int32_t GetSoundStatus(int32_t id) {
  if (!IsSoundId(id) || !SoundTable[id].buffer) return -1;
  uint32_t status = 0;
  if (platform::GetSoundBufferStatus(SoundTable[id].buffer, &status) < 0) return -1;
  return static_cast<int32_t>(status);
}

int32_t ShutdownSound() {
  StopAllSoundEffects();
  // Buffers are nulled as they go so that no slot keeps a pointer to a released buffer.
  for (SoundSlot& slot : SoundTable) {
    if (slot.buffer) {
      platform::ReleaseSoundBuffer(slot.buffer);
      slot.buffer = nullptr;
    }
  }
  if (SoundDevice) {
    platform::ReleaseSoundDevice(SoundDevice);
    SoundDevice = nullptr;
  }
  return 1;
}
