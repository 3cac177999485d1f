// The display: device, flipping primary and back surfaces, the ramp palette, fills, clippers, locks and presentation.
// Surfaces live in our own memory; the platform only presents the finished primary picture.
#include "gfx/display.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/video.h"
#include "platform/window.h"

DisplayObject* DisplayDevice = nullptr;
Surface* PrimarySurface = nullptr;
Surface* BackSurface = nullptr;
PaletteObject* DisplayPalette = nullptr;
PaletteEntry PaletteTable[256] = {};
// KEEP: until a mode is set the screen reads 640 x 480 at 8 bits (DisplayTest.ModeValuesChange... checks).
int32_t ScreenWidth = 640;
int32_t ScreenHeight = 480;
int32_t ScreenBitsPerPixel = 8;
SurfaceDescription SharedSurfaceDesc = {};
uint8_t* PrimaryLockPtr = nullptr;
int32_t PrimaryLockPitch = 0;
uint8_t* BackLockPtr = nullptr;
int32_t BackLockPitch = 0;

namespace {

constexpr uint32_t kCooperativeFullScreenFlags = 0x53;
constexpr int32_t kMaxDisplaySide = 4096;
constexpr uint8_t kPaletteNoCollapse = 4;

// The cooperative level binds the display to the window; the platform says whether it can yet.
bool SetCooperativeLevel(DisplayObject* device, uint32_t flags) {
  if (!platform::DisplayCanBindToWindow()) return false;
  device->cooperativeFlags = flags;
  return true;
}

// Our layer keeps 8-bit and 16-bit pictures up to 4096 pixels a side; the platform must be able to present them.
bool SetDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel) {
  if (width <= 0 || height <= 0 || width > kMaxDisplaySide || height > kMaxDisplaySide) return false;
  if (bitsPerPixel != 8 && bitsPerPixel != 16) return false;
  return platform::OpenPresentation(width, height, bitsPerPixel);
}

// Four ramps of 64: red, green, blue and grey, each 0, 4, ..., 252, flags PC_NOCOLLAPSE.
void BuildRampPalette() {
  std::memset(PaletteTable, 0, sizeof PaletteTable);
  for (int i = 0; i < 256; ++i) {
    uint8_t level = static_cast<uint8_t>(4 * (i % 64));
    PaletteEntry& entry = PaletteTable[i];
    if (i < 64) entry.red = level;
    else if (i < 128) entry.green = level;
    else if (i < 192) entry.blue = level;
    else entry.red = entry.green = entry.blue = level;
    entry.flags = kPaletteNoCollapse;
  }
}

Surface* CreatePrimaryWithBack(const SurfaceDescription& description) {
  if (!(description.flags & kSurfaceDescBackBufferCount) || description.backBufferCount != 1) return nullptr;
  Surface* primary = CreateSurfaceOfFormat(ScreenWidth, ScreenHeight, ScreenBitsPerPixel);
  Surface* back = CreateSurfaceOfFormat(ScreenWidth, ScreenHeight, ScreenBitsPerPixel);
  if (primary == nullptr || back == nullptr) {
    Release(primary);
    Release(back);
    return nullptr;
  }
  primary->isPrimary = true;
  primary->caps = description.caps;
  back->caps = kSurfaceCapsBackBuffer | kSurfaceCapsFlip | kSurfaceCapsComplex;
  primary->backBuffer = back;
  return primary;
}

void FillDescriptionFromLock(Surface* surface) {
  std::memset(&SharedSurfaceDesc, 0, sizeof SharedSurfaceDesc);
  SharedSurfaceDesc.size = kSurfaceDescriptionSize;
  if (surface == nullptr) return;
  ++surface->lockCount;
  MarkSurfaceWritten(surface);
  SharedSurfaceDesc.flags =
      kSurfaceDescCaps | kSurfaceDescHeight | kSurfaceDescWidth | kSurfaceDescPitch | kSurfaceDescPixelFormat;
  SharedSurfaceDesc.width = surface->width;
  SharedSurfaceDesc.height = surface->height;
  SharedSurfaceDesc.pitch = surface->pitch;
  SharedSurfaceDesc.caps = surface->caps;
  SharedSurfaceDesc.bitsPerPixel = surface->bitsPerPixel;
  SharedSurfaceDesc.pixels = surface->pixels;
}

