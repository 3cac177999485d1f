// Systems without ALSA (Windows, the browser): its error lines cannot appear, so there is nothing to silence.
// SDL's own audio drivers there say nothing on stderr; a refused device shows only the SOUND: line.
#include "platform/internal/alsa_messages.h"

namespace platform {

void SilenceAlsaMessages() {}

}  // namespace platform
