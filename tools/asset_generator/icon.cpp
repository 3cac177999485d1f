// The game's icon, drawn from one description in unit coordinates so every pixel size is the same picture,
// and its scalable SVG twin built from the same layout and grid geometry.
#include "tools/asset_generator/icon.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "platform/screenshot.h"
#include "platform/tool_support/png_file.h"
#include "tools/asset_generator/drawing.h"
#include "tools/asset_generator/file_bytes.h"
#include "tools/asset_generator/palette_reduction.h"

namespace assets {

namespace {

const Color kCyan{0, 200, 255};
const Color kMagenta{220, 60, 230};
const Color kSkyTop{40, 20, 90};
const Color kSkyHorizon{14, 12, 46};
const Color kFloor{16, 8, 36};
const Color kSteel{160, 180, 220};

// The floor's perspective: a grid row at world depth n lies at horizonY + kDepthScale / n, and a grid column k
// meets the icon's bottom edge at 0.5 + k * kColumnSpread.
constexpr float kDepthScale = 0.5f;
constexpr float kColumnSpread = 0.32f;

// Coverage of the nearest grid line at (u, v) below the horizon, fading out towards the horizon.
float GridLight(float u, float v, float lineWidth) {
  const IconLayout& l = kIconLayout;
  const float below = v - l.horizonY;
  if (below <= 0.0f) return 0.0f;
  const float depth = kDepthScale / below;
  const float n = std::max(1.0f, std::round(depth));
  const float rowDistance = std::fabs(v - (l.horizonY + kDepthScale / n));
  // Columns: the line through the vanishing point and (0.5 + k * spread, 1).
  const float reach = below / (1.0f - l.horizonY);
  const float k = std::round((u - 0.5f) / (kColumnSpread * reach));
  const float columnDistance = std::fabs(u - (0.5f + k * kColumnSpread * reach));
  const float line = std::max(std::clamp(1.0f - rowDistance / lineWidth, 0.0f, 1.0f),
                              std::clamp(1.0f - columnDistance / lineWidth, 0.0f, 1.0f));
  return line * std::pow(std::clamp(reach, 0.0f, 1.0f), 0.7f);
}

// The icon at a point in unit coordinates; `pixel` is one pixel's size in those units.
Sample IconSample(float u, float v, float pixel) {
  const IconLayout& l = kIconLayout;
  const float half = 0.5f - l.tileInset;
  const float tile = RoundedBoxDistance(u, v, 0.5f, 0.5f, half, half, l.tileCorner);
  if (tile > 0.0f) return {};
  Color c;
  if (v < l.horizonY) {
    c = Mix(kSkyTop, kSkyHorizon, v / l.horizonY);
  } else {
    const float nearness = (v - l.horizonY) / (1.0f - l.horizonY);
    c = kFloor + Mix(kMagenta, kCyan, nearness) * GridLight(u, v, std::max(pixel * 0.9f, 0.006f));
  }
  // The horizon glows magenta, as on the title screen.
  c = c + Color{255, 70, 190} * (0.5f * std::exp(-std::fabs(v - l.horizonY) / 0.035f));
  // The cyan glow around the ball, then the ball itself.
  const float fromCentre = std::hypot(u - l.ballX, v - l.ballY);
  const float beyond = (fromCentre - l.ballRadius) / l.glowWidth;
  if (beyond > 0.0f && beyond < 1.0f) c = c + kCyan * (0.95f * std::pow(1.0f - beyond, 1.6f));
  const Sample ball = ChromeSphereSample(u, v, l.ballX, l.ballY, l.ballRadius);
  if (ball.alpha > 0.0f) c = ball.color;
  // A thin steel rim keeps the tile's outline visible on dark and light desktops alike.
  const float rim = std::max(pixel, 0.016f);
  if (tile > -rim) c = Mix(c, kSteel, 0.8f);
  return {c, 1.0f};
}

std::string Hex(Color c) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", ChannelByte(c.r), ChannelByte(c.g), ChannelByte(c.b));
  return text;
}

}  // namespace

const std::vector<int32_t>& IconPixelSizes() {
  static const std::vector<int32_t> sizes = {32, 64, 128, 256};
  return sizes;
}

Image MakeIcon(int32_t size) {
  Image image(size, size);
  const float pixel = 1.0f / float(size);
  ShadeArea(image, 0, 0, size, size, 4, [=](float x, float y) { return IconSample(x * pixel, y * pixel, pixel); });
  return image;
}

