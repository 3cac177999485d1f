// Presentation on both backends: SDL work goes to platform/video_sdl.cpp; both keep the last picture (for tests and
// screenshots), the headless backend counts flips and updates and calls the present hook after each flip.
#include "platform/video.h"

#include <cstring>

#include "platform/backend.h"
#include "platform/frame_log.h"
#include "platform/sdl/video_sdl.h"

namespace platform {

namespace {

HeadlessFrame headlessFrame;
void (*presentHook)(void*) = nullptr;
void* presentHookUser = nullptr;
int32_t refusalsLeft = 0;
bool keepHeadlessFrames = true;
std::string lastError;

bool IsSdl() { return CurrentBackend() == Backend::Sdl; }

bool KeepHeadlessFrame(const void* pixels, int32_t pitch, int32_t width, int32_t height, int32_t bitsPerPixel,
                       const uint8_t* paletteRgbx) {
  headlessFrame.width = width;
  headlessFrame.height = height;
  headlessFrame.bitsPerPixel = bitsPerPixel;
  headlessFrame.pitch = pitch;
  const auto* bytes = static_cast<const uint8_t*>(pixels);
  headlessFrame.pixels.assign(bytes, bytes + static_cast<size_t>(pitch) * height);
  if (paletteRgbx != nullptr) headlessFrame.paletteRgbx.assign(paletteRgbx, paletteRgbx + 1024);
  else headlessFrame.paletteRgbx.clear();
  return true;
}

}  // namespace

bool OpenPresentation(int32_t width, int32_t height, int32_t bitsPerPixel) {
  if (!IsSdl()) return true;
  return sdl_video::Open(width, height, bitsPerPixel, &lastError);
}

void ClosePresentation() {
  if (IsSdl()) sdl_video::Close();
}

std::string LastPresentationError() { return lastError; }

bool PresentFrame(const void* pixels, int32_t pitch, int32_t width, int32_t height, int32_t bitsPerPixel,
                  const uint8_t* paletteRgbx, PresentKind kind) {
  if (pixels == nullptr || width <= 0 || height <= 0 || pitch <= 0) return false;
  if (bitsPerPixel != 8 && bitsPerPixel != 16) return false;
  if (bitsPerPixel == 8 && paletteRgbx == nullptr) return false;
  if (IsSdl()) {
    const bool shown = sdl_video::Present(pixels, pitch, width, height, bitsPerPixel, paletteRgbx);
    // The window keeps a copy too, for the screenshot key.
    if (shown) KeepHeadlessFrame(pixels, pitch, width, height, bitsPerPixel, paletteRgbx);
    if (shown && kind == PresentKind::Flip) {
      LogFramePresented(static_cast<const uint8_t*>(pixels), pitch, width, height, bitsPerPixel);
      if (presentHook != nullptr) presentHook(presentHookUser);
    }
    return shown;
  }
  if (refusalsLeft > 0) {
    --refusalsLeft;
    return false;
  }
  if (keepHeadlessFrames) KeepHeadlessFrame(pixels, pitch, width, height, bitsPerPixel, paletteRgbx);
  if (kind == PresentKind::Update) {
    ++headlessFrame.updateCount;
    return true;
  }
  ++headlessFrame.flipCount;
  if (presentHook != nullptr) presentHook(presentHookUser);
  return true;
}

void RedrawLastFrame() {
  if (IsSdl()) sdl_video::Redraw();
}

const HeadlessFrame& LastPresentedFrame() { return headlessFrame; }

uint32_t PresentedPixelRgb(int32_t x, int32_t y) {
  const HeadlessFrame& frame = headlessFrame;
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

void SetPresentHook(void (*hook)(void* user), void* user) {
  presentHook = hook;
  presentHookUser = user;
}

void KeepHeadlessFrames(bool keep) { keepHeadlessFrames = keep; }

void RefuseNextPresents(int32_t count) { refusalsLeft = count > 0 ? count : 0; }

void ResetHeadlessPresentation() {
  headlessFrame = HeadlessFrame{};
  refusalsLeft = 0;
}

}  // namespace platform
