// The window-image presenter's drawing against the plain rule it replaces (each window pixel takes the picture
// pixel under its centre, black around), for several windows and both depths, and its redrawing of changed rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "platform/internal/picture_placement.h"
#include "platform/sdl/window_image_drawing.h"

namespace {

using platform::PictureScaling;
namespace window_image = platform::window_image;

struct Picture {
  int32_t width, height, bitsPerPixel;
  std::vector<uint8_t> pixels;   // packed rows
  std::vector<uint8_t> palette;  // 8-bit: 256 entries of R, G, B, unused
};

Picture MakePicture(int32_t width, int32_t height, int32_t bitsPerPixel, std::mt19937& random) {
  Picture picture{width, height, bitsPerPixel, std::vector<uint8_t>(size_t(width) * height * bitsPerPixel / 8),
                  std::vector<uint8_t>(1024)};
  for (uint8_t& byte : picture.pixels) byte = uint8_t(random());
  for (uint8_t& byte : picture.palette) byte = uint8_t(random());
  return picture;
}

uint32_t PictureColour(const Picture& picture, int32_t x, int32_t y) {
  if (picture.bitsPerPixel == 8) {
    const uint8_t* entry = &picture.palette[4 * picture.pixels[size_t(y) * picture.width + x]];
    return 0xFF000000u | uint32_t(entry[0]) << 16 | uint32_t(entry[1]) << 8 | entry[2];
  }
  const size_t at = 2 * (size_t(y) * picture.width + x);
  const uint32_t pixel = picture.pixels[at] | picture.pixels[at + 1] << 8;
  const uint32_t red = pixel >> 11, green = (pixel >> 5) & 0x3F, blue = pixel & 0x1F;
  return 0xFF000000u | ((red << 3) | (red >> 2)) << 16 | ((green << 2) | (green >> 4)) << 8 | (blue << 3) | (blue >> 2);
}

// The window as the per-pixel rule draws it.
std::vector<uint32_t> Expected(const Picture& picture, const platform::PicturePlace& place, int32_t width,
                               int32_t height) {
  std::vector<uint32_t> window(size_t(width) * height, 0);
  for (int32_t y = std::max(0, place.y); y < std::min(height, place.y + place.height); ++y) {
    const auto row = int32_t((2 * int64_t(y - place.y) + 1) * picture.height / (2 * int64_t(place.height)));
    for (int32_t x = std::max(0, place.x); x < std::min(width, place.x + place.width); ++x) {
      const auto column = int32_t((2 * int64_t(x - place.x) + 1) * picture.width / (2 * int64_t(place.width)));
      window[size_t(y) * width + x] = PictureColour(picture, column, row);
    }
  }
  return window;
}

// The drawn window without its row padding.
std::vector<uint32_t> Visible(const std::vector<uint32_t>& image, int32_t width, int32_t height, int32_t pitchPixels) {
  std::vector<uint32_t> window;
  for (int32_t y = 0; y < height; ++y)
    window.insert(window.end(), image.begin() + size_t(y) * pitchPixels,
                  image.begin() + size_t(y) * pitchPixels + width);
  return window;
}

// Empty when the drawn window is the expected one, else where and how they first differ.
std::string Difference(const std::vector<uint32_t>& drawn, const std::vector<uint32_t>& expected, int32_t width) {
  for (size_t at = 0; at < expected.size(); ++at) {
    if (drawn[at] != expected[at])
      return testing::PrintToString(
                 std::array{int64_t(at % width), int64_t(at / width), int64_t(drawn[at]), int64_t(expected[at])}) +
             " (x, y, drawn, expected)";
  }
  return "";
}

TEST(WindowImageDrawing, MatchesTheCentreRuleAndRedrawsOnlyChangedRows) {
  struct Case {
    int32_t pictureWidth, pictureHeight, windowWidth, windowHeight;
    PictureScaling scaling;
  };
  const Case cases[] = {
      {640, 480, 640, 480, PictureScaling::Fit},        // 1x
      {640, 480, 1280, 960, PictureScaling::Fit},       // 2x: pixel doubling
      {640, 480, 1920, 1080, PictureScaling::Fit},      // 2.25x, borders left and right
      {640, 480, 1920, 1080, PictureScaling::Integer},  // 2x centred, borders all round
      {640, 480, 1279, 960, PictureScaling::Fit},       // just under 2x
      {640, 480, 1024, 2000, PictureScaling::Fit},      // 1.6x, borders above and below
      {640, 480, 2000, 1500, PictureScaling::Integer},  // 3x
      {640, 480, 600, 400, PictureScaling::Integer},    // 1x, cut on every side
      {640, 480, 600, 400, PictureScaling::Fit},        // shrunk
      {128, 96, 576, 432, PictureScaling::Fit},         // runs of 4 and 5 columns
      {100, 75, 640, 480, PictureScaling::Fit},         // runs of 6 and 7 columns
      {75, 56, 640, 480, PictureScaling::Fit},          // runs of 8 and 9 columns
      {37, 23, 1000, 700, PictureScaling::Fit},         // runs of 27 and 28 columns
  };
  std::mt19937 random(16);
  for (const Case& c : cases) {
    for (int32_t bits : {16, 8}) {
      SCOPED_TRACE(testing::Message() << c.pictureWidth << "x" << c.pictureHeight << "x" << bits << " in "
                                      << c.windowWidth << "x" << c.windowHeight
                                      << (c.scaling == PictureScaling::Fit ? " fit" : " integer"));
      Picture picture = MakePicture(c.pictureWidth, c.pictureHeight, bits, random);
      const int32_t pitchPixels = c.windowWidth + 16;
      std::vector<uint32_t> image(size_t(pitchPixels) * c.windowHeight, 0xDEADBEEF);
      const window_image::TargetImage target{reinterpret_cast<uint8_t*>(image.data()), pitchPixels * 4, c.windowWidth,
                                             c.windowHeight};
      const platform::PicturePlace place =
          platform::PlacePicture(c.scaling, c.windowWidth, c.windowHeight, c.pictureWidth, c.pictureHeight);
      const int32_t bytesPerRow = c.pictureWidth * bits / 8;
      window_image::ShownPicture shown;
      window_image::DrawnRect rects[4];
      auto present = [&] {
        window_image::TakePicture(shown, picture.pixels.data(), bytesPerRow, c.pictureWidth, c.pictureHeight, bits,
                                  picture.palette.data());
        return window_image::Draw(shown, target, place, false, rects, 4);
      };

      // The first picture is drawn whole, borders included.
      ASSERT_EQ(present(), -1);
      ASSERT_EQ(Difference(Visible(image, c.windowWidth, c.windowHeight, pitchPixels),
                           Expected(picture, place, c.windowWidth, c.windowHeight), c.windowWidth),
                "");

      // The same picture again: nothing to draw.
      EXPECT_EQ(present(), 0);

      // Scattered rows change (more bands than rectangles): every pixel that changes lies in a drawn rectangle.
      for (int32_t y = 0; y < c.pictureHeight; y += 3 + y % 7)
        picture.pixels[size_t(y) * bytesPerRow + (y * 5) % bytesPerRow] ^= 0x5A;
      const std::vector<uint32_t> before = Visible(image, c.windowWidth, c.windowHeight, pitchPixels);
      const int32_t count = present();
      ASSERT_GE(count, 1);
      const std::vector<uint32_t> after = Visible(image, c.windowWidth, c.windowHeight, pitchPixels);
      ASSERT_EQ(Difference(after, Expected(picture, place, c.windowWidth, c.windowHeight), c.windowWidth), "");
      int32_t outside = 0;
      for (int32_t y = 0; y < c.windowHeight; ++y) {
        for (int32_t x = 0; x < c.windowWidth; ++x) {
          bool inRect = false;
          for (int32_t i = 0; i < count; ++i)
            inRect = inRect || (x >= rects[i].x && x < rects[i].x + rects[i].width && y >= rects[i].y &&
                                y < rects[i].y + rects[i].height);
          outside += !inRect && before[size_t(y) * c.windowWidth + x] != after[size_t(y) * c.windowWidth + x];
        }
      }
      EXPECT_EQ(outside, 0);

      // A changed palette redraws the whole 8-bit picture.
      if (bits == 8) {
        picture.palette[4 * picture.pixels[0] + 1] ^= 0xFF;
        ASSERT_GE(present(), 1);
        EXPECT_EQ(Difference(Visible(image, c.windowWidth, c.windowHeight, pitchPixels),
                             Expected(picture, place, c.windowWidth, c.windowHeight), c.windowWidth),
                  "");
      }

      // An image made again at the same address (all zero) is drawn whole.
      std::fill(image.begin(), image.end(), 0);
      EXPECT_EQ(present(), -1);
      EXPECT_EQ(Difference(Visible(image, c.windowWidth, c.windowHeight, pitchPixels),
                           Expected(picture, place, c.windowWidth, c.windowHeight), c.windowWidth),
                "");

      // Another image (a new window image after a resize) is drawn whole, borders included.
      std::vector<uint32_t> other(image.size(), 0xDEADBEEF);
      const window_image::TargetImage otherTarget{reinterpret_cast<uint8_t*>(other.data()), pitchPixels * 4,
                                                  c.windowWidth, c.windowHeight};
      EXPECT_EQ(window_image::Draw(shown, otherTarget, place, false, rects, 4), -1);
      EXPECT_EQ(Difference(Visible(other, c.windowWidth, c.windowHeight, pitchPixels),
                           Expected(picture, place, c.windowWidth, c.windowHeight), c.windowWidth),
                "");
    }
  }
}

}  // namespace
