// Presentation on both backends: every picture is checked here, then handed to the chosen backend's video table
// (platform/sdl/video_sdl.cpp shows it in the window; platform/headless/video_headless.cpp counts it). The last
// picture is kept here, for the screenshot key and for tests, or read from the presenter's own copy when it has one.
#include "platform/video.h"

#include <cstdio>
#include <cstring>

#include "platform/internal/backend_tables.h"

namespace platform {

namespace {

PresentedFrame lastFrame;
void (*presentHook)(void*) = nullptr;
void* presentHookUser = nullptr;

const VideoBackend& Backend() { return *ChosenBackend().video; }

}  // namespace

bool OpenPresentation(int32_t width, int32_t height, int32_t bitsPerPixel) {
  std::string reason;
  if (Backend().open(width, height, bitsPerPixel, &reason)) return true;
  // The game does not examine the display's result and shows no box for it, so the player learns why the screen
  // stays dark from this line alone.
  std::fprintf(stderr, "VIDEO: cannot show %dx%d pictures at %d bits per pixel (%s)\n", static_cast<int>(width),
               static_cast<int>(height), static_cast<int>(bitsPerPixel), reason.c_str());
  return false;
}

void ClosePresentation() { Backend().close(); }

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

const PresentedFrame& LastPresentedFrame() {
  const VideoBackend& backend = Backend();
  if (backend.copyKeptPicture != nullptr) backend.copyKeptPicture(&lastFrame);
  return lastFrame;
}

PresentedFrame& KeptFrame() { return lastFrame; }

uint32_t PresentedPixelRgb(int32_t x, int32_t y) {
  const PresentedFrame& frame = LastPresentedFrame();
  if (x < 0 || y < 0 || x >= frame.width || y >= frame.height || frame.pixels.empty()) return 0;
  const uint8_t* row = frame.pixels.data() + static_cast<size_t>(y) * frame.pitch;
  if (frame.bitsPerPixel == 8) {
    const uint8_t* entry = frame.paletteRgbx.data() + 4 * row[x];
    return (uint32_t(entry[0]) << 16) | (entry[1] << 8) | entry[2];
  }
  uint16_t pixel;
  std::memcpy(&pixel, row + 2 * x, 2);
  uint32_t r5 = pixel >> 11, g6 = (pixel >> 5) & 0x3F, b5 = pixel & 0x1F;
  return (((r5 << 3) | (r5 >> 2)) << 16) | (((g6 << 2) | (g6 >> 4)) << 8) | ((b5 << 3) | (b5 >> 2));
}

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
