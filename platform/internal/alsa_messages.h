// The ALSA library's own error lines: on a machine without a sound card it prints several before the audio
// device is refused, where the player should see only our one SOUND: line.
#pragma once

namespace platform {

// Routes the ALSA library's error lines into silence. Harmless when SDL picks another audio driver:
// the handler then simply never runs.
void SilenceAlsaMessages();

}  // namespace platform
