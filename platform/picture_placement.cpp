// Fitted and whole-multiple placement of a picture in a window.
// Products are taken in 64 bits so that the largest windows cannot overflow them.
#include "platform/internal/picture_placement.h"

#include <algorithm>

namespace platform {

PicturePlace FitPlacement(int32_t windowWidth, int32_t windowHeight, int32_t pictureWidth, int32_t pictureHeight) {
  PicturePlace place;
  if (pictureWidth <= 0 || pictureHeight <= 0) return place;
  if (static_cast<int64_t>(windowWidth) * pictureHeight <= static_cast<int64_t>(windowHeight) * pictureWidth) {
    place.width = windowWidth;
    place.height = static_cast<int32_t>(static_cast<int64_t>(windowWidth) * pictureHeight / pictureWidth);
  } else {
    place.height = windowHeight;
    place.width = static_cast<int32_t>(static_cast<int64_t>(windowHeight) * pictureWidth / pictureHeight);
  }
  place.x = (windowWidth - place.width) / 2;
  place.y = (windowHeight - place.height) / 2;
  return place;
}

PicturePlace IntegerPlacement(int32_t windowWidth, int32_t windowHeight, int32_t pictureWidth, int32_t pictureHeight) {
  PicturePlace place;
  if (pictureWidth <= 0 || pictureHeight <= 0) return place;
  const int32_t scale = std::max(1, std::min(windowWidth / pictureWidth, windowHeight / pictureHeight));
  place.width = pictureWidth * scale;
  place.height = pictureHeight * scale;
  place.x = (windowWidth - place.width) / 2;
  place.y = (windowHeight - place.height) / 2;
  return place;
}

PicturePlace PlacePicture(PictureScaling scaling, int32_t windowWidth, int32_t windowHeight, int32_t pictureWidth,
                          int32_t pictureHeight) {
  return scaling == PictureScaling::Integer ? IntegerPlacement(windowWidth, windowHeight, pictureWidth, pictureHeight)
                                            : FitPlacement(windowWidth, windowHeight, pictureWidth, pictureHeight);
}

}  // namespace platform
