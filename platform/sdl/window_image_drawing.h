// The window-image presenter's drawing, on plain memory: the kept picture, which of its rows changed since it was
// last drawn, and its nearest-pixel stretch onto a 32-bit window image. Used by video_sdl_window_image.cpp.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/internal/picture_placement.h"

namespace platform::window_image {

// The window's image: 32-bit pixels 0xAARRGGBB, rows pitch bytes apart.
struct TargetImage {
  uint8_t* pixels = nullptr;
  int32_t pitch = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// A rectangle of the window image that was drawn and has to go to the display.
struct DrawnRect {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// For one placement of the picture on one image size: which picture row and column each visible window pixel
// shows, kept as runs (how many window columns and rows each picture column and row covers).
struct StretchMap {
  PicturePlace place;
  int32_t imageWidth = 0, imageHeight = 0, pictureWidth = 0, pictureHeight = 0;
  DrawnRect visible;                // the part of place inside the image
  int32_t firstColumn = 0;          // the picture column under the visible part's left edge
  std::vector<int32_t> columnRuns;  // from firstColumn on: window columns per picture column (0 when shrunk)
  int32_t longestColumnRun = 0;
  bool pixelDoubling = false;     // every picture column covers exactly two window columns
  std::vector<int32_t> rowStart;  // per picture row: its first visible window row, and the end in rowEnd
  std::vector<int32_t> rowEnd;    // (equal to rowStart when the row is not shown)
};

// The last picture, what the window image was last given of it, and the stretch that placed it there.
struct ShownPicture {
  std::vector<uint8_t> pixels;  // rows of width * bytes per pixel, packed
  int32_t width = 0, height = 0, bitsPerPixel = 0;
  uint32_t colours[256] = {};       // 8-bit pictures: the palette as 0xFFRRGGBB
  std::vector<uint8_t> rowChanged;  // per picture row: differs from what the window image was given
  // The image drawn on last; drawing elsewhere, or after the picture's size changed, draws everything.
  TargetImage drawnOn;
  bool drawnOnce = false;
  StretchMap map;
};

// Takes the program's picture (16-bit RGB 565, or 8-bit through paletteRgbx): rows equal to the kept ones are
// not copied and stay unchanged for the next Draw.
void TakePicture(ShownPicture& shown, const void* pixels, int32_t pitch, int32_t width, int32_t height,
                 int32_t bitsPerPixel, const uint8_t* paletteRgbx);

// Draws the kept picture onto the image at place. Everything, black borders included, when asked, on a new image
// or a new placement; otherwise only the picture rows that changed. Fills rects (at most maxRects) with what was
// drawn and gives their count (maxRects is 1 at least); -1 means the whole image.
int32_t Draw(ShownPicture& shown, const TargetImage& image, const PicturePlace& place, bool everything,
             DrawnRect* rects, int32_t maxRects);

// Stretches the whole kept picture into place on the image, borders untouched. Draw's own drawing of everything.
void StretchPicture(ShownPicture& shown, const TargetImage& image, const PicturePlace& place);

}  // namespace platform::window_image
