// Fuzz target for bitmap loading: decodes the bytes as a BMP file, copies the picture into 16-bit and 8-bit
// surfaces through rectangles reaching past it, and reads the same bytes as a palette file.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "gfx/bitmap_surfaces.h"
#include "gfx/surface.h"
#include "platform/bitmap_decode.h"

namespace {

void CopyEverywhere(const BitmapObject& bitmap) {
  Surface* wide = CreateSurfaceOfFormat(7, 5, 16);
  Surface* indexed = CreateSurfaceOfFormat(3, 9, 8);
  PaletteEntry grey[256];
  for (int i = 0; i < 256; ++i) grey[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
  DisplayObject* device = CreateDisplayObject();
  SetPalette(indexed, CreatePalette(device, 0x4, grey));
  Release(indexed->palette);  // the surface holds its own reference
  CopyBitmapToSurface(wide, &bitmap, 0, 0, 0, 0);
  CopyBitmapToSurface(indexed, &bitmap, -3, -2, bitmap.width + 6, bitmap.height + 4);
  CopyBitmapToSurface(wide, &bitmap, bitmap.width - 1, bitmap.height - 1, 5, 5);
  MatchSurfaceColor(wide, 0x123456);
  MatchSurfaceColor(indexed, 0xFFFFFFFF);
  Release(wide);
  Release(indexed);
  Release(device);
}

void ReadAsPaletteFile(const uint8_t* data, size_t size) {
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("tavo_fuzz_palette_" + std::to_string(getpid()))).string();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  DisplayObject* device = CreateDisplayObject();
  Release(LoadBitmapPalette(device, path.c_str()));
  Release(device);
  std::remove(path.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::DecodedPicture picture;
  std::string error;
  if (platform::DecodeBitmapBytes(data, size, &picture, &error)) {
    BitmapObject bitmap;
    bitmap.width = picture.width;
    bitmap.height = picture.height;
    bitmap.pixels = std::move(picture.rgb);
    CopyEverywhere(bitmap);
  }
  if (size < 4096) ReadAsPaletteFile(data, size);
  return 0;
}
