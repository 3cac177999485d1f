// The window-image presenter's drawing: change tracking by picture row and the stretch; see window_image_drawing.h.
// Each window pixel takes the picture pixel under its centre; the runs below are counted from that rule.
#include "platform/sdl/window_image_drawing.h"

#include <algorithm>
#include <cstring>

namespace platform::window_image {

namespace {

uint32_t WidenRgb565(uint32_t pixel) {
  const uint32_t red = pixel >> 11, green = (pixel >> 5) & 0x3F, blue = pixel & 0x1F;
  return 0xFF000000u | (((red << 3) | (red >> 2)) << 16) | (((green << 2) | (green >> 4)) << 8) |
         ((blue << 3) | (blue >> 2));
}

uint32_t* ImageRow(const TargetImage& image, int32_t y) {
  return reinterpret_cast<uint32_t*>(image.pixels + static_cast<size_t>(y) * image.pitch);
}

// The picture column (or row) under the centre of window column (or row) inPlace of a place size long.
int32_t SourceUnder(int64_t inPlace, int32_t pictureSize, int32_t placeSize) {
  return static_cast<int32_t>((2 * inPlace + 1) * pictureSize / (2 * static_cast<int64_t>(placeSize)));
}

// Rebuilds the map when the placement, the image's size or the picture's size changed; true when it did.
bool PrepareMap(StretchMap& map, const TargetImage& image, const PicturePlace& place, int32_t pictureWidth,
                int32_t pictureHeight) {
  if (map.imageWidth == image.width && map.imageHeight == image.height && map.pictureWidth == pictureWidth &&
      map.pictureHeight == pictureHeight && map.place.x == place.x && map.place.y == place.y &&
      map.place.width == place.width && map.place.height == place.height)
    return false;
  map.place = place;
  map.imageWidth = image.width, map.imageHeight = image.height;
  map.pictureWidth = pictureWidth, map.pictureHeight = pictureHeight;
  const int32_t left = std::max(0, place.x), top = std::max(0, place.y);
  const int32_t right = std::min(image.width, place.x + place.width);
  const int32_t bottom = std::min(image.height, place.y + place.height);
  map.visible = DrawnRect{left, top, std::max(0, right - left), std::max(0, bottom - top)};
  const DrawnRect& visible = map.visible;

  map.columnRuns.clear();
  map.longestColumnRun = 0;
  map.firstColumn = visible.width > 0 ? SourceUnder(visible.x - place.x, pictureWidth, place.width) : 0;
  for (int32_t x = 0; x < visible.width; ++x) {
    const int32_t column = SourceUnder(visible.x + x - place.x, pictureWidth, place.width);
    map.columnRuns.resize(column - map.firstColumn + 1, 0);
    ++map.columnRuns.back();
  }
  for (int32_t run : map.columnRuns) map.longestColumnRun = std::max(map.longestColumnRun, run);
  map.pixelDoubling = !map.columnRuns.empty() &&
                      std::all_of(map.columnRuns.begin(), map.columnRuns.end(), [](int32_t run) { return run == 2; });

  map.rowStart.assign(pictureHeight, 0);
  map.rowEnd.assign(pictureHeight, 0);
  for (int32_t y = visible.y; y < visible.y + visible.height; ++y) {
    const int32_t row = SourceUnder(y - place.y, pictureHeight, place.height);
    if (map.rowStart[row] == map.rowEnd[row]) map.rowStart[row] = y;
    map.rowEnd[row] = y + 1;
  }
  return true;
}

// The 16-bit colours widened to 32 bits, made on first use.
const uint32_t* Rgb565Table() {
  static const std::vector<uint32_t> table = [] {
    std::vector<uint32_t> made(65536);
    for (uint32_t pixel = 0; pixel < 65536; ++pixel) made[pixel] = WidenRgb565(pixel);
    return made;
  }();
  return table.data();
}

// A picture pixel's window colour: through a table (the palette, or every 16-bit colour), or worked out. The run
// loop takes one pixel at a time, where the table is cheaper; pixel doubling takes its pixels side by side, where
// the compiler turns the working out into vector code, faster than looking up.
struct TableColour {
  const uint32_t* colours;
  uint32_t operator()(uint32_t pixel) const { return colours[pixel]; }
};
struct WidenedColour {
  uint32_t operator()(uint32_t pixel) const { return WidenRgb565(pixel); }
};

// One picture row across the visible width: each picture pixel is widened once and written over its run. The
// first loop writes Copies (at least the longest run; a whole number of vector stores) and steps by the run, so
// the excess is overwritten by the next pixel; the last columns, where it would pass the visible width, are
// written exactly. Copies of 0 means the longest run, known only at run time.
template <int32_t Copies, typename Pixel>
void StretchRowByRuns(const Pixel* from, uint32_t* out, const StretchMap& map, TableColour colour) {
  const int32_t* runs = map.columnRuns.data();
  const auto count = static_cast<int32_t>(map.columnRuns.size());
  const int32_t copies = Copies > 0 ? Copies : map.longestColumnRun;
  int32_t room = map.visible.width, column = 0;
  for (; column < count && room >= copies; ++column) {
    const uint32_t value = colour(from[column]);
    for (int32_t i = 0; i < copies; ++i) out[i] = value;
    out += runs[column];
    room -= runs[column];
  }
  for (; column < count; ++column) {
    const uint32_t value = colour(from[column]);
    for (int32_t i = 0; i < runs[column]; ++i) out[i] = value;
    out += runs[column];
  }
}

template <typename Pixel>
void StretchRow(const Pixel* from, uint32_t* out, const StretchMap& map, TableColour colour) {
  if (map.longestColumnRun <= 4) return StretchRowByRuns<4>(from, out, map, colour);
  if (map.longestColumnRun <= 8) return StretchRowByRuns<8>(from, out, map, colour);
  StretchRowByRuns<0>(from, out, map, colour);
}

// Pixel doubling onto two window rows at once (below may be out itself): each picture pixel becomes 2 x 2.
template <typename Pixel, typename Colour>
void DoubleRow(const Pixel* from, uint32_t* out, uint32_t* below, int32_t count, Colour colour) {
  for (int32_t column = 0; column < count; ++column) {
    const uint32_t value = colour(from[column]);
    out[2 * column] = value;
    out[2 * column + 1] = value;
    below[2 * column] = value;
    below[2 * column + 1] = value;
  }
}

// Draws picture rows [firstRow, endRow) over the window rows they cover: the first one (two when doubling) is
// drawn from the picture, the others are copies of it.
template <typename Pixel, typename DoublingColour>
void StretchRows(const ShownPicture& shown, const TargetImage& image, int32_t firstRow, int32_t endRow,
                 DoublingColour doublingColour, TableColour colour) {
  const StretchMap& map = shown.map;
  const size_t rowBytes = static_cast<size_t>(map.visible.width) * 4;
  const auto columns = static_cast<int32_t>(map.columnRuns.size());
  for (int32_t row = firstRow; row < endRow; ++row) {
    if (map.rowStart[row] == map.rowEnd[row]) continue;
    const Pixel* from =
        reinterpret_cast<const Pixel*>(shown.pixels.data()) + static_cast<size_t>(row) * shown.width + map.firstColumn;
    uint32_t* first = ImageRow(image, map.rowStart[row]) + map.visible.x;
    int32_t drawn = 1;
    if (map.pixelDoubling) {
      drawn = std::min(2, map.rowEnd[row] - map.rowStart[row]);
      DoubleRow(from, first, ImageRow(image, map.rowStart[row] + drawn - 1) + map.visible.x, columns, doublingColour);
    } else {
      StretchRow(from, first, map, colour);
    }
    for (int32_t y = map.rowStart[row] + drawn; y < map.rowEnd[row]; ++y)
      std::memcpy(ImageRow(image, y) + map.visible.x, first, rowBytes);
  }
}

void StretchRows(const ShownPicture& shown, const TargetImage& image, int32_t firstRow, int32_t endRow) {
  if (shown.bitsPerPixel == 16) {
    StretchRows<uint16_t>(shown, image, firstRow, endRow, WidenedColour{}, TableColour{Rgb565Table()});
  } else {
    const TableColour palette{shown.colours};
    StretchRows<uint8_t>(shown, image, firstRow, endRow, palette, palette);
  }
}

// Black around the visible part of the picture.
void FillBorders(const TargetImage& image, const DrawnRect& visible) {
  const size_t rowBytes = static_cast<size_t>(image.width) * 4;
  for (int32_t y = 0; y < image.height; ++y) {
    uint32_t* row = ImageRow(image, y);
    if (y < visible.y || y >= visible.y + visible.height || visible.width == 0) {
      std::memset(row, 0, rowBytes);
      continue;
    }
    std::memset(row, 0, static_cast<size_t>(visible.x) * 4);
    std::memset(row + visible.x + visible.width, 0, static_cast<size_t>(image.width - visible.x - visible.width) * 4);
  }
}

}  // namespace

void TakePicture(ShownPicture& shown, const void* pixels, int32_t pitch, int32_t width, int32_t height,
                 int32_t bitsPerPixel, const uint8_t* paletteRgbx) {
  const size_t rowBytes = static_cast<size_t>(width) * (bitsPerPixel / 8);
  const bool sameShape = shown.width == width && shown.height == height && shown.bitsPerPixel == bitsPerPixel;
  bool everyRow = !sameShape;
  if (!sameShape) {
    shown.pixels.resize(rowBytes * height);
    shown.rowChanged.assign(height, 1);
    shown.width = width, shown.height = height, shown.bitsPerPixel = bitsPerPixel;
  }
  if (bitsPerPixel == 8) {
    for (int i = 0; i < 256; ++i) {
      const uint8_t* entry = paletteRgbx + 4 * i;
      const uint32_t colour = 0xFF000000u | (uint32_t(entry[0]) << 16) | (entry[1] << 8) | entry[2];
      everyRow = everyRow || colour != shown.colours[i];
      shown.colours[i] = colour;
    }
  }
  const auto* source = static_cast<const uint8_t*>(pixels);
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* from = source + static_cast<size_t>(y) * pitch;
    uint8_t* kept = shown.pixels.data() + y * rowBytes;
    if (everyRow || std::memcmp(kept, from, rowBytes) != 0) {
      std::memcpy(kept, from, rowBytes);
      shown.rowChanged[y] = 1;
    }
  }
}

