// Bitmap files into surfaces: loading, stretched copies with colour conversion, palettes from bitmap files,
// and the pixel value a surface uses for an RGB colour (the source of every picture's colour key).
#include "gfx/bitmap_surfaces.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "gfx/display.h"
#include "platform/bitmap_decode.h"
#include "platform/file_system.h"

namespace {

// KEEP: the debug lines keep their words ("handle is null" is read by BitmapTest.ReloadStretches...).
void WriteDebugLine(const char* text) { std::fputs(text, stderr); }

std::string lastLoadError;

uint32_t ColourRed(uint32_t rgb) { return rgb & 0xFF; }
uint32_t ColourGreen(uint32_t rgb) { return (rgb >> 8) & 0xFF; }
uint32_t ColourBlue(uint32_t rgb) { return (rgb >> 16) & 0xFF; }

// The palette an 8-bit surface's pixels index: its own, else the display's.
const PaletteEntry* SurfacePalette(const Surface* surface) {
  if (surface->palette != nullptr) return surface->palette->entries;
  if (DisplayPalette != nullptr) return DisplayPalette->entries;
  return PaletteTable;
}

uint8_t NearestPaletteIndex(const PaletteEntry* palette, uint32_t rgb) {
  int32_t best = 0;
  int64_t bestDistance = INT64_MAX;
  for (int32_t i = 0; i < 256; ++i) {
    int64_t dr = int64_t(palette[i].red) - ColourRed(rgb);
    int64_t dg = int64_t(palette[i].green) - ColourGreen(rgb);
    int64_t db = int64_t(palette[i].blue) - ColourBlue(rgb);
    int64_t distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
      if (distance == 0) break;
    }
  }
  return static_cast<uint8_t>(best);
}

// 0x00RRGGBB as decoded from files, to the 0x00BBGGRR order of colour values.
uint32_t DecodedToColour(uint32_t xrgb) { return ((xrgb >> 16) & 0xFF) | (xrgb & 0xFF00) | ((xrgb & 0xFF) << 16); }

// RgbToSurfacePixel's 16-bit 565 packing of DecodedToColour(xrgb), taken straight from the decoded bits.
uint16_t DecodedTo565(uint32_t xrgb) {
  return static_cast<uint16_t>(((xrgb >> 8) & 0xF800) | ((xrgb >> 5) & 0x07E0) | ((xrgb >> 3) & 0x1F));
}

// Converts decoded colours to one surface's pixels, remembering each 8-bit match by its 15-bit colour.
struct PixelConverter {
  const Surface* surface;
  std::vector<int16_t> matches;

  explicit PixelConverter(const Surface* target) : surface(target) {
    if (target->bitsPerPixel == 8) matches.assign(32768, -1);
  }
  uint32_t operator()(uint32_t xrgb) {
    uint32_t colour = DecodedToColour(xrgb);
    if (surface->bitsPerPixel != 8) return RgbToSurfacePixel(surface, colour);
    uint32_t key = ((xrgb >> 9) & 0x7C00) | ((xrgb >> 6) & 0x3E0) | ((xrgb >> 3) & 0x1F);
    if (matches[key] < 0) matches[key] = NearestPaletteIndex(SurfacePalette(surface), colour);
    return static_cast<uint32_t>(matches[key]);
  }
};

// Floor division, so that rectangles reaching left of or above the bitmap map correctly.
int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

void ScaleBitmap(BitmapObject* bitmap, int32_t width, int32_t height) {
  std::vector<uint32_t> scaled(static_cast<size_t>(width) * height);
  for (int32_t y = 0; y < height; ++y) {
    int32_t sy = static_cast<int32_t>(int64_t(y) * bitmap->height / height);
    for (int32_t x = 0; x < width; ++x) {
      int32_t sx = static_cast<int32_t>(int64_t(x) * bitmap->width / width);
      scaled[static_cast<size_t>(y) * width + x] = bitmap->pixels[static_cast<size_t>(sy) * bitmap->width + sx];
    }
  }
  bitmap->pixels.swap(scaled);
  bitmap->width = width;
  bitmap->height = height;
}

void FillDefaultPalette(PaletteEntry* table) {
  for (int32_t i = 0; i < 256; ++i) {
    table[i].red = static_cast<uint8_t>(((i >> 5) & 7) * 255 / 7);
    table[i].green = static_cast<uint8_t>(((i >> 2) & 7) * 255 / 7);
    table[i].blue = static_cast<uint8_t>((i & 3) * 255 / 3);
    table[i].flags = 0;
  }
}

uint32_t ReadLittle32(const uint8_t* bytes) {
  return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (uint32_t(bytes[3]) << 24);
}

