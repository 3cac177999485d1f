// Headless presentation: the last picture is kept (unless a benchmark says not to), flips and updates are
// counted; platform/video.cpp runs the present hook after each flip. Tests may refuse presents, and benchmarks may skip keeping the copy.
#include <cstring>

#include "platform/backend_tables.h"
#include "platform/headless/headless.h"

namespace platform {

namespace {

int32_t refusalsLeft = 0;
bool keepHeadlessFrames = true;

bool Open(int32_t, int32_t, int32_t, std::string*) { return true; }
void Close() {}
void Redraw() {}

bool Present(const void* pixels, int32_t pitch, int32_t width, int32_t height, int32_t bitsPerPixel,
             const uint8_t* paletteRgbx, PresentKind kind) {
  if (refusalsLeft > 0) {
    --refusalsLeft;
    return false;
  }
  if (keepHeadlessFrames) KeepPresentedFrame(pixels, pitch, width, height, bitsPerPixel, paletteRgbx);
  if (kind == PresentKind::Update) {
    ++KeptFrame().updateCount;
    return true;
  }
  ++KeptFrame().flipCount;
  return true;
}

}  // namespace

const VideoBackend& HeadlessVideoBackend() {
  static const VideoBackend table{Open, Close, Present, Redraw};
  return table;
}

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

void KeepHeadlessFrames(bool keep) { keepHeadlessFrames = keep; }

void RefuseNextPresents(int32_t count) { refusalsLeft = count > 0 ? count : 0; }

void ResetHeadlessPresentation() {
  KeptFrame() = PresentedFrame{};
  refusalsLeft = 0;
}

}  // namespace platform
