// The optional frame log: one standard-error line per shown flip when TAVO_FRAME_LOG is set; see frame_log.h.
// The time is the steady clock's, in microseconds, so the gaps between lines are the frame times.
#include "platform/internal/frame_log.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <optional>
#include <string>

#include "platform/picture_hash.h"
#include "platform/process_environment.h"

namespace platform {

namespace {

// Read once: the environment does not change while the program runs.
const std::optional<std::string> frameLogSetting = EnvironmentVariable("TAVO_FRAME_LOG");
const bool frameLogWanted = frameLogSetting.has_value();
const bool pictureHashWanted = frameLogWanted && *frameLogSetting == "img";

}  // namespace

void LogFramePresented(const uint8_t* pixels, int32_t pitch, int32_t width, int32_t height, int32_t bitsPerPixel) {
  if (!frameLogWanted) return;
  const auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
  const long long micros = std::chrono::duration_cast<std::chrono::microseconds>(sinceEpoch).count();
  if (pictureHashWanted) {
    std::fprintf(stderr, "frame %lld img=%016" PRIx64 "\n", micros,
                 HashPictureBytes(pixels, pitch, width, height, bitsPerPixel));
  } else {
    std::fprintf(stderr, "frame %lld\n", micros);
  }
}

}  // namespace platform
