// The backend choice shared by every platform service.
// Headless is the default so that tests never open a window or an audio device by accident.
#include "platform/backend.h"

namespace platform {

namespace {
Backend chosenBackend = Backend::Headless;
}

void SelectBackend(Backend backend) { chosenBackend = backend; }

Backend CurrentBackend() { return chosenBackend; }

}  // namespace platform