std::string MakeIconSvg() {
  const IconLayout& l = kIconLayout;
  const float s = 256.0f;
  const float inset = l.tileInset * s, side = s - 2 * inset, corner = l.tileCorner * s, horizon = l.horizonY * s;
  std::ostringstream svg;
  svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n"
      << "  <defs>\n"
      << "    <linearGradient id=\"sky\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"" << horizon
      << "\" gradientUnits=\"userSpaceOnUse\">"
      << "<stop offset=\"0\" stop-color=\"" << Hex(kSkyTop) << "\"/><stop offset=\"1\" stop-color=\""
      << Hex(kSkyHorizon) << "\"/></linearGradient>\n"
      << "    <linearGradient id=\"lines\" x1=\"0\" y1=\"" << horizon
      << "\" x2=\"0\" y2=\"256\" gradientUnits=\"userSpaceOnUse\">"
      << "<stop offset=\"0\" stop-color=\"" << Hex(kMagenta)
      << "\" stop-opacity=\"0.1\"/><stop offset=\"1\" stop-color=\"" << Hex(kCyan) << "\"/></linearGradient>\n"
      << "    <linearGradient id=\"horizon\" x1=\"0\" y1=\"" << horizon - 24 << "\" x2=\"0\" y2=\"" << horizon + 24
      << "\" gradientUnits=\"userSpaceOnUse\"><stop offset=\"0\" stop-color=\"#ff46be\" stop-opacity=\"0\"/>"
      << "<stop offset=\"0.5\" stop-color=\"#ff46be\" stop-opacity=\"0.55\"/><stop offset=\"1\" stop-color=\"#ff46be\" "
      << "stop-opacity=\"0\"/></linearGradient>\n"
      << "    <radialGradient id=\"glow\" cx=\"" << l.ballX * s << "\" cy=\"" << l.ballY * s << "\" r=\""
      << (l.ballRadius + l.glowWidth) * s << "\" gradientUnits=\"userSpaceOnUse\">"
      << "<stop offset=\"" << l.ballRadius / (l.ballRadius + l.glowWidth) << "\" stop-color=\"" << Hex(kCyan)
      << "\" stop-opacity=\"0.95\"/><stop offset=\"1\" stop-color=\"" << Hex(kCyan)
      << "\" stop-opacity=\"0\"/></radialGradient>\n"
      // The mirror ball: the sky's pink to deep blue above a white horizon line, the floor's pink to indigo below.
      << "    <linearGradient id=\"chrome\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
      << "<stop offset=\"0\" stop-color=\"#2a2c8a\"/><stop offset=\"0.47\" stop-color=\"#ff8cdc\"/>"
      << "<stop offset=\"0.5\" stop-color=\"#ffffff\"/><stop offset=\"0.53\" stop-color=\"#ff9ae6\"/>"
      << "<stop offset=\"1\" stop-color=\"#1e0a40\"/></linearGradient>\n"
      << "    <radialGradient id=\"shine\" cx=\"0.32\" cy=\"0.28\" r=\"0.45\">"
      << "<stop offset=\"0\" stop-color=\"#ffffff\" stop-opacity=\"0.9\"/><stop offset=\"1\" stop-color=\"#ffffff\" "
      << "stop-opacity=\"0\"/></radialGradient>\n"
      << "    <clipPath id=\"tile\"><rect x=\"" << inset << "\" y=\"" << inset << "\" width=\"" << side
      << "\" height=\"" << side << "\" rx=\"" << corner << "\"/></clipPath>\n"
      << "  </defs>\n"
      << "  <g clip-path=\"url(#tile)\">\n"
      << "    <rect width=\"256\" height=\"" << horizon << "\" fill=\"url(#sky)\"/>\n"
      << "    <rect y=\"" << horizon << "\" width=\"256\" height=\"" << s - horizon << "\" fill=\"" << Hex(kFloor)
      << "\"/>\n"
      << "    <path fill=\"none\" stroke=\"url(#lines)\" stroke-width=\"2\" d=\"";
  // The same rows and columns as the pixel icon's floor.
  for (int n = 1; n <= 16; ++n) {
    const float y = (l.horizonY + kDepthScale / float(n)) * s;
    if (y < s) svg << "M0 " << y << "H256";
  }
  for (int k = -8; k <= 8; ++k) svg << "M128 " << horizon << "L" << (0.5f + float(k) * kColumnSpread) * s << " 256";
  svg << "\"/>\n"
      << "    <rect y=\"" << horizon - 24 << "\" width=\"256\" height=\"48\" fill=\"url(#horizon)\"/>\n"
      << "  </g>\n"
      << "  <circle cx=\"" << l.ballX * s << "\" cy=\"" << l.ballY * s << "\" r=\"" << (l.ballRadius + l.glowWidth) * s
      << "\" fill=\"url(#glow)\"/>\n"
      << "  <circle cx=\"" << l.ballX * s << "\" cy=\"" << l.ballY * s << "\" r=\"" << l.ballRadius * s
      << "\" fill=\"url(#chrome)\"/>\n"
      << "  <circle cx=\"" << l.ballX * s << "\" cy=\"" << l.ballY * s << "\" r=\"" << l.ballRadius * s
      << "\" fill=\"url(#shine)\"/>\n"
      << "  <rect x=\"" << inset + 2 << "\" y=\"" << inset + 2 << "\" width=\"" << side - 4 << "\" height=\""
      << side - 4 << "\" rx=\"" << corner - 2 << "\" fill=\"none\" stroke=\"" << Hex(kSteel)
      << "\" stroke-width=\"4\"/>\n"
      << "</svg>\n";
  return svg.str();
}

