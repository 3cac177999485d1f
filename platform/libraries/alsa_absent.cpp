// Systems without ALSA (Windows): its error lines cannot appear, so there is nothing to silence.
// SDL's own audio drivers there say nothing on stderr.
#include "platform/internal/alsa_messages.h"

namespace platform {

void SilenceAlsaMessages() {}

}  // namespace platform
