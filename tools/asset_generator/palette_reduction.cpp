// Median cut over the picture's distinct colours: the box whose widest channel spans most is split at the
// pixel-weighted median of that channel, until there are enough boxes or every box holds one colour.
#include "tools/asset_generator/palette_reduction.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace assets {

namespace {

struct DistinctColour {
  std::array<uint8_t, 4> channels;
  uint64_t pixels;
};

struct Box {
  size_t begin, end;  // a range of the distinct colours
  int widestChannel;
  int span;  // of the widest channel
};

uint32_t Key(const uint8_t* pixel) {
  if (pixel[3] == 0) return 0;  // every transparent pixel is one colour
  return uint32_t(pixel[0]) << 24 | uint32_t(pixel[1]) << 16 | uint32_t(pixel[2]) << 8 | pixel[3];
}

Box Measure(const std::vector<DistinctColour>& colours, size_t begin, size_t end) {
  Box box{begin, end, 0, 0};
  for (int c = 0; c < 4; ++c) {
    uint8_t low = 255, high = 0;
    for (size_t i = begin; i < end; ++i) {
      low = std::min(low, colours[i].channels[size_t(c)]);
      high = std::max(high, colours[i].channels[size_t(c)]);
    }
    if (high - low > box.span) {
      box.span = high - low;
      box.widestChannel = c;
    }
  }
  return box;
}

}  // namespace

IndexedPicture ReduceColours(const std::vector<uint8_t>& rgba, size_t maxColours) {
  maxColours = std::clamp<size_t>(maxColours, 1, 256);
  std::unordered_map<uint32_t, uint64_t> counts;
  for (size_t i = 0; i + 3 < rgba.size(); i += 4) ++counts[Key(&rgba[i])];
  // Transparent black keeps an entry of its own, so the see-through pixels stay exactly see-through.
  const bool seeThrough = counts.erase(0) > 0;
  const size_t maxBoxes = maxColours - (seeThrough ? 1 : 0);
  std::vector<DistinctColour> colours;
  colours.reserve(counts.size());
  for (const auto& [key, pixels] : counts)
    colours.push_back({{uint8_t(key >> 24), uint8_t(key >> 16), uint8_t(key >> 8), uint8_t(key)}, pixels});

  std::vector<Box> boxes;
  if (!colours.empty() && maxBoxes > 0) boxes.push_back(Measure(colours, 0, colours.size()));
  while (boxes.size() < maxBoxes) {
    const auto widest =
        std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) { return a.span < b.span; });
    if (widest == boxes.end() || widest->span == 0) break;
    const Box box = *widest;
    const size_t c = size_t(box.widestChannel);
    std::sort(colours.begin() + ptrdiff_t(box.begin), colours.begin() + ptrdiff_t(box.end),
              [c](const DistinctColour& a, const DistinctColour& b) { return a.channels[c] < b.channels[c]; });
    uint64_t total = 0;
    for (size_t i = box.begin; i < box.end; ++i) total += colours[i].pixels;
    // The first colour past half the pixels starts the upper box; each box keeps at least one colour.
    size_t split = box.begin + 1;
    for (uint64_t seen = colours[box.begin].pixels; split < box.end - 1 && seen * 2 < total; ++split)
      seen += colours[split].pixels;
    *widest = Measure(colours, box.begin, split);
    boxes.push_back(Measure(colours, split, box.end));
  }

  IndexedPicture picture;
  std::unordered_map<uint32_t, uint8_t> indexOf;
  if (seeThrough) {
    picture.palette = {0, 0, 0, 0};
    indexOf[0] = 0;
  }
  for (size_t b = 0; b < boxes.size(); ++b) {
    std::array<uint64_t, 4> sums{};
    uint64_t pixels = 0;
    for (size_t i = boxes[b].begin; i < boxes[b].end; ++i) {
      const DistinctColour& colour = colours[i];
      for (size_t c = 0; c < 4; ++c) sums[c] += uint64_t(colour.channels[c]) * colour.pixels;
      pixels += colour.pixels;
      indexOf[Key(colour.channels.data())] = uint8_t(picture.palette.size() / 4);
    }
    for (size_t c = 0; c < 4; ++c) picture.palette.push_back(uint8_t((sums[c] + pixels / 2) / pixels));
  }
  picture.indices.reserve(rgba.size() / 4);
  for (size_t i = 0; i + 3 < rgba.size(); i += 4) picture.indices.push_back(indexOf[Key(&rgba[i])]);
  return picture;
}

}  // namespace assets
