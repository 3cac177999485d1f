// Bitmap files into surfaces: load a picture as a surface of its own size, copy (stretching) a bitmap into a
// surface, build a palette from a bitmap file, and find and key a surface's pixel value for an RGB colour.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/surface.h"

// Result codes of the bitmap operations.
constexpr uint32_t kBitmapResultOk = 0;
constexpr uint32_t kBitmapResultFail = 0x80004005;  // E_FAIL
constexpr uint32_t kNoColour = 0xFFFFFFFF;          // an RGB value that stands for no colour

// A decoded picture held in memory: 0x00RRGGBB per pixel, rows top to bottom.
struct BitmapObject {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
};

// Loads a name as a bitmap: the program carries no resources, so only the file is tried. width and height of 0 keep
// the picture's own size, other values scale it. Null when the name does not load.
BitmapObject* LoadBitmapObject(const char* name, int32_t width, int32_t height);
void DeleteBitmapObject(BitmapObject* bitmap);

// A new off-screen surface of the picture's (possibly scaled) size holding the picture; null on failure.
Surface* LoadBitmapSurface(DisplayObject* device, const char* name, int32_t width, int32_t height);
// Why the last LoadBitmapObject or LoadBitmapSurface gave null, as the decoder or the size check said it;
// empty after one that succeeded. Read by whoever reports the failure.
const std::string& LastBitmapLoadError();
// Loads the name again into an existing surface, stretched to its size. 0, E_FAIL, or CopyBitmapToSurface's code.
uint32_t ReloadBitmapSurface(Surface* surface, const char* name);
// Copies the source rectangle (0 width or height: the bitmap's own) of the bitmap over the whole surface,
// stretching and converting to the surface's format; parts of the rectangle outside the bitmap come out black.
uint32_t CopyBitmapToSurface(Surface* surface, const BitmapObject* bitmap, int32_t x, int32_t y, int32_t width,
                             int32_t height);
// A palette from a bitmap file's colour table over the 3-3-2 default; a null or missing name keeps the default.
PaletteObject* LoadBitmapPalette(DisplayObject* device, const char* name);
// The surface's raw pixel value for rgb (0x00BBGGRR), or the top-left pixel's value for kNoColour.
uint32_t MatchSurfaceColor(Surface* surface, uint32_t rgb);
// Makes the matched value the surface's source colour key; returns 0.
int32_t SetSurfaceColorKey(Surface* surface, uint32_t rgb);

// The colour conversions the copies use: RGB (0x00BBGGRR) to a pixel of the surface, and back.
uint32_t RgbToSurfacePixel(const Surface* surface, uint32_t rgb);
uint32_t SurfacePixelToRgb(const Surface* surface, uint32_t pixel);
