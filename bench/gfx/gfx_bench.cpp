// Our keyed blit (on the program's path and each copy path), fill and text against SDL's RLE blit, memset and
// SDL_ttf, on the same pixels: a 640 x 480 frame about 70% black, a 76 x 8 paddle about 20% black, one HUD line.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "gfx/blit.h"
#include "gfx/blit_path_for_test.h"
#include "gfx/display.h"
#include "gfx/text.h"
#include "platform/backend.h"
#include "platform/tool_support/reference_blits.h"

namespace {

constexpr int32_t kFrameWidth = 640, kFrameHeight = 480;

// Opaque colours never 0, varying so no two neighbours are alike.
uint16_t OpaqueColour(int32_t x, int32_t y) { return static_cast<uint16_t>(((x * 7) ^ (y * 13)) | 0x0821); }

// A frame: 15-pixel border round a 450 x 450 opening, and a right panel with four black wells (about 70% black).
std::vector<uint16_t> FramePixels() {
  std::vector<uint16_t> pixels(kFrameWidth * kFrameHeight);
  for (int32_t y = 0; y < kFrameHeight; ++y)
    for (int32_t x = 0; x < kFrameWidth; ++x) {
      bool opening = x >= 15 && x < 465 && y >= 15 && y < 465;
      bool well = x >= 495 && x < 625 && (y - 40) % 100 >= 0 && (y - 40) % 100 < 25 && y < 440;
      pixels[y * kFrameWidth + x] = (opening || well) ? 0 : OpaqueColour(x, y);
    }
  return pixels;
}

// A capsule: black corners, fewer black pixels towards the middle rows (about 20% black).
std::vector<uint16_t> PaddlePixels() {
  const int32_t cornerByRow[8] = {14, 8, 5, 3, 3, 5, 8, 14};
  std::vector<uint16_t> pixels(76 * 8);
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 76; ++x)
      pixels[y * 76 + x] = (x < cornerByRow[y] || x >= 76 - cornerByRow[y]) ? 0 : OpaqueColour(x, y);
  return pixels;
}

Surface* SurfaceFrom(const std::vector<uint16_t>& pixels, int32_t width, int32_t height) {
  Surface* surface = CreateOffscreenSurface(width, height, 0);
  for (int32_t y = 0; y < height; ++y)
    std::memcpy(surface->pixels + y * surface->pitch, pixels.data() + y * width, width * 2);
  MarkSurfaceWritten(surface);
  return surface;
}

struct Display {
  Display() {
    platform::SelectBackend(platform::Backend::Headless);
    InitDisplay(kFrameWidth, kFrameHeight, 16);
  }
};

void EnsureDisplay() { static Display display; }

// The keyed blit on the path the program takes, or forced onto one of its two copy paths.
void OurBlit(benchmark::State& state, const std::vector<uint16_t>& pixels, int32_t w, int32_t h, int32_t x, int32_t y,
             KeyedCopyPath path = KeyedCopyPath::ProcessorChoice) {
  EnsureDisplay();
  if (!UseKeyedCopyPath(path)) {
    state.SkipWithError("this processor has no 32-byte vector moves");
    return;
  }
  Surface* picture = SurfaceFrom(pixels, w, h);
  for (auto _ : state) {
    benchmark::DoNotOptimize(BlitSurface(picture, BackSurface, x, y, w, h));
    benchmark::ClobberMemory();
  }
  Release(picture);
  UseKeyedCopyPath(KeyedCopyPath::ProcessorChoice);
}

void SdlBlit(benchmark::State& state, const std::vector<uint16_t>& pixels, int32_t w, int32_t h, int32_t x, int32_t y) {
  using namespace platform::reference;
  ReferenceSurface* picture = CreateRgb565Surface(pixels.data(), w, h, w * 2);
  ReferenceSurface* back = CreateRgb565Surface(nullptr, kFrameWidth, kFrameHeight, 0);
  SetRleColorKey(picture, 0);
  for (auto _ : state) {
    benchmark::DoNotOptimize(Blit(picture, back, x, y));
    benchmark::ClobberMemory();
  }
  FreeSurface(picture);
  FreeSurface(back);
}

