// Lettering for the pictures: text masks from the bold font, and the chrome look with depth, outline and glow.
// Masks are coverage planes (0..1) that the picture code colours and composes.
#pragma once
#include <cstdint>
#include <string>

#include "tools/asset_generator/drawing.h"
#include "tools/asset_generator/image.h"

namespace assets {

// The ink of a string, cropped to the pixels that carry any ink (coverage 0..1).
// Throws std::runtime_error when the font cannot be used.
Plane RenderInk(const std::string& text, int32_t pixelSize);
// The largest pixel size whose ink fits within maxWidth x maxHeight.
int32_t FitPixelSize(const std::string& text, int32_t maxWidth, int32_t maxHeight);

// How a chrome string is finished. Colours of the face run top to bottom through a bright "sky" half,
// a dark horizon band and a warmer "ground" half; the rest are optional layers drawn beneath the face.
struct ChromeStyle {
  Color skyTop{250, 252, 255};
  Color skyBottom{120, 150, 205};
  Color groundTop{40, 36, 70};
  Color groundBottom{215, 225, 250};
  float horizon = 0.52f;  // where the sky half ends, as a fraction of the ink height
  float bevel = 1.0f;     // strength of the edge lighting from the top-left
  int32_t depth = 0;      // extrusion layers, each one pixel down and right
  Color depthNear{60, 70, 120};
  Color depthFar{14, 16, 40};
  int32_t outline = 0;  // dark rim around the face and extrusion, in pixels
  Color outlineColor{10, 10, 24};
  int32_t glowRadius = 0;  // soft coloured light around everything
  Color glowColor{0, 200, 255};
  float glowStrength = 0;
  int32_t shadowOffset = 0;  // blurred drop shadow down and right
  float shadowAlpha = 0;
};

// Paints the ink with its top-left ink pixel at (x, y); extrusion, glow and shadow spill beyond it.
void DrawChromeText(Image& image, const Plane& ink, int32_t x, int32_t y, const ChromeStyle& style);

// Paints flat lettering: the ink in `color`, with an optional one-pixel highlight below (a stamped look).
void DrawPlainText(Image& image, const Plane& ink, int32_t x, int32_t y, Color color, float alpha, Color highlight,
                   float highlightAlpha);

}  // namespace assets
