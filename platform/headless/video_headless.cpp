// Headless presentation: the last picture is kept (unless a benchmark says not to), flips and updates are
// counted; platform/video.cpp runs the present hook after each flip. Tests may refuse opening and presents, and
// benchmarks may skip keeping the copy.
#include "platform/headless/headless.h"
#include "platform/internal/backend_tables.h"
#include "platform/video.h"

namespace platform {

namespace {

int32_t refusalsLeft = 0;
bool keepHeadlessFrames = true;
std::string openRefusal;  // the reason the next open is refused with; empty when it succeeds

bool Open(int32_t, int32_t, int32_t, std::string* error) {
  if (openRefusal.empty()) return true;
  *error = openRefusal;
  openRefusal.clear();
  return false;
}
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
  static const VideoBackend table{
      .open = Open, .close = Close, .present = Present, .redraw = Redraw, .copyKeptPicture = nullptr};
  return table;
}

void KeepHeadlessFrames(bool keep) { keepHeadlessFrames = keep; }

void RefuseNextPresents(int32_t count) { refusalsLeft = count > 0 ? count : 0; }

void RefuseNextPresentationOpen(const std::string& reason) { openRefusal = reason; }

void ResetHeadlessPresentation() {
  KeptFrame() = PresentedFrame{};
  refusalsLeft = 0;
  openRefusal.clear();
}

}  // namespace platform