void BM_BlitSurface_Frame(benchmark::State& state) { OurBlit(state, FramePixels(), kFrameWidth, kFrameHeight, 0, 0); }
void BM_SDL_BlitSurface_Frame_RLE(benchmark::State& state) {
  SdlBlit(state, FramePixels(), kFrameWidth, kFrameHeight, 0, 0);
}
void BM_BlitSurface_Paddle(benchmark::State& state) { OurBlit(state, PaddlePixels(), 76, 8, 282, 440); }
void BM_BlitSurface_Frame_PlainPath(benchmark::State& state) {
  OurBlit(state, FramePixels(), kFrameWidth, kFrameHeight, 0, 0, KeyedCopyPath::Plain);
}
void BM_BlitSurface_Frame_WidePath(benchmark::State& state) {
  OurBlit(state, FramePixels(), kFrameWidth, kFrameHeight, 0, 0, KeyedCopyPath::Wide);
}
void BM_BlitSurface_Paddle_PlainPath(benchmark::State& state) {
  OurBlit(state, PaddlePixels(), 76, 8, 282, 440, KeyedCopyPath::Plain);
}
void BM_BlitSurface_Paddle_WidePath(benchmark::State& state) {
  OurBlit(state, PaddlePixels(), 76, 8, 282, 440, KeyedCopyPath::Wide);
}
void BM_SDL_BlitSurface_Paddle_RLE(benchmark::State& state) { SdlBlit(state, PaddlePixels(), 76, 8, 282, 440); }

void BM_FillSurface(benchmark::State& state) {
  EnsureDisplay();
  for (auto _ : state) {
    benchmark::DoNotOptimize(FillSurface(BackSurface, 0));
    benchmark::ClobberMemory();
  }
}

void BM_Memset_Frame(benchmark::State& state) {
  std::vector<uint8_t> frame(kFrameWidth * kFrameHeight * 2);
  for (auto _ : state) {
    std::memset(frame.data(), 0, frame.size());
    benchmark::DoNotOptimize(frame.data());
    benchmark::ClobberMemory();
  }
}

void BM_DrawTextGdi_Score(benchmark::State& state) {
  EnsureDisplay();
  for (auto _ : state) {
    benchmark::DoNotOptimize(DrawTextGdi("Player 1: 1088", 490, 100, 0x00FF00, BackSurface));
    benchmark::ClobberMemory();
  }
}

void BM_TTF_RenderSolid_Score(benchmark::State& state) {
  using namespace platform::reference;
  ReferenceSurface* back = CreateRgb565Surface(nullptr, kFrameWidth, kFrameHeight, 0);
  for (auto _ : state) {
    benchmark::DoNotOptimize(RenderTextSolidAndBlit("Player 1: 1088", 0x00FF00, back, 490, 100));
    benchmark::ClobberMemory();
  }
  FreeSurface(back);
}

}  // namespace

BENCHMARK(BM_BlitSurface_Frame);
BENCHMARK(BM_SDL_BlitSurface_Frame_RLE);
BENCHMARK(BM_BlitSurface_Paddle);
BENCHMARK(BM_SDL_BlitSurface_Paddle_RLE);
BENCHMARK(BM_BlitSurface_Frame_PlainPath);
BENCHMARK(BM_BlitSurface_Frame_WidePath);
BENCHMARK(BM_BlitSurface_Paddle_PlainPath);
BENCHMARK(BM_BlitSurface_Paddle_WidePath);
BENCHMARK(BM_FillSurface);
BENCHMARK(BM_Memset_Frame);
BENCHMARK(BM_DrawTextGdi_Score);
BENCHMARK(BM_TTF_RenderSolid_Score);
