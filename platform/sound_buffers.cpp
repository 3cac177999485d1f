// The sound device and static sound buffers as the program sees them: creation, locking, playback controls
// and release. Backend-neutral: the chosen backend's sound table opens the output; a watch may follow the buffers.
#include <algorithm>
#include <atomic>
#include <cstring>

#include "platform/internal/backend_tables.h"
#include "platform/internal/sound_internal.h"

namespace platform {

namespace {

SoundDeviceObject* liveDevice = nullptr;

const SoundBackend& Backend() { return *ChosenBackend().sound; }

std::atomic<const SoundBufferWatch*> bufferWatch{nullptr};

bool CreationRefused() {
  const SoundBufferWatch* watch = bufferWatch.load();
  return watch != nullptr && watch->refusesCreation();
}

uint32_t BufferBytes(const SoundBuffer& buffer) { return static_cast<uint32_t>(buffer.samples->size()); }

// The write cursor of a static buffer: where playback stands (0 for a buffer at rest).
uint32_t WriteCursor(const SoundBuffer& buffer) {
  uint32_t cursor = static_cast<uint32_t>(buffer.position >> 32);
  return cursor < BufferBytes(buffer) ? cursor : 0;
}

}  // namespace

uint32_t SoundOutputRate() { return Backend().outputRate(); }

bool SoundRendersHeadless() { return Backend().rendersOnRequest; }

void WatchSoundBuffers(const SoundBufferWatch* watch) { bufferWatch.store(watch); }

std::mutex& SoundMutex() {
  static std::mutex mutex;
  return mutex;
}

std::vector<SoundBuffer*>& LiveSoundBuffers() {
  static std::vector<SoundBuffer*> buffers;
  return buffers;
}

int32_t CreateSoundDevice(SoundDeviceObject** out) {
  if (!out) return kSoundErrInvalidParam;
  *out = nullptr;
  if (liveDevice) {
    ++liveDevice->refCount;
    *out = liveDevice;
    return kSoundOk;
  }
  if (Backend().openOutput() != kSoundOk) return kSoundErrNoDevice;
  liveDevice = new SoundDeviceObject;
  *out = liveDevice;
  return kSoundOk;
}

int32_t SetSoundCooperativeLevel(SoundDeviceObject* device, uint32_t level) {
  if (!device || level < kSoundLevelNormal || level > 4) return kSoundErrInvalidParam;
  return kSoundOk;
}

uint32_t ReleaseSoundDevice(SoundDeviceObject* device) {
  if (!device) return 0;
  if (--device->refCount > 0) return device->refCount;
  if (device == liveDevice) liveDevice = nullptr;
  Backend().closeOutput();
  delete device;
  return 0;
}

int32_t CreateSoundBuffer(SoundDeviceObject* device, const SoundBufferDesc& desc, SoundBuffer** out) {
  if (!out) return kSoundErrInvalidParam;
  *out = nullptr;
  if (!device) return kSoundErrInvalidParam;
  if (desc.bytes == 0 || desc.bytes > kSoundBufferMaxBytes) return kSoundErrInvalidParam;
  uint32_t frequency = desc.frequency == 0 ? kSoundDefaultFrequency : desc.frequency;
  if (frequency < kSoundFrequencyMin || frequency > kSoundFrequencyMax) return kSoundErrInvalidParam;
  if (CreationRefused()) return kSoundErrOutOfMemory;
  auto* buffer = new SoundBuffer;
  try {
    // A new buffer holds silence (128 is the zero level of unsigned 8-bit samples).
    buffer->samples = std::make_shared<std::vector<uint8_t>>(desc.bytes, uint8_t{128});
  } catch (const std::bad_alloc&) {
    delete buffer;
    return kSoundErrOutOfMemory;
  }
  buffer->flags = desc.flags;
  buffer->frequency = frequency;
  std::lock_guard<std::mutex> guard(SoundMutex());
  LiveSoundBuffers().push_back(buffer);
  *out = buffer;
  return kSoundOk;
}

int32_t DuplicateSoundBuffer(SoundDeviceObject* device, SoundBuffer* source, SoundBuffer** out) {
  if (!out) return kSoundErrInvalidParam;
  *out = nullptr;
  if (!device || !source) return kSoundErrInvalidParam;
  if (CreationRefused()) return kSoundErrOutOfMemory;
  auto* copy = new SoundBuffer;
  std::lock_guard<std::mutex> guard(SoundMutex());
  copy->samples = source->samples;
  copy->flags = source->flags;
  copy->frequency = source->frequency;
  copy->volume = source->volume;
  copy->pan = source->pan;
  LiveSoundBuffers().push_back(copy);
  *out = copy;
  return kSoundOk;
}

uint32_t ReleaseSoundBuffer(SoundBuffer* buffer) {
  if (!buffer) return 0;
  std::lock_guard<std::mutex> guard(SoundMutex());
  if (--buffer->refCount > 0) return buffer->refCount;
  auto& live = LiveSoundBuffers();
  live.erase(std::remove(live.begin(), live.end(), buffer), live.end());
  if (const SoundBufferWatch* watch = bufferWatch.load()) watch->freed(buffer);
  delete buffer;
  return 0;
}

int32_t LockSoundBuffer(SoundBuffer* buffer, uint32_t offset, uint32_t bytes, void** region1, uint32_t* bytes1,
                        void** region2, uint32_t* bytes2, uint32_t flags) {
  if (!buffer || !region1 || !bytes1) return kSoundErrInvalidParam;
  std::lock_guard<std::mutex> guard(SoundMutex());
  const uint32_t size = BufferBytes(*buffer);
  if (flags & kSoundLockFromWriteCursor) offset = WriteCursor(*buffer);
  if (buffer->locked || bytes == 0 || bytes > size || offset >= size) return kSoundErrInvalidParam;
  const uint32_t first = std::min(bytes, size - offset);
  const uint32_t second = bytes - first;
  if (second > 0 && (!region2 || !bytes2)) return kSoundErrInvalidParam;
  // Hand out a copy of the range; Unlock writes it back while the mixer is held off.
  buffer->staging.assign(bytes, 0);
  std::memcpy(buffer->staging.data(), buffer->samples->data() + offset, first);
  if (second > 0) std::memcpy(buffer->staging.data() + first, buffer->samples->data(), second);
  buffer->locked = true;
  buffer->lockedOffset = offset;
  buffer->lockedBytes = bytes;
  *region1 = buffer->staging.data();
  *bytes1 = first;
  if (region2) *region2 = second > 0 ? buffer->staging.data() + first : nullptr;
  if (bytes2) *bytes2 = second;
  return kSoundOk;
}

int32_t UnlockSoundBuffer(SoundBuffer* buffer, void* region1, uint32_t bytes1, void* region2, uint32_t bytes2) {
  if (!buffer) return kSoundErrInvalidParam;
  std::lock_guard<std::mutex> guard(SoundMutex());
  if (!buffer->locked || region1 != buffer->staging.data()) return kSoundErrInvalidParam;
  const uint32_t size = BufferBytes(*buffer);
  const uint32_t first = std::min(buffer->lockedBytes, size - buffer->lockedOffset);
  const uint32_t second = buffer->lockedBytes - first;
  if (bytes1 > first || bytes2 > second) return kSoundErrInvalidParam;
  if (bytes2 > 0 && region2 != buffer->staging.data() + first) return kSoundErrInvalidParam;
  std::memcpy(buffer->samples->data() + buffer->lockedOffset, buffer->staging.data(), bytes1);
  if (bytes2 > 0) std::memcpy(buffer->samples->data(), buffer->staging.data() + first, bytes2);
  buffer->locked = false;
  buffer->staging.clear();
  buffer->staging.shrink_to_fit();
  return kSoundOk;
}

int32_t PlaySoundBuffer(SoundBuffer* buffer, uint32_t flags) {
  if (!buffer) return kSoundErrInvalidParam;
  std::lock_guard<std::mutex> guard(SoundMutex());
  buffer->playing = true;
  buffer->looping = (flags & kSoundPlayLooping) != 0;
  if (const SoundBufferWatch* watch = bufferWatch.load()) watch->started(buffer);
  return kSoundOk;
}

int32_t StopSoundBuffer(SoundBuffer* buffer) {
  if (!buffer) return kSoundErrInvalidParam;
  std::lock_guard<std::mutex> guard(SoundMutex());
  buffer->playing = false;
  buffer->looping = false;
  return kSoundOk;
}

int32_t SetSoundBufferPosition(SoundBuffer* buffer, uint32_t position) {
  if (!buffer) return kSoundErrInvalidParam;
  std::lock_guard<std::mutex> guard(SoundMutex());
  if (position >= BufferBytes(*buffer)) return kSoundErrInvalidParam;
  buffer->position = static_cast<uint64_t>(position) << 32;
  return kSoundOk;
}

int32_t GetSoundBufferPosition(SoundBuffer* buffer, uint32_t* position) {
  if (!buffer || !position) return kSoundErrInvalidParam;
  std::lock_guard<std::mutex> guard(SoundMutex());
  *position = static_cast<uint32_t>(buffer->position >> 32);
  return kSoundOk;
}

int32_t GetSoundBufferStatus(SoundBuffer* buffer, uint32_t* status) {
  if (!buffer || !status) return kSoundErrInvalidParam;
  std::lock_guard<std::mutex> guard(SoundMutex());
  *status = 0;
  if (buffer->playing) *status |= kSoundStatusPlaying;
  if (buffer->playing && buffer->looping) *status |= kSoundStatusLooping;
  return kSoundOk;
}

int32_t SetSoundBufferVolume(SoundBuffer* buffer, int32_t hundredthsOfDecibel) {
  if (!buffer) return kSoundErrInvalidParam;
  if (!(buffer->flags & kSoundBufferCtrlVolume)) return kSoundErrControlUnavailable;
  if (hundredthsOfDecibel < kSoundVolumeMin || hundredthsOfDecibel > kSoundVolumeMax) return kSoundErrInvalidParam;
  std::lock_guard<std::mutex> guard(SoundMutex());
  buffer->volume = hundredthsOfDecibel;
  return kSoundOk;
}

int32_t SetSoundBufferFrequency(SoundBuffer* buffer, uint32_t samplesPerSecond) {
  if (!buffer) return kSoundErrInvalidParam;
  if (!(buffer->flags & kSoundBufferCtrlFrequency)) return kSoundErrControlUnavailable;
  // 0 returns the buffer to its format's own rate.
  if (samplesPerSecond == 0) samplesPerSecond = kSoundDefaultFrequency;
  if (samplesPerSecond < kSoundFrequencyMin || samplesPerSecond > kSoundFrequencyMax) return kSoundErrInvalidParam;
  std::lock_guard<std::mutex> guard(SoundMutex());
  buffer->frequency = samplesPerSecond;
  return kSoundOk;
}

int32_t SetSoundBufferPan(SoundBuffer* buffer, int32_t pan) {
  if (!buffer) return kSoundErrInvalidParam;
  if (!(buffer->flags & kSoundBufferCtrlPan)) return kSoundErrControlUnavailable;
  if (pan < kSoundPanLeft || pan > kSoundPanRight) return kSoundErrInvalidParam;
  std::lock_guard<std::mutex> guard(SoundMutex());
  buffer->pan = pan;
  return kSoundOk;
}

int32_t GetSoundBufferVolume(SoundBuffer* buffer, int32_t* hundredthsOfDecibel) {
  if (!buffer || !hundredthsOfDecibel) return kSoundErrInvalidParam;
  std::lock_guard<std::mutex> guard(SoundMutex());
  *hundredthsOfDecibel = buffer->volume;
  return kSoundOk;
}

}  // namespace platform
