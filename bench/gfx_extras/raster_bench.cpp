// Fill rates of the software rasterisers on a 640 x 480 8-bit area: the same 200 random on-screen triangles
// in float and in fixed point, and a 12-sided convex polygon of radius 150. Reports pixels per second.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "gfx/extras/polygon.h"
#include "gfx/extras/triangle_fill.h"

namespace {

constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;

using Triangle = std::array<int32_t, 6>;
using Filler = void (*)(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, uint8_t*, int32_t);

// The same 200 triangles for every run: vertices anywhere inside the screen, fixed generator seed.
const std::vector<Triangle>& BenchTriangles() {
  static const std::vector<Triangle> triangles = [] {
    std::mt19937 rng(20000);
    std::uniform_int_distribution<int32_t> x(0, kWidth - 1), y(0, kHeight - 1);
    std::vector<Triangle> list;
    for (int i = 0; i < 200; ++i) list.push_back({x(rng), y(rng), x(rng), y(rng), x(rng), y(rng)});
    return list;
  }();
  return triangles;
}

// Pixels one pass over the triangles writes (each drawn alone on a clear area, so overlaps count twice).
int64_t PixelsPerPass(Filler fill) {
  int64_t total = 0;
  std::vector<uint8_t> area(kWidth * kHeight);
  for (const Triangle& t : BenchTriangles()) {
    std::fill(area.begin(), area.end(), 0);
    fill(t[0], t[1], t[2], t[3], t[4], t[5], 1, area.data(), kWidth);
    for (uint8_t v : area) total += v;
  }
  return total;
}

void RunTriangles(benchmark::State& state, Filler fill) {
  std::vector<uint8_t> area(kWidth * kHeight);
  int64_t pixels = PixelsPerPass(fill);
  int32_t color = 0;
  for (auto _ : state) {
    for (const Triangle& t : BenchTriangles()) fill(t[0], t[1], t[2], t[3], t[4], t[5], ++color, area.data(), kWidth);
    benchmark::DoNotOptimize(area.data());
    benchmark::ClobberMemory();
  }
  state.counters["pixels_per_second"] =
      benchmark::Counter(static_cast<double>(pixels) * state.iterations(), benchmark::Counter::kIsRate);
  state.counters["triangles_per_second"] = benchmark::Counter(200.0 * state.iterations(), benchmark::Counter::kIsRate);
}

void BM_FillTriangle(benchmark::State& state) { RunTriangles(state, FillTriangle); }
void BM_FillTriangleFixed(benchmark::State& state) { RunTriangles(state, FillTriangleFixed); }

void BM_FillPolygon(benchmark::State& state) {
  std::vector<PolygonVertex> vertices;
  for (int i = 0; i < 12; ++i) {
    double a = 2.0 * 3.14159265358979 * i / 12;
    vertices.push_back({static_cast<float>(150.0 * std::cos(a)), static_cast<float>(150.0 * std::sin(a))});
  }
  PolygonShape polygon{1, 12, kWidth / 2, kHeight / 2, 0, 0, 1, vertices.data()};
  std::vector<uint8_t> area(kWidth * kHeight);
  FillPolygon(&polygon, area.data(), kWidth);
  int64_t pixels = 0;
  for (uint8_t v : area) pixels += v;
  for (auto _ : state) {
    polygon.color = (polygon.color + 1) & 0xFF;
    FillPolygon(&polygon, area.data(), kWidth);
    benchmark::DoNotOptimize(area.data());
    benchmark::ClobberMemory();
  }
  state.counters["pixels_per_second"] =
      benchmark::Counter(static_cast<double>(pixels) * state.iterations(), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_FillTriangle);
BENCHMARK(BM_FillTriangleFixed);
BENCHMARK(BM_FillPolygon);
