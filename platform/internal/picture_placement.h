// Where a picture goes in a window: fitted (the largest rectangle of its aspect) or at a whole multiple
// of its size, centred either way. Plain arithmetic, shared by both SDL presenters.
#pragma once
#include <cstdint>

#include "platform/display_choices.h"

namespace platform {

// A rectangle in window pixels; x and y may be negative when the picture is larger than the window.
struct PicturePlace {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// The largest rectangle of the picture's aspect that fits the window, centred.
PicturePlace FitPlacement(int32_t windowWidth, int32_t windowHeight, int32_t pictureWidth, int32_t pictureHeight);

// The picture at the largest whole multiple of its size that fits the window (1x at least, so a window
// smaller than the picture cuts its edges), centred.
PicturePlace IntegerPlacement(int32_t windowWidth, int32_t windowHeight, int32_t pictureWidth, int32_t pictureHeight);

// The one of the two that scaling names.
PicturePlace PlacePicture(PictureScaling scaling, int32_t windowWidth, int32_t windowHeight, int32_t pictureWidth,
                          int32_t pictureHeight);

}  // namespace platform
