// The ALSA error handler that drops the library's lines. SDL loads the same libasound.so.2 that we link,
// and the handler belongs to that library, so it holds for SDL's ALSA driver too.
#include "platform/internal/alsa_messages.h"

#include <alsa/asoundlib.h>

namespace platform {

namespace {

void DropAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void SilenceAlsaMessages() { snd_lib_error_set_handler(DropAlsaMessage); }

}  // namespace platform
