// PNG files: the picture encoded in memory, then written whole; a failed write leaves no partial file behind.
// Used by the tools (the asset generator's icons, the replay tool's saved frames), never by the game's frames.
#include "platform/tool_support/png_file.h"

#include <cstdio>
#include <fstream>

#include "platform/screenshot.h"

namespace platform {

bool WritePng(const std::string& path, int32_t width, int32_t height, int32_t channels,
              const std::vector<uint8_t>& pixels, std::string* error) {
  const std::vector<uint8_t> png = EncodePng(pixels, width, height, channels);
  if (png.empty()) {
    *error = path + ": the picture's size does not match its pixels";
    return false;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  out.close();
  if (!out) {
    *error = "cannot write " + path;
    std::remove(path.c_str());
    return false;
  }
  return true;
}

}  // namespace platform