bool WriteIcons(const std::string& themeFolder, const std::string& name, std::string* error) {
  namespace fs = std::filesystem;
  auto folderFor = [&](const std::string& sizeName) {
    const fs::path folder = fs::path(themeFolder) / sizeName / "apps";
    std::error_code code;
    fs::create_directories(folder, code);
    if (code) *error = "cannot create " + folder.string() + ": " + code.message();
    return code ? fs::path() : folder;
  };
  for (const int32_t size : IconPixelSizes()) {
    const std::string sizeName = std::to_string(size) + "x" + std::to_string(size);
    const fs::path folder = folderFor(sizeName);
    if (folder.empty()) return false;
    if (!platform::WritePng((folder / (name + ".png")).string(), size, size, 4, ToRgba(MakeIcon(size)), error))
      return false;
  }
  const fs::path folder = folderFor("scalable");
  if (folder.empty()) return false;
  const std::string svg = MakeIconSvg();
  return WriteBytes((folder / (name + ".svg")).string(), std::vector<uint8_t>(svg.begin(), svg.end()), error);
}

const std::vector<int32_t>& WebIconPixelSizes() {
  static const std::vector<int32_t> sizes = {192, 512};
  return sizes;
}

bool WriteWebIcons(const std::string& folder, std::string* error) {
  std::error_code code;
  std::filesystem::create_directories(folder, code);
  if (code) {
    *error = "cannot create " + folder + ": " + code.message();
    return false;
  }
  for (const int32_t size : WebIconPixelSizes()) {
    const IndexedPicture picture = ReduceColours(ToRgba(MakeIcon(size)), 256);
    const std::string path = folder + "/icon-" + std::to_string(size) + ".png";
    if (!platform::WriteIndexedPng(path, size, size, picture.indices, picture.palette, error)) return false;
  }
  return true;
}

const std::vector<int32_t>& WindowsIconPixelSizes() {
  static const std::vector<int32_t> sizes = {16, 32, 48, 256};
  return sizes;
}

std::vector<uint8_t> MakeWindowsIconFile() {
  // Sizes from this one up are stored as PNG.
  constexpr int32_t kPngFromSize = 256;
  std::vector<std::vector<uint8_t>> images;
  for (const int32_t size : WindowsIconPixelSizes()) {
    const std::vector<uint8_t> rgba = ToRgba(MakeIcon(size));
    if (size >= kPngFromSize) {
      images.push_back(platform::EncodePng(rgba, size, size, 4));
      continue;
    }
    std::vector<uint8_t> dib;
    // The bitmap header: its height counts the colour rows and the mask rows together.
    PutLe(dib, 40, 4);
    PutLe(dib, uint32_t(size), 4);
    PutLe(dib, uint32_t(size) * 2, 4);
    PutLe(dib, 1, 2);   // planes
    PutLe(dib, 32, 2);  // bits per pixel
    PutLe(dib, 0, 4);   // no compression
    const uint32_t maskRowBytes = (uint32_t(size) + 31) / 32 * 4;
    PutLe(dib, uint32_t(size) * uint32_t(size) * 4 + maskRowBytes * uint32_t(size), 4);
    for (int field = 0; field < 4; ++field) PutLe(dib, 0, 4);  // resolution and palette: none
    for (int32_t y = size - 1; y >= 0; --y) {
      for (int32_t x = 0; x < size; ++x) {
        const uint8_t* pixel = &rgba[(size_t(y) * size_t(size) + size_t(x)) * 4];
        dib.insert(dib.end(), {pixel[2], pixel[1], pixel[0], pixel[3]});
      }
    }
    dib.insert(dib.end(), size_t(maskRowBytes) * size_t(size), 0);
    images.push_back(std::move(dib));
  }
  std::vector<uint8_t> file;
  PutLe(file, 0, 2);  // reserved
  PutLe(file, 1, 2);  // an icon, not a cursor
  PutLe(file, uint32_t(images.size()), 2);
  uint32_t offset = 6 + 16 * uint32_t(images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    const int32_t size = WindowsIconPixelSizes()[i];
    file.push_back(uint8_t(size >= 256 ? 0 : size));  // 0 stands for 256
    file.push_back(uint8_t(size >= 256 ? 0 : size));
    file.push_back(0);  // no palette
    file.push_back(0);
    PutLe(file, 1, 2);   // planes
    PutLe(file, 32, 2);  // bits per pixel
    PutLe(file, uint32_t(images[i].size()), 4);
    PutLe(file, offset, 4);
    offset += uint32_t(images[i].size());
  }
  for (const std::vector<uint8_t>& image : images) file.insert(file.end(), image.begin(), image.end());
  return file;
}

bool WriteWindowsIcon(const std::string& path, std::string* error) {
  return WriteBytes(path, MakeWindowsIconFile(), error);
}

}  // namespace assets
