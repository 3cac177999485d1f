// The library showcase program: opens the 640 x 480 8-bit display (a window on the SDL backend), and plays
// the scenes in a loop until Escape or the window's close; headless it renders a given number of frames and
// writes chosen ones as BMP files.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "gfx/display.h"
#include "gfx/extras/fast_math.h"
#include "gfx/extras/screen_effects.h"
#include "gfx/frame_clock.h"
#include "input/key_codes.h"
#include "platform/backend.h"
#include "platform/input.h"
#include "platform/sdl/key_codes_sdl.h"
#include "platform/window.h"
#include "showcase/bmp_writer.h"
#include "showcase/showcase.h"

namespace {

using namespace showcase;

constexpr int32_t kSceneFrames = 150;  // five seconds at 30 frames a second
constexpr int32_t kFrameMs = 33;
constexpr int32_t kEffectLeadFrames = 24;  // the picture is shown this long before its effect plays
constexpr int32_t kEffectSlot = kEffectLeadFrames + 1;
constexpr int32_t kEffectsStart = 4 * kSceneFrames;
constexpr int32_t kCycleFrames = kEffectsStart + 9 * kEffectSlot;
constexpr uint32_t kEffectHoldMs = 400;  // the finished effect stays on screen this long

struct Options {
  bool headless = false;
  int64_t frames = -1;  // -1: until Escape or close
  std::string dumpFolder;
};

bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--headless") {
      options->headless = true;
    } else if (arg == "--frames" && i + 1 < argc) {
      options->frames = std::strtoll(argv[++i], nullptr, 10);
      if (options->frames < 0) return false;
    } else if (arg == "--dump" && i + 1 < argc) {
      options->dumpFolder = argv[++i];
    } else {
      return false;
    }
  }
  return true;
}

std::string DumpFolder;

// Writes what the screen shows now: the visible surface with the display palette.
void DumpScreen(const std::string& name) {
  if (DumpFolder.empty() || PrimarySurface == nullptr || DisplayPalette == nullptr) return;
  std::string path = (std::filesystem::path(DumpFolder) / (name + ".bmp")).string();
  if (!WriteBitmap8(path, PrimarySurface->pixels, PrimarySurface->pitch, PrimarySurface->width, PrimarySurface->height,
                    DisplayPalette->entries))
    std::fprintf(stderr, "SHOWCASE: could not write %s\n", path.c_str());
}

std::string EffectFileName(int32_t effect) {
  std::string name = EffectName(effect);
  for (char& ch : name) ch = ch == ' ' ? '_' : ch;
  return "effect_" + std::to_string(effect) + "_" + name;
}

// Plays an effect on the visible screen, holds the result, and clears the screen with the palette restored.
void PlayEffect(int32_t effect) {
  uint8_t* screen = LockPrimarySurface();
  RunScreenEffect(effect, screen, PrimaryLockPitch);
  UnlockPrimarySurface();
  DumpScreen(EffectFileName(effect));
  StartFrameClock();
  WaitFrameClock(kEffectHoldMs);
  FillSurface(PrimarySurface, kBlack);
  InstallShowcasePalette();
}

void DrawSceneFrame(int32_t scene, int32_t frame) {
  switch (scene) {
    case 0:
      if (frame == 0) StartSpriteScene();
      DrawSpriteScene(BackSurface, frame);
      break;
    case 1:
      DrawPolygonScene(BackSurface, frame);
      break;
    case 2:
      DrawTriangleScene(BackSurface, frame);
      break;
    default:
      if (frame == 0) StartPaletteScene();
      DrawPaletteScene(BackSurface, frame);
      break;
  }
}

// One frame of the timeline: four scenes of kSceneFrames each, then the nine effects.
void RunTimelineFrame(int32_t t) {
  static const char* const sceneNames[4] = {"sprites", "polygons", "triangles", "palette"};
  if (t < kEffectsStart) {
    int32_t scene = t / kSceneFrames, frame = t % kSceneFrames;
    DrawSceneFrame(scene, frame);
    FlipDisplay();
    if (frame == 90) DumpScreen(std::string("scene_") + sceneNames[scene]);
    if (scene == 3 && frame == 91) DumpScreen("scene_palette_next");
    if (frame == kSceneFrames - 1 && scene == 0) EndSpriteScene();
    if (frame == kSceneFrames - 1 && scene == 3) EndPaletteScene();
    return;
  }
  int32_t effect = (t - kEffectsStart) / kEffectSlot, step = (t - kEffectsStart) % kEffectSlot;
  if (step < kEffectLeadFrames) {
    DrawEffectPicture(BackSurface, effect, step);
    FlipDisplay();
    if (step == kEffectLeadFrames - 1) DumpScreen(EffectFileName(effect) + "_before");
    return;
  }
  PlayEffect(effect);
}

bool QuitRequested() {
  platform::Message message;
  bool quit = false;
  while (platform::PeekMessage(&message)) {
    if (message.message == platform::WM_CLOSE || message.message == platform::WM_QUIT ||
        message.message == platform::WM_DESTROY)
      quit = true;
    // A press counts even when the key is up again before the frame looks at it.
    if (message.message == platform::WM_KEYDOWN &&
        platform::KeyCodeForScancode(static_cast<int32_t>(message.wParam)) == DIK_ESCAPE)
      quit = true;
  }
  return quit || platform::IsKeyDownNow(DIK_ESCAPE);
}

intptr_t ShowcaseWindowProc(platform::Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return platform::DefWindowProc(window, message, wParam, lParam);
}

// A scene left in the middle gives back what it holds (a finished scene has already done so).
void CleanUp() {
  EndSpriteScene();
  EndPaletteScene();
  ShutdownDisplay();
  platform::CloseMainWindow();
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    std::fprintf(stderr, "usage: %s [--headless] [--frames N] [--dump FOLDER]\n", argv[0]);
    return 2;
  }
  platform::SelectBackend(options.headless ? platform::Backend::Headless : platform::Backend::Sdl);
  platform::RegisterWindowClass("TAVOSHOWCASE", ShowcaseWindowProc);
  if (platform::OpenMainWindow("Tavo 2000 library showcase", "TAVOSHOWCASE") == nullptr) {
    std::fprintf(stderr, "SHOWCASE: no window: %s\n", platform::LastError().c_str());
    return 1;
  }
  // A window of its own rather than the whole desktop; Alt+Enter still switches.
  if (platform::IsFullScreen() && !options.headless) platform::ToggleFullScreen();
  if (InitDisplay(kScreenW, kScreenH, 8) != 1) {
    std::fprintf(stderr, "SHOWCASE: the 640 x 480 8-bit display could not be set up\n");
    platform::CloseMainWindow();
    return 1;
  }
  if (!options.dumpFolder.empty()) {
    std::error_code ignored;
    std::filesystem::create_directories(options.dumpFolder, ignored);
    DumpFolder = options.dumpFolder;
  }
  BuildSinCosTables();
  InstallShowcasePalette();
  std::srand(2000);  // the dissolve's dots come out the same on every run

  int64_t frame = 0;
  for (; options.frames < 0 || frame < options.frames; ++frame) {
    if (QuitRequested()) break;
    StartFrameClock();
    RunTimelineFrame(static_cast<int32_t>(frame % kCycleFrames));
    WaitFrameClock(kFrameMs);
  }
  CleanUp();
  return 0;
}
