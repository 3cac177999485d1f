// PNG encoding of a screenshot through the stb image writer (Debian's libstb-dev), into memory.
// The writer's code is compiled here, once, for the whole program.
#include "platform/screenshot.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace platform {

namespace {

void AppendBytes(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<uint8_t>*>(context);
  const auto* bytes = static_cast<const uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

std::vector<uint8_t> EncodePng(const std::vector<uint8_t>& rgb, int32_t width, int32_t height, int32_t channels) {
  std::vector<uint8_t> png;
  if (width <= 0 || height <= 0 || (channels != 3 && channels != 4) ||
      rgb.size() != static_cast<size_t>(width) * height * channels)
    return png;
  // The shot is taken between two frames: the quickest compression keeps the game's pause short (the file is
  // about 1% larger than at the writer's default level).
  stbi_write_png_compression_level = 1;
  if (stbi_write_png_to_func(AppendBytes, &png, width, height, channels, rgb.data(), width * channels) == 0)
    png.clear();
  return png;
}

}  // namespace platform
