// A 640 x 480 8-bit pixel area inside a larger block whose margins on every side must stay untouched,
// so a test sees any write that leaves the screen (past a row's end, above the first row, after the last).
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

class GuardedCanvas {
 public:
  static constexpr int32_t kWidth = 640;
  static constexpr int32_t kHeight = 480;
  static constexpr int32_t kMargin = 16;
  static constexpr int32_t kPitch = kWidth + 2 * kMargin;
  static constexpr uint8_t kGuardValue = 0xEE;

  GuardedCanvas() : block_(static_cast<size_t>(kPitch) * (kHeight + 2 * kMargin), kGuardValue) { Clear(0); }

  // The address of pixel (0, 0); pass it with kPitch to the drawing operations.
  uint8_t* Pixels() { return block_.data() + static_cast<size_t>(kMargin) * kPitch + kMargin; }

  uint8_t At(int32_t x, int32_t y) const { return block_[static_cast<size_t>(y + kMargin) * kPitch + x + kMargin]; }

  void Clear(uint8_t value) {
    for (int32_t y = 0; y < kHeight; ++y)
      for (int32_t x = 0; x < kWidth; ++x) block_[static_cast<size_t>(y + kMargin) * kPitch + x + kMargin] = value;
  }

  // True when no byte outside the 640 x 480 area has changed.
  bool MarginsUntouched() const {
    for (int32_t y = -kMargin; y < kHeight + kMargin; ++y)
      for (int32_t x = -kMargin; x < kWidth + kMargin; ++x) {
        bool inside = x >= 0 && x < kWidth && y >= 0 && y < kHeight;
        if (!inside && At(x, y) != kGuardValue) return false;
      }
    return true;
  }

  int32_t CountValue(uint8_t value) const {
    int32_t count = 0;
    for (int32_t y = 0; y < kHeight; ++y)
      for (int32_t x = 0; x < kWidth; ++x) count += At(x, y) == value ? 1 : 0;
    return count;
  }

  // First and last column of row y holding value, or (-1, -1) when none does.
  std::pair<int32_t, int32_t> RowExtent(int32_t y, uint8_t value) const {
    int32_t first = -1, last = -1;
    for (int32_t x = 0; x < kWidth; ++x) {
      if (At(x, y) != value) continue;
      if (first < 0) first = x;
      last = x;
    }
    return {first, last};
  }

  bool operator==(const GuardedCanvas& other) const { return block_ == other.block_; }

 private:
  std::vector<uint8_t> block_;
};