// KEEP: 1024 bytes go over the table, raw past the colour count (BitmapTest.PaletteFromFiles... checks).
// Reads the file header, the 40-byte info header and up to 1024 bytes straight over the table, then turns the
// counted entries from blue, green, red, reserved into red, green, blue, flags; only a 40-byte header is trusted.
void ReadPaletteFile(const char* name, PaletteEntry* table) {
  platform::File* file = platform::OpenFileForReading(name, platform::FileContent::Bytes);
  if (file == nullptr) return;
  uint8_t fileHeader[14] = {};
  uint8_t infoHeader[40] = {};
  std::array<uint8_t, 1024> raw;
  // Each read starts only when the one before it was whole: a file ending inside the headers gives no table bytes.
  size_t tableBytes = 0;
  if (platform::ReadFromFile(file, fileHeader, sizeof fileHeader) == sizeof fileHeader &&
      platform::ReadFromFile(file, infoHeader, sizeof infoHeader) == sizeof infoHeader)
    tableBytes = platform::ReadFromFile(file, raw.data(), raw.size());
  platform::CloseFile(file);
  std::memcpy(table, raw.data(), tableBytes);
  uint32_t headerSize = ReadLittle32(infoHeader);
  uint32_t bitCount = infoHeader[14] | (infoHeader[15] << 8);
  uint32_t used = ReadLittle32(infoHeader + 32);
  uint32_t count = 0;
  if (headerSize == 40 && bitCount <= 8) count = used != 0 ? used : (1u << bitCount);
  if (count > 256) count = 256;
  for (uint32_t i = 0; i < count; ++i) std::swap(table[i].red, table[i].blue);
}

}  // namespace

BitmapObject* LoadBitmapObject(const char* name, int32_t width, int32_t height) {
  lastLoadError.clear();
  if (name == nullptr || width < 0 || height < 0) {
    lastLoadError = name == nullptr ? "no file name" : "negative size asked for";
    return nullptr;
  }
  platform::DecodedPicture picture;
  if (!platform::DecodeBitmapFile(name, &picture, &lastLoadError)) return nullptr;
  auto* bitmap = new BitmapObject;
  bitmap->width = picture.width;
  bitmap->height = picture.height;
  bitmap->pixels = std::move(picture.rgb);
  // A size of 0 keeps that side as it is; other values scale the picture to them.
  int32_t wantWidth = width != 0 ? width : bitmap->width;
  int32_t wantHeight = height != 0 ? height : bitmap->height;
  if (int64_t(wantWidth) * wantHeight > platform::kMaxPicturePixels) {
    lastLoadError = "picture too large at the size asked for";
    delete bitmap;
    return nullptr;
  }
  if (wantWidth != bitmap->width || wantHeight != bitmap->height) ScaleBitmap(bitmap, wantWidth, wantHeight);
  return bitmap;
}

void DeleteBitmapObject(BitmapObject* bitmap) { delete bitmap; }

Surface* LoadBitmapSurface(DisplayObject* device, const char* name, int32_t width, int32_t height) {
  BitmapObject* bitmap = LoadBitmapObject(name, width, height);
  if (bitmap == nullptr) return nullptr;
  SurfaceDescription description = {};
  description.size = kSurfaceDescriptionSize;
  description.flags = kSurfaceDescCaps | kSurfaceDescHeight | kSurfaceDescWidth;
  description.width = bitmap->width;
  description.height = bitmap->height;
  description.caps = kSurfaceCapsOffscreenPlain;
  Surface* surface = CreateSurface(device, description);
  if (surface != nullptr) CopyBitmapToSurface(surface, bitmap, 0, 0, 0, 0);
  else lastLoadError = "no surface could be made for it";
  DeleteBitmapObject(bitmap);
  return surface;
}

const std::string& LastBitmapLoadError() { return lastLoadError; }

uint32_t ReloadBitmapSurface(Surface* surface, const char* name) {
  BitmapObject* bitmap = LoadBitmapObject(name, 0, 0);
  if (bitmap == nullptr) {
    WriteDebugLine("handle is null\n");
    return kBitmapResultFail;
  }
  uint32_t code = CopyBitmapToSurface(surface, bitmap, 0, 0, 0, 0);
  if (code != kBitmapResultOk) WriteDebugLine("ddcopybitmap failed\n");
  DeleteBitmapObject(bitmap);
  return code;
}

