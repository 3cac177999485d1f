// The backend choice shared by every platform service: one set of tables, replaced whole by SelectBackend.
// Headless is the default so that tests never open a window or an audio device by accident.
#include "platform/backend.h"

#include "platform/internal/backend_tables.h"

namespace platform {

namespace {

PlatformBackend TablesOf(Backend backend) {
  if (backend == Backend::Sdl)
    return {.window = &SdlWindowBackend(),
            .video = &SdlVideoBackend(),
            .clock = &SdlClockBackend(),
            .sound = &SdlSoundBackend(),
            .input = &SdlInputBackend()};
  return {.window = &HeadlessWindowBackend(),
          .video = &HeadlessVideoBackend(),
          .clock = &HeadlessClockBackend(),
          .sound = &HeadlessSoundBackend(),
          .input = &HeadlessInputBackend()};
}

PlatformBackend& Chosen() {
  static PlatformBackend chosen = TablesOf(Backend::Headless);
  return chosen;
}

}  // namespace

void SelectBackend(Backend backend) { Chosen() = TablesOf(backend); }

const PlatformBackend& ChosenBackend() { return Chosen(); }

}  // namespace platform
