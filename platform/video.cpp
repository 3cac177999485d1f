// Presentation on both backends: every picture is checked here, then handed to the chosen backend's video table
// (platform/sdl/video_sdl.cpp shows it in the window; platform/headless/video_headless.cpp counts it). Both keep
// the last picture here, for the screenshot key and for tests.
#include "platform/video.h"

#include "platform/backend_tables.h"

namespace platform {

namespace {

std::string lastError;
PresentedFrame lastFrame;
void (*presentHook)(void*) = nullptr;
void* presentHookUser = nullptr;

const VideoBackend& Backend() { return *ChosenBackend().video; }

}  // namespace

bool OpenPresentation(int32_t width, int32_t height, int32_t bitsPerPixel) {
  return Backend().open(width, height, bitsPerPixel, &lastError);
}

void ClosePresentation() { Backend().close(); }

std::string LastPresentationError() { return lastError; }

bool PresentFrame(const void* pixels, int32_t pitch, int32_t width, int32_t height, int32_t bitsPerPixel,
                  const uint8_t* paletteRgbx, PresentKind kind) {
  if (pixels == nullptr || width <= 0 || height <= 0 || pitch <= 0) return false;
  if (bitsPerPixel != 8 && bitsPerPixel != 16) return false;
  if (bitsPerPixel == 8 && paletteRgbx == nullptr) return false;
  const bool shown = Backend().present(pixels, pitch, width, height, bitsPerPixel, paletteRgbx, kind);
  if (shown && kind == PresentKind::Flip && presentHook != nullptr) presentHook(presentHookUser);
  return shown;
}

void SetPresentHook(void (*hook)(void* user), void* user) {
  presentHook = hook;
  presentHookUser = user;
}

void RedrawLastFrame() { Backend().redraw(); }

const PresentedFrame& LastPresentedFrame() { return lastFrame; }

PresentedFrame& KeptFrame() { return lastFrame; }

void KeepPresentedFrame(const void* pixels, int32_t pitch, int32_t width, int32_t height, int32_t bitsPerPixel,
                        const uint8_t* paletteRgbx) {
  lastFrame.width = width;
  lastFrame.height = height;
  lastFrame.bitsPerPixel = bitsPerPixel;
  lastFrame.pitch = pitch;
  const auto* bytes = static_cast<const uint8_t*>(pixels);
  lastFrame.pixels.assign(bytes, bytes + static_cast<size_t>(pitch) * height);
  if (paletteRgbx != nullptr) lastFrame.paletteRgbx.assign(paletteRgbx, paletteRgbx + 1024);
  else lastFrame.paletteRgbx.clear();
}

}  // namespace platform