// Drawing on the visible surface outside a flip appears at once, unless a lock on it is still open.
void ShowIfVisible(const Surface* surface) {
  if (surface != nullptr && surface == PrimarySurface && surface->lockCount == 0) ShowVisibleSurface();
}

void UnlockOnce(Surface* surface) {
  if (surface->lockCount > 0) --surface->lockCount;
  // Pixels written through the lock after a blit already read the surface must be seen by the next blit.
  SurfaceDrawn(surface);
}

const uint8_t* PresentationPalette(const Surface* primary) {
  if (primary->bitsPerPixel != 8) return nullptr;
  const PaletteEntry* entries = primary->palette ? primary->palette->entries : PaletteTable;
  return reinterpret_cast<const uint8_t*>(entries);
}

void FillRows(Surface* surface, int32_t left, int32_t top, int32_t width, int32_t height, uint32_t colour) {
  const size_t rowBytes = static_cast<size_t>(width) * (surface->bitsPerPixel / 8);
  uint8_t* first = surface->pixels + static_cast<size_t>(top) * surface->pitch + left * (surface->bitsPerPixel / 8);
  uint8_t low = static_cast<uint8_t>(colour);
  bool bytewise = surface->bitsPerPixel == 8 || low == static_cast<uint8_t>(colour >> 8);
  // A whole surface whose rows touch is one run of memory.
  if (left == 0 && width == surface->width && static_cast<size_t>(surface->pitch) == rowBytes) {
    if (bytewise) std::memset(first, low, rowBytes * height);
    else std::fill_n(reinterpret_cast<uint16_t*>(first), static_cast<size_t>(width) * height, uint16_t(colour));
    return;
  }
  for (int32_t row = 0; row < height; ++row) {
    uint8_t* line = first + static_cast<size_t>(row) * surface->pitch;
    if (bytewise) std::memset(line, low, rowBytes);
    else std::fill_n(reinterpret_cast<uint16_t*>(line), width, uint16_t(colour));
  }
}

}  // namespace

Surface* CreateSurface(DisplayObject* device, const SurfaceDescription& description) {
  if (device == nullptr) return nullptr;
  if ((description.flags & kSurfaceDescCaps) && (description.caps & kSurfaceCapsPrimary))
    return CreatePrimaryWithBack(description);
  if (!(description.flags & kSurfaceDescWidth) || !(description.flags & kSurfaceDescHeight)) return nullptr;
  int32_t depth = (description.flags & kSurfaceDescPixelFormat) ? description.bitsPerPixel : ScreenBitsPerPixel;
  Surface* surface = CreateSurfaceOfFormat(description.width, description.height, depth);
  if (surface != nullptr) surface->caps = description.caps;
  return surface;
}

int32_t InitDisplay(int32_t width, int32_t height, int32_t bitsPerPixel) {
  // The device (one object serves as both the first object and the one asked for).
  DisplayObject* device = CreateDisplayObject();
  if (device == nullptr) return 0;
  DisplayDevice = device;
  if (!SetCooperativeLevel(DisplayDevice, kCooperativeFullScreenFlags)) return 0;
  if (!SetDisplayMode(width, height, bitsPerPixel)) return 0;
  ScreenWidth = width;
  ScreenHeight = height;
  ScreenBitsPerPixel = bitsPerPixel;

  // The primary with one back surface, described in the shared record.
  std::memset(&SharedSurfaceDesc, 0, sizeof SharedSurfaceDesc);
  SharedSurfaceDesc.size = kSurfaceDescriptionSize;
  SharedSurfaceDesc.flags = kSurfaceDescCaps | kSurfaceDescBackBufferCount;
  SharedSurfaceDesc.caps = kSurfaceCapsPrimary | kSurfaceCapsFlip | kSurfaceCapsComplex;
  SharedSurfaceDesc.backBufferCount = 1;
  PrimarySurface = CreateSurface(DisplayDevice, SharedSurfaceDesc);
  if (PrimarySurface == nullptr) return 0;
  BackSurface = PrimarySurface->backBuffer;
  AddRef(BackSurface);

  // KEEP: the ramps are built whatever the depth, so PaletteTable holds them (DisplayTest.PaletteHolds...).
  BuildRampPalette();
  DisplayPalette = CreatePalette(DisplayDevice, 0x44, PaletteTable);
  if (DisplayPalette == nullptr) return 0;
  if (!SetPalette(PrimarySurface, DisplayPalette)) return 0;

  FillSurface(PrimarySurface, 0);
  FillSurface(BackSurface, 0);
  return 1;
}

