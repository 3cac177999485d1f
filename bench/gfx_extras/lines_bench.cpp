// Speed of the 8-bit line primitives: a full clipped row span against a plain 640-byte memset, and a
// clipped full-screen diagonal (reported in pixels per second).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "gfx/extras/lines.h"

namespace {

constexpr int32_t kWidth = 640, kHeight = 480;

void BM_DrawRowSpan_FullRow(benchmark::State& state) {
  std::vector<uint8_t> area(kWidth * kHeight);
  int32_t y = 0;
  uint8_t colour = 1;
  for (auto _ : state) {
    DrawRowSpan(0, kWidth - 1, y, colour++, area.data(), kWidth);
    y = (y + 1) % kHeight;
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kWidth);
}
BENCHMARK(BM_DrawRowSpan_FullRow);

void BM_Memset_Row(benchmark::State& state) {
  std::vector<uint8_t> area(kWidth * kHeight);
  int32_t y = 0;
  uint8_t colour = 1;
  for (auto _ : state) {
    uint8_t* row = area.data() + y * kWidth;
    benchmark::DoNotOptimize(row);
    std::memset(row, colour++, kWidth);
    y = (y + 1) % kHeight;
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kWidth);
}
BENCHMARK(BM_Memset_Row);

// A 640 x 480 diagonal from corner to corner, given with end points beyond the screen so clipping works too.
void BM_DrawClippedLine_Diagonal(benchmark::State& state) {
  std::vector<uint8_t> area(kWidth * kHeight);
  uint8_t colour = 1;
  for (auto _ : state) {
    DrawClippedLine(-64, -48, kWidth + 63, kHeight + 47, colour++, area.data(), kWidth);
    benchmark::ClobberMemory();
  }
  // The clipped line keeps max(|dx|, |dy|) + 1 = 640 pixels.
  state.counters["pixels_per_second"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kWidth, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DrawClippedLine_Diagonal);

}  // namespace