void StretchPicture(ShownPicture& shown, const TargetImage& image, const PicturePlace& place) {
  PrepareMap(shown.map, image, place, shown.width, shown.height);
  StretchRows(shown, image, 0, shown.height);
}

int32_t Draw(ShownPicture& shown, const TargetImage& image, const PicturePlace& place, bool everything,
             DrawnRect* rects, int32_t maxRects) {
  const bool newMap = PrepareMap(shown.map, image, place, shown.width, shown.height);
  const StretchMap& map = shown.map;
  // Every drawn picture pixel is opaque; a window image made again at the same address starts out all zero.
  const bool stillDrawn = map.visible.width == 0 || (ImageRow(image, map.visible.y)[map.visible.x] >> 24) == 0xFF;
  const bool sameImage = shown.drawnOnce && shown.drawnOn.pixels == image.pixels &&
                         shown.drawnOn.pitch == image.pitch && shown.drawnOn.width == image.width &&
                         shown.drawnOn.height == image.height && stillDrawn;
  if (everything || newMap || !sameImage) {
    FillBorders(image, map.visible);
    StretchRows(shown, image, 0, shown.height);
    std::fill(shown.rowChanged.begin(), shown.rowChanged.end(), 0);
    shown.drawnOn = image;
    shown.drawnOnce = true;
    return -1;
  }
  // Runs of changed rows, each drawn and given as one rectangle; past maxRects the last one grows.
  int32_t count = 0;
  for (int32_t row = 0; row < shown.height;) {
    if (shown.rowChanged[row] == 0 || map.rowStart[row] == map.rowEnd[row]) {
      shown.rowChanged[row++] = 0;
      continue;
    }
    const int32_t first = row;
    while (row < shown.height && shown.rowChanged[row] != 0 && map.rowStart[row] != map.rowEnd[row])
      shown.rowChanged[row++] = 0;
    StretchRows(shown, image, first, row);
    const int32_t top = map.rowStart[first], bottom = map.rowEnd[row - 1];
    if (count < maxRects) {
      rects[count++] = DrawnRect{map.visible.x, top, map.visible.width, bottom - top};
    } else {
      DrawnRect& last = rects[count - 1];
      last.height = bottom - last.y;
    }
  }
  return count;
}

}  // namespace platform::window_image
