// Reducing a picture of straight red, green, blue and alpha bytes to at most 256 colours by median cut, without
// dithering so that flat areas stay flat and compress well: for the page's icons, which travel over the network.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace assets {

// A picture as one palette index a pixel, and its palette: red, green, blue and alpha for each colour.
struct IndexedPicture {
  std::vector<uint8_t> indices;
  std::vector<uint8_t> palette;
};

// The picture `rgba` (4 bytes a pixel) in at most `maxColours` colours (1 to 256). Fully transparent pixels
// become one transparent black; every other colour is the count-weighted mean of the box it falls in.
IndexedPicture ReduceColours(const std::vector<uint8_t>& rgba, size_t maxColours);

}  // namespace assets
