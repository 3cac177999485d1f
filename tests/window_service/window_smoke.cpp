// A small program on the SDL backend for the real-window test: opens the window, draws a known frame
// (four coloured quadrants and a line of text) every 30 ms and flips, until the stop file appears. After the
// first flip it checks the picture the screenshot key would save and says on stderr where it differs.
// Usage: window_smoke <8|16> <folder>; writes <folder>/ready after the first flip and leaves on <folder>/stop.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "gfx/display.h"
#include "gfx/frame_clock.h"
#include "gfx/text.h"
#include "platform/backend.h"
#include "platform/video.h"
#include "platform/window.h"

namespace {

bool quitRequested = false;

intptr_t SmokeWindowProc(platform::Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (message == platform::WM_CLOSE || message == platform::WM_DESTROY) {
    platform::PostQuitMessage(0);
    quitRequested = true;
    return 0;
  }
  return platform::DefWindowProc(window, message, wParam, lParam);
}

// Quadrants: red top-left, green top-right, blue bottom-left, white bottom-right; in 8 bits through the ramps.
void DrawKnownFrame(int32_t depth) {
  const uint32_t colours16[4] = {0xF800, 0x07E0, 0x001F, 0xFFFF};
  const uint32_t colours8[4] = {63, 127, 191, 255};
  const uint32_t* colours = depth == 16 ? colours16 : colours8;
  FillSurface(BackSurface, 0);
  FillSurfaceRect(BackSurface, RectL{0, 0, 320, 240}, colours[0]);
  FillSurfaceRect(BackSurface, RectL{320, 0, 640, 240}, colours[1]);
  FillSurfaceRect(BackSurface, RectL{0, 240, 320, 480}, colours[2]);
  FillSurfaceRect(BackSurface, RectL{320, 240, 640, 480}, colours[3]);
  DrawTextGdi("Tavo 2000", 280, 232, 0x000000, BackSurface);
}

// The last presented picture, which the screenshot key saves, must hold the quadrants' colours (0x00RRGGBB).
void CheckPresentedPicture(int32_t depth) {
  const uint32_t full = depth == 16 ? 0xFF : 0xFC;  // the 8-bit ramps' brightest level is 252
  struct Probe {
    int32_t x, y;
    uint32_t rgb;
  };
  const Probe probes[] = {
      {100, 100, full << 16}, {500, 100, full << 8}, {100, 400, full}, {500, 400, full << 16 | full << 8 | full}};
  for (const Probe& probe : probes) {
    const uint32_t got = platform::PresentedPixelRgb(probe.x, probe.y);
    if (got != probe.rgb)
      std::fprintf(stderr, "window_smoke: kept picture at (%d, %d) is #%06X, expected #%06X\n", probe.x, probe.y, got,
                   probe.rgb);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: window_smoke <8|16> <folder>\n");
    return 2;
  }
  const int32_t depth = std::atoi(argv[1]);
  const std::filesystem::path folder = argv[2];
  platform::SelectBackend(platform::Backend::Sdl);
  platform::RegisterWindowClass("TAVO2000CLASS", SmokeWindowProc);
  platform::Window* window = platform::OpenMainWindow("Tavo 2000", "TAVO2000CLASS");
  if (window == nullptr) {
    std::fprintf(stderr, "window_smoke: no window (%s); run it in a desktop session or under xvfb-run\n",
                 platform::LastError().c_str());
    return 1;
  }
  if (InitDisplay(640, 480, depth) != 1) {
    std::fprintf(stderr, "window_smoke: the display did not start\n");
    return 1;
  }
  platform::ShowCursor(false);
  bool readyWritten = false;
  // The program's loop: at most one message per pass, one frame per pass, 30 ms a frame; 60 s at most.
  for (int frame = 0; frame < 2000 && !quitRequested; ++frame) {
    platform::Message message;
    if (platform::PeekMessage(&message)) {
      if (message.message == platform::WM_QUIT) break;
      platform::TranslateMessage(&message);
      platform::DispatchMessage(&message);
    }
    StartFrameClock();
    DrawKnownFrame(depth);
    if (FlipDisplay() != 1) std::fprintf(stderr, "window_smoke: flip failed\n");
    if (!readyWritten) {
      CheckPresentedPicture(depth);
      std::FILE* ready = std::fopen((folder / "ready").c_str(), "w");
      if (ready) std::fclose(ready);
      readyWritten = true;
    }
    if (std::filesystem::exists(folder / "stop")) break;
    std::fprintf(stdout, "%s\n", platform::IsFullScreen() ? "fullscreen" : "windowed");
    std::fflush(stdout);
    WaitFrameClock(30);
  }
  ShutdownDisplay();
  platform::CloseMainWindow();
  return 0;
}
