// Placement of the 640 x 480 picture in windows of several sizes: whole multiples, centred, 1x at least,
// and the fitted rectangle it replaces.
#include <gtest/gtest.h>

#include <array>

#include "platform/internal/picture_placement.h"

namespace {

using platform::PicturePlace;

TEST(PicturePlacement, IntegerAndFitForSeveralWindows) {
  struct Case {
    int32_t windowWidth, windowHeight;
    PicturePlace integer, fit;
  };
  const Case cases[] = {
      {640, 480, {0, 0, 640, 480}, {0, 0, 640, 480}},
      {1280, 960, {0, 0, 1280, 960}, {0, 0, 1280, 960}},
      {1279, 960, {319, 240, 640, 480}, {0, 0, 1279, 959}},      // one pixel short of 2x
      {1920, 1080, {320, 60, 1280, 960}, {240, 0, 1440, 1080}},  // wide screen: height decides
      {1024, 2000, {192, 760, 640, 480}, {0, 616, 1024, 768}},   // tall window: width decides
      {3840, 2160, {640, 120, 2560, 1920}, {480, 0, 2880, 2160}},
      {600, 400, {-20, -40, 640, 480}, {33, 0, 533, 400}},  // smaller than the picture: 1x, cut
  };
  for (const Case& c : cases) {
    const PicturePlace integer =
        platform::PlacePicture(platform::PictureScaling::Integer, c.windowWidth, c.windowHeight, 640, 480);
    const PicturePlace fit =
        platform::PlacePicture(platform::PictureScaling::Fit, c.windowWidth, c.windowHeight, 640, 480);
    EXPECT_EQ((std::array{integer.x, integer.y, integer.width, integer.height}),
              (std::array{c.integer.x, c.integer.y, c.integer.width, c.integer.height}))
        << c.windowWidth << "x" << c.windowHeight;
    EXPECT_EQ((std::array{fit.x, fit.y, fit.width, fit.height}),
              (std::array{c.fit.x, c.fit.y, c.fit.width, c.fit.height}))
        << c.windowWidth << "x" << c.windowHeight;
  }
  EXPECT_EQ(platform::IntegerPlacement(800, 600, 0, 480).width, 0);  // no picture yet: nothing to place
}

}  // namespace