int32_t ShutdownDisplay() {
  // The handles are cleared after release so that a late use finds null instead of freed memory.
  if (DisplayPalette != nullptr) Release(DisplayPalette);
  if (BackSurface != nullptr) Release(BackSurface);
  if (PrimarySurface != nullptr) Release(PrimarySurface);
  if (DisplayDevice != nullptr) Release(DisplayDevice);
  DisplayPalette = nullptr;
  BackSurface = nullptr;
  PrimarySurface = nullptr;
  DisplayDevice = nullptr;
  PrimaryLockPtr = BackLockPtr = nullptr;
  PrimaryLockPitch = BackLockPitch = 0;
  platform::ClosePresentation();
  return 1;
}

int32_t FlipDisplay() {
  if (PrimaryLockPtr != nullptr || BackLockPtr != nullptr) return 0;
  if (PrimarySurface == nullptr || BackSurface == nullptr) return 0;
  // Present the back picture; a refusal is asked again a few times, never for ever.
  for (int32_t attempt = 0; attempt < kFlipAttempts; ++attempt) {
    if (!platform::PresentFrame(BackSurface->pixels, BackSurface->pitch, BackSurface->width, BackSurface->height,
                                BackSurface->bitsPerPixel, PresentationPalette(PrimarySurface),
                                platform::PresentKind::Flip))
      continue;
    // The shown picture becomes the primary's; the back surface gets the one shown before.
    std::swap(PrimarySurface->storage, BackSurface->storage);
    PrimarySurface->pixels = PrimarySurface->storage.data();
    BackSurface->pixels = BackSurface->storage.data();
    MarkSurfaceWritten(PrimarySurface);
    MarkSurfaceWritten(BackSurface);
    return 1;
  }
  return 0;
}

// KEEP: the fill reports 1 whatever happens, null included (DisplayTest.LocksOfNothingAreHarmless checks).
int32_t FillSurface(Surface* surface, uint32_t colour) {
  if (surface == nullptr) return 1;
  FillRows(surface, 0, 0, surface->width, surface->height, colour);
  SurfaceDrawn(surface);
  return 1;
}

int32_t FillSurfaceRect(Surface* surface, const RectL& rect, uint32_t colour) {
  if (surface == nullptr) return 0;
  if (rect.left < 0 || rect.top < 0 || rect.right > surface->width || rect.bottom > surface->height) return 0;
  if (rect.left >= rect.right || rect.top >= rect.bottom) return 0;
  FillRows(surface, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, colour);
  SurfaceDrawn(surface);
  return 1;
}

Surface* CreateOffscreenSurface(int32_t width, int32_t height, uint32_t memoryCaps) {
  SurfaceDescription description = {};
  description.size = kSurfaceDescriptionSize;
  description.flags = kSurfaceDescCaps | kSurfaceDescHeight | kSurfaceDescWidth;
  description.width = width;
  description.height = height;
  description.caps = memoryCaps | kSurfaceCapsOffscreenPlain;
  Surface* surface = CreateSurface(DisplayDevice, description);
  if (surface == nullptr) return nullptr;
  SetColorKey(surface, 0, 0);
  return surface;
}

