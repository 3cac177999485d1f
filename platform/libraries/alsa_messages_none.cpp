// Where there is no ALSA library (the browser build) there are no library error lines to route anywhere.
// SDL's browser audio reports a refused device through the SOUND: line alone.
#include "platform/internal/alsa_messages.h"

namespace platform {

void SilenceAlsaMessages() {}

}  // namespace platform
