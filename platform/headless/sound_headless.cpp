// The headless sound backend: no output device (the mix is rendered on request), a device that tests may make
// unavailable, buffer creation that tests may make fail, and a record of the buffers started.
#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/internal/backend_tables.h"
#include "platform/internal/sound_internal.h"

namespace platform {

namespace {

bool deviceAvailable = true;
bool bufferCreationFails = false;
// The record of started buffers, guarded by SoundMutex: room for kStartedBufferRecord entries is made with the
// device, and starts beyond it are left out until the record is taken, so playing neither grows it nor allocates.
std::vector<SoundBuffer*> startedBuffers;

bool RefusesBuffers() { return bufferCreationFails; }
void BufferStarted(SoundBuffer* buffer) {
  if (startedBuffers.capacity() < kStartedBufferRecord) startedBuffers.reserve(kStartedBufferRecord);
  if (startedBuffers.size() < kStartedBufferRecord) startedBuffers.push_back(buffer);
}
void BufferFreed(SoundBuffer* buffer) {
  startedBuffers.erase(std::remove(startedBuffers.begin(), startedBuffers.end(), buffer), startedBuffers.end());
}

// Kept once set: a buffer freed after its device must still leave the record.
const SoundBufferWatch watch{RefusesBuffers, BufferStarted, BufferFreed};

int32_t OpenOutput() {
  if (!deviceAvailable) return kSoundErrNoDevice;
  WatchSoundBuffers(&watch);
  std::lock_guard<std::mutex> guard(SoundMutex());
  startedBuffers.reserve(kStartedBufferRecord);
  return kSoundOk;
}
void CloseOutput() {}
uint32_t OutputRate() { return 0; }

}  // namespace

const SoundBackend& HeadlessSoundBackend() {
  static const SoundBackend table{
      .openOutput = OpenOutput, .closeOutput = CloseOutput, .outputRate = OutputRate, .rendersOnRequest = true};
  return table;
}

void TakeStartedBuffersInto(std::vector<SoundBuffer*>& taken) {
  std::lock_guard<std::mutex> guard(SoundMutex());
  taken.assign(startedBuffers.begin(), startedBuffers.end());
  startedBuffers.clear();
}

std::vector<SoundBuffer*> TakeStartedBuffers() {
  std::vector<SoundBuffer*> taken;
  TakeStartedBuffersInto(taken);
  return taken;
}

void SetHeadlessSoundDeviceAvailable(bool available) { deviceAvailable = available; }

void SetHeadlessBufferCreationFails(bool fails) {
  bufferCreationFails = fails;
  WatchSoundBuffers(&watch);
}

void RenderHeadlessAudio(float* out, uint32_t frames, uint32_t rate) { RenderMix(out, frames, rate); }

}  // namespace platform