ClipperObject* AttachClipper(Surface* surface, int32_t count, const RectL* rectangles) {
  // A negative count or a missing array cannot describe a region.
  if (count < 0 || (count > 0 && rectangles == nullptr)) return nullptr;
  ClipperObject* clipper = CreateClipper(DisplayDevice);
  if (clipper == nullptr) return nullptr;
  std::vector<uint8_t> block(sizeof(RegionHeader) + sizeof(RectL) * static_cast<size_t>(count));
  RegionHeader header = {};
  header.size = sizeof(RegionHeader);
  header.type = 1;
  header.count = static_cast<uint32_t>(count);
  header.regionSize = static_cast<uint32_t>(sizeof(RectL) * count);
  // KEEP: the bound starts inverted and stays so when empty (DisplayTest.ClipperKeepsItsRegionHeader checks).
  header.bound = {64000, 64000, -64000, -64000};
  for (int32_t i = 0; i < count; ++i) {
    header.bound.left = std::min(header.bound.left, rectangles[i].left);
    header.bound.top = std::min(header.bound.top, rectangles[i].top);
    header.bound.right = std::max(header.bound.right, rectangles[i].right);
    header.bound.bottom = std::max(header.bound.bottom, rectangles[i].bottom);
  }
  std::memcpy(block.data(), &header, sizeof header);
  if (count > 0) std::memcpy(block.data() + sizeof header, rectangles, sizeof(RectL) * count);
  if (!SetClipList(clipper, block.data(), static_cast<uint32_t>(block.size())) || !SetClipper(surface, clipper)) {
    Release(clipper);
    return nullptr;
  }
  return clipper;
}

int32_t WaitVerticalBlank() { return 1; }

uint8_t* LockSurface(Surface* surface, int32_t* pitchOut) {
  if (surface == nullptr) return nullptr;
  FillDescriptionFromLock(surface);
  if (pitchOut != nullptr) *pitchOut = SharedSurfaceDesc.pitch;
  return static_cast<uint8_t*>(SharedSurfaceDesc.pixels);
}

int32_t UnlockSurface(Surface* surface) {
  if (surface == nullptr) return 0;
  UnlockOnce(surface);
  return 1;
}

uint8_t* LockPrimarySurface() {
  if (PrimaryLockPtr != nullptr) return PrimaryLockPtr;
  FillDescriptionFromLock(PrimarySurface);
  PrimaryLockPtr = static_cast<uint8_t*>(SharedSurfaceDesc.pixels);
  PrimaryLockPitch = SharedSurfaceDesc.pitch;
  return PrimaryLockPtr;
}

uint8_t* LockBackSurface() {
  if (BackLockPtr != nullptr) return BackLockPtr;
  FillDescriptionFromLock(BackSurface);
  BackLockPtr = static_cast<uint8_t*>(SharedSurfaceDesc.pixels);
  BackLockPitch = SharedSurfaceDesc.pitch;
  return BackLockPtr;
}

int32_t UnlockPrimarySurface() {
  if (PrimaryLockPtr == nullptr) return 0;
  PrimaryLockPtr = nullptr;
  PrimaryLockPitch = 0;
  UnlockOnce(PrimarySurface);
  return 1;
}

int32_t UnlockBackSurface() {
  if (BackLockPtr == nullptr) return 0;
  BackLockPtr = nullptr;
  BackLockPitch = 0;
  UnlockOnce(BackSurface);
  return 1;
}

void ShowVisibleSurface() {
  const Surface* screen = PrimarySurface;
  if (screen == nullptr) return;
  platform::PresentFrame(screen->pixels, screen->pitch, screen->width, screen->height, screen->bitsPerPixel,
                         PresentationPalette(screen), platform::PresentKind::Update);
}

void SurfaceDrawn(Surface* surface) {
  if (surface == nullptr) return;
  MarkSurfaceWritten(surface);
  ShowIfVisible(surface);
}

bool SetPaletteEntries(PaletteObject* palette, int32_t first, int32_t count, const PaletteEntry* entries) {
  if (palette == nullptr || entries == nullptr || first < 0 || count < 0 || first + count > 256) return false;
  std::memcpy(palette->entries + first, entries, sizeof(PaletteEntry) * count);
  // A palette on the visible surface changes the screen at once; the pixels themselves are unchanged.
  ShowIfVisible(palette->attachedTo);
  return true;
}
