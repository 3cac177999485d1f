// The game's icon: a chrome ball with a cyan glow over the title's perspective grid, on a rounded night-blue tile;
// drawn at any pixel size, written as a scalable SVG picture, a Windows icon file and the web page's palette PNGs.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/asset_generator/image.h"

namespace assets {

// Where the icon's parts sit, as fractions of its side, so a check can look at them at any size.
struct IconLayout {
  float tileInset = 1.0f / 32.0f;  // the tile leaves this margin on every side
  float tileCorner = 0.19f;        // corner radius of the tile
  float horizonY = 0.60f;          // the grid floor starts here
  float ballX = 0.5f, ballY = 0.44f, ballRadius = 0.25f;
  float glowWidth = 0.07f;  // the cyan light beyond the ball's edge
};
constexpr IconLayout kIconLayout{};

// The pixel sizes the desktop's icon theme gets.
const std::vector<int32_t>& IconPixelSizes();

// The icon at size x size pixels, transparent outside the tile.
Image MakeIcon(int32_t size);
// The same icon as an SVG document with a 256-unit square view box.
std::string MakeIconSvg();

// Writes SIZExSIZE/apps/NAME.png for every size and scalable/apps/NAME.svg under `themeFolder`, creating
// the folders. Returns false with a reason in *error at the first file that cannot be made.
bool WriteIcons(const std::string& themeFolder, const std::string& name, std::string* error);

// The pixel sizes of the web page's icons.
const std::vector<int32_t>& WebIconPixelSizes();

// Writes icon-SIZE.png for every web size into `folder` (created when missing): the icon reduced to 256 colours
// in an 8-bit indexed PNG file, so that it travels small.
// Returns false with a reason in *error at the first file that cannot be made.
bool WriteWebIcons(const std::string& folder, std::string* error);

// The pixel sizes of the Windows icon file.
const std::vector<int32_t>& WindowsIconPixelSizes();

// The icon as a Windows .ico file: a directory of every Windows size, each image 32-bit with alpha, the
// small ones as device-independent bitmaps (rows from the bottom, then an all-clear 1-bit mask) and the
// 256-pixel one as PNG, as Windows expects.
std::vector<uint8_t> MakeWindowsIconFile();

// Writes MakeWindowsIconFile() to path. Returns false with a reason in *error when it cannot.
bool WriteWindowsIcon(const std::string& path, std::string* error);

}  // namespace assets
