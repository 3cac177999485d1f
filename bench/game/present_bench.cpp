// The cost of showing one frame in a real window on the SDL backend: FlipDisplay of a drawn playfield, which
// copies the back picture into the streaming texture and has the renderer scale it onto the window.
// Needs a display; without one the benchmark reports why and times nothing. Run it as: xvfb-run -s "-screen 0
// 1920x1080x24" present_bench (the window covers the screen, so the screen size is part of the cost).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <string>

#include "app/asset_catalogue.h"
#include "app/game_window.h"
#include "app/main_window.h"
#include "gfx/blit.h"
#include "gfx/display.h"
#include "platform/backend.h"
#include "platform/window.h"

namespace {

// The game's window and display on the SDL backend, with the frame picture drawn on both surfaces.
struct ShownGame {
  std::string failure;

  ShownGame() {
    platform::SelectBackend(platform::Backend::Sdl);
    if (chdir(TAVO_RUN_DIR) != 0) {
      failure = "cannot enter the run folder " TAVO_RUN_DIR;
      return;
    }
    platform::RegisterWindowClass(MainWindowClassName, MainWindowProc);
    MainWindow = platform::OpenMainWindow(MainWindowTitle, MainWindowClassName);
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
      BlitSurface(Paddle1Surface, BackSurface, 200, 445, 76, 8);
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

// Process time: a GL renderer may rasterise on threads of its own.
BENCHMARK(BM_PresentFrame)->MeasureProcessCPUTime();