uint32_t CopyBitmapToSurface(Surface* surface, const BitmapObject* bitmap, int32_t x, int32_t y, int32_t width,
                             int32_t height) {
  if (bitmap == nullptr || surface == nullptr) return kBitmapResultFail;
  if (width == 0) width = bitmap->width;
  if (height == 0) height = bitmap->height;
  // Every surface pixel takes the source-rectangle pixel it maps to; one outside the bitmap is black. The source
  // column of each surface column is worked out once (-1 outside the bitmap), not again on every row.
  PixelConverter convert(surface);
  std::vector<int64_t> sourceColumn(surface->width);
  for (int32_t dx = 0; dx < surface->width; ++dx) {
    int64_t sx = x + FloorDiv(int64_t(dx) * width, surface->width);
    sourceColumn[dx] = sx >= 0 && sx < bitmap->width ? sx : -1;
  }
  // Most copies take every column of the bitmap at its own place: such rows are converted in one straight sweep.
  bool sameColumns = true;
  for (int32_t dx = 0; dx < surface->width; ++dx) sameColumns = sameColumns && sourceColumn[dx] == dx;
  for (int32_t dy = 0; dy < surface->height; ++dy) {
    int64_t sy = y + FloorDiv(int64_t(dy) * height, surface->height);
    const bool rowInside = sy >= 0 && sy < bitmap->height;
    const uint32_t* from = rowInside ? bitmap->pixels.data() + static_cast<size_t>(sy) * bitmap->width : nullptr;
    uint8_t* row = surface->pixels + static_cast<size_t>(dy) * surface->pitch;
    if (surface->bitsPerPixel == 8) {
      for (int32_t dx = 0; dx < surface->width; ++dx)
        row[dx] = static_cast<uint8_t>(convert(rowInside && sourceColumn[dx] >= 0 ? from[sourceColumn[dx]] : 0));
      continue;
    }
    if (rowInside && sameColumns) {
      for (int32_t dx = 0; dx < surface->width; ++dx) {
        const uint16_t pixel = DecodedTo565(from[dx]);
        std::memcpy(row + 2 * dx, &pixel, 2);
      }
      continue;
    }
    for (int32_t dx = 0; dx < surface->width; ++dx) {
      const uint16_t pixel = DecodedTo565(rowInside && sourceColumn[dx] >= 0 ? from[sourceColumn[dx]] : 0);
      std::memcpy(row + 2 * dx, &pixel, 2);
    }
  }
  SurfaceDrawn(surface);
  return kBitmapResultOk;
}

PaletteObject* LoadBitmapPalette(DisplayObject* device, const char* name) {
  PaletteEntry table[256];
  FillDefaultPalette(table);
  // The program carries no bitmap resources, so a name is only ever a file.
  if (name != nullptr) ReadPaletteFile(name, table);
  return CreatePalette(device, 0x4, table);
}

uint32_t MatchSurfaceColor(Surface* surface, uint32_t rgb) {
  if (surface == nullptr) return kNoColour;
  uint32_t result = kNoColour;
  // The raw top-left value is saved and put back, so the pixel keeps exactly what it held.
  uint32_t saved = ReadSurfacePixel(surface, 0, 0);
  if (rgb != kNoColour) WriteSurfacePixel(surface, 0, 0, RgbToSurfacePixel(surface, rgb));
  uint32_t word;
  std::memcpy(&word, surface->pixels, sizeof word);
  result = word & ((1u << surface->bitsPerPixel) - 1);
  if (rgb != kNoColour) WriteSurfacePixel(surface, 0, 0, saved);
  return result;
}

int32_t SetSurfaceColorKey(Surface* surface, uint32_t rgb) {
  if (surface == nullptr) return static_cast<int32_t>(kBitmapResultFail);
  uint32_t key = MatchSurfaceColor(surface, rgb);
  SetColorKey(surface, key, key);
  return 0;
}

uint32_t RgbToSurfacePixel(const Surface* surface, uint32_t rgb) {
  if (surface->bitsPerPixel == 8) return NearestPaletteIndex(SurfacePalette(surface), rgb);
  return ((ColourRed(rgb) >> 3) << 11) | ((ColourGreen(rgb) >> 2) << 5) | (ColourBlue(rgb) >> 3);
}

uint32_t SurfacePixelToRgb(const Surface* surface, uint32_t pixel) {
  if (surface->bitsPerPixel == 8) {
    const PaletteEntry& entry = SurfacePalette(surface)[pixel & 0xFF];
    return entry.red | (entry.green << 8) | (uint32_t(entry.blue) << 16);
  }
  uint32_t r5 = (pixel >> 11) & 0x1F, g6 = (pixel >> 5) & 0x3F, b5 = pixel & 0x1F;
  uint32_t red = (r5 << 3) | (r5 >> 2), green = (g6 << 2) | (g6 >> 4), blue = (b5 << 3) | (b5 >> 2);
  return red | (green << 8) | (blue << 16);
}
