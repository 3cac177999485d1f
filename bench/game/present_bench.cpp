// The cost of showing one frame in a real window on the SDL backend: FlipDisplay of a drawn playfield, which
// copies the back picture into the streaming texture and has the renderer scale it onto the window (without
// graphics hardware: compares it with the last one and stretches the changed rows onto the window's image).
// Needs a display; without one the benchmark reports why and times nothing. Run it as: xvfb-run -s "-screen 0
// 1920x1080x24" present_bench (the window covers the screen, so the screen size is part of the cost).
// Also, without a display: the window-image presenter's stretch of the 16-bit menu picture into a 32-bit window
// image, 2x (1280 x 960) and fitted into 1920 x 1080, next to SDL_BlitScaled of the same picture to the same place.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "app/asset_catalogue.h"
#include "app/game_window.h"
#include "app/main_window.h"
#include "gfx/bitmap_surfaces.h"
#include "gfx/blit.h"
#include "gfx/display.h"
#include "platform/backend.h"
#include "platform/internal/picture_placement.h"
#include "platform/sdl/window_image_drawing.h"
#include "platform/tool_support/reference_blits.h"
#include "platform/window.h"

namespace {

constexpr int32_t kPictureWidth = 640, kPictureHeight = 480;

// The title menu's picture in RGB 565, as the game presents it.
struct MenuPicture {
  std::vector<uint16_t> pixels;
  std::string failure;

  MenuPicture() {
    if (chdir(TAVO_RUN_DIR) != 0) {
      failure = "cannot enter the run folder " TAVO_RUN_DIR;
      return;
    }
    BitmapObject* bitmap = LoadBitmapObject("Backgrounds/menu.spr", kPictureWidth, kPictureHeight);
    if (bitmap == nullptr) {
      failure = "the menu picture did not load: " + LastBitmapLoadError();
      return;
    }
    for (uint32_t rgb : bitmap->pixels)
      pixels.push_back(
          static_cast<uint16_t>(((rgb >> 19) & 0x1F) << 11 | ((rgb >> 10) & 0x3F) << 5 | ((rgb >> 3) & 0x1F)));
    DeleteBitmapObject(bitmap);
  }
};

const MenuPicture& Menu() {
  static const MenuPicture picture;
  return picture;
}

// Ours: the whole picture stretched into its fitted place on a window image of the given size.
void StretchToWindow(benchmark::State& state, int32_t windowWidth, int32_t windowHeight) {
  if (!Menu().failure.empty()) return state.SkipWithError(Menu().failure.c_str());
  platform::window_image::ShownPicture shown;
  platform::window_image::TakePicture(shown, Menu().pixels.data(), kPictureWidth * 2, kPictureWidth, kPictureHeight, 16,
                                      nullptr);
  std::vector<uint32_t> window(static_cast<size_t>(windowWidth) * windowHeight);
  const platform::window_image::TargetImage image{reinterpret_cast<uint8_t*>(window.data()), windowWidth * 4,
                                                  windowWidth, windowHeight};
  const platform::PicturePlace place = platform::FitPlacement(windowWidth, windowHeight, kPictureWidth, kPictureHeight);
  for (auto _ : state) {
    platform::window_image::StretchPicture(shown, image, place);
    benchmark::ClobberMemory();
  }
}

// SDL's: SDL_BlitScaled of the same picture to the same place on a 32-bit surface of the same size.
void SdlBlitScaled(benchmark::State& state, int32_t windowWidth, int32_t windowHeight) {
  if (!Menu().failure.empty()) return state.SkipWithError(Menu().failure.c_str());
  namespace reference = platform::reference;
  reference::ReferenceSurface* picture =
      reference::CreateRgb565Surface(Menu().pixels.data(), kPictureWidth, kPictureHeight, kPictureWidth * 2);
  reference::ReferenceSurface* window = reference::CreateXrgb8888Surface(windowWidth, windowHeight);
  const platform::PicturePlace place = platform::FitPlacement(windowWidth, windowHeight, kPictureWidth, kPictureHeight);
  bool blitted = picture != nullptr && window != nullptr;
  for (auto _ : state) {
    blitted = reference::BlitScaled(picture, window, place.x, place.y, place.width, place.height) && blitted;
    benchmark::ClobberMemory();
  }
  reference::FreeSurface(picture);
  reference::FreeSurface(window);
  if (!blitted) state.SkipWithError("SDL_BlitScaled failed");
}

void BM_StretchToWindow_2x(benchmark::State& state) { StretchToWindow(state, 1280, 960); }
void BM_SDL_BlitScaled_2x(benchmark::State& state) { SdlBlitScaled(state, 1280, 960); }
void BM_StretchToWindow_Fit1080(benchmark::State& state) { StretchToWindow(state, 1920, 1080); }
void BM_SDL_BlitScaled_Fit1080(benchmark::State& state) { SdlBlitScaled(state, 1920, 1080); }

// The game's window and display on the SDL backend, with the frame picture drawn on both surfaces; the paddle is
// in a different place on each, so every flip shows a moved paddle, as in play.
struct ShownGame {
  std::string failure;

  ShownGame() {
    platform::SelectBackend(platform::Backend::Sdl);
    if (chdir(TAVO_RUN_DIR) != 0) {
      failure = "cannot enter the run folder " TAVO_RUN_DIR;
      return;
    }
    platform::RegisterWindowClass(kMainWindowClassName, MainWindowProc);
    MainWindow = platform::OpenMainWindow(kMainWindowTitle, kMainWindowClassName);
    if (MainWindow == nullptr) {
      failure = "no window: " + platform::LastError();
      return;
    }
    if (InitDisplay(640, 480, 16) == 0 || !LoadSprites()) {
      failure = "the display or the pictures did not come up";
      return;
    }
    for (int32_t side = 0; side < 2; ++side) {
      FillSurface(BackSurface, 0);
      BlitSurface(Hud2Surface, BackSurface, 0, 0, 640, 480);
      BlitSurface(Paddle1Surface, BackSurface, 200 + 100 * side, 445, 76, 8);
      FlipDisplay();
    }
  }
};

void BM_PresentFrame(benchmark::State& state) {
  static ShownGame game;
  if (!game.failure.empty()) {
    state.SkipWithError(game.failure.c_str());
    return;
  }
  int32_t shown = 0;
  int64_t frames = 0;
  for (auto _ : state) {
    shown += FlipDisplay();
    // The game reads its input once a frame, which pumps the window's events; done here untimed.
    if (++frames % 64 == 0) {
      state.PauseTiming();
      platform::PumpEvents();
      state.ResumeTiming();
    }
  }
  if (shown != frames) state.SkipWithError("a flip was refused");
}

}  // namespace

BENCHMARK(BM_StretchToWindow_2x);
BENCHMARK(BM_SDL_BlitScaled_2x);
BENCHMARK(BM_StretchToWindow_Fit1080);
BENCHMARK(BM_SDL_BlitScaled_Fit1080);
// Process time: a GL renderer may rasterise on threads of its own.
BENCHMARK(BM_PresentFrame)->MeasureProcessCPUTime();
