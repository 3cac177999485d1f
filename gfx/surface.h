// The display's objects: surfaces (8-bit palette indices or 16-bit RGB 565), palettes, clippers and the device.
// Each is reference-counted, created by one call and freed by Release, as the rest of the program expects.
#pragma once
#include <cstdint>
#include <vector>

// One colour of a 256-entry palette, in the order red, green, blue, flags.
struct PaletteEntry {
  uint8_t red, green, blue, flags;
};

// A rectangle with right and bottom exclusive, four 32-bit signed integers.
struct RectL {
  int32_t left, top, right, bottom;
};

// Capability bits and description flags understood by our surfaces.
constexpr uint32_t kSurfaceCapsBackBuffer = 0x4;
constexpr uint32_t kSurfaceCapsComplex = 0x8;
constexpr uint32_t kSurfaceCapsFlip = 0x10;
constexpr uint32_t kSurfaceCapsOffscreenPlain = 0x40;
constexpr uint32_t kSurfaceCapsPrimary = 0x200;
constexpr uint32_t kSurfaceCapsSystemMemory = 0x800;
constexpr uint32_t kSurfaceCapsVideoMemory = 0x4000;
constexpr uint32_t kSurfaceDescCaps = 0x1;
constexpr uint32_t kSurfaceDescHeight = 0x2;
constexpr uint32_t kSurfaceDescWidth = 0x4;
constexpr uint32_t kSurfaceDescPitch = 0x8;
constexpr uint32_t kSurfaceDescBackBufferCount = 0x20;
constexpr uint32_t kSurfaceDescColorKey = 0x10000;
constexpr uint32_t kSurfaceDescPixelFormat = 0x1000;
constexpr uint32_t kSurfaceDescriptionSize = 124;

// Our surface description record: what a creation asks for and what a lock reports.
struct SurfaceDescription {
  uint32_t size;
  uint32_t flags;
  int32_t height;
  int32_t width;
  int32_t pitch;
  uint32_t backBufferCount;
  uint32_t caps;
  int32_t bitsPerPixel;
  uint32_t colorKeyLow;
  uint32_t colorKeyHigh;
  void* pixels;
};

// The opaque runs of one keyed surface: for each row, the spans whose pixels differ from the key.
// Found on the first keyed blit after the key was set or the surface was written, then reused.
// For blits of the whole surface the opaque pixels are also kept packed one run after another (read in one
// sweep, as a run-length picture is), with a plan of ready byte offsets for one destination pitch: runs that
// follow each other in the destination too (the end of one row and the start of the next on a surface as wide
// as the destination) are one move.
struct RunCopy {
  uint32_t sourceOffset;  // into OpaqueRuns::packed
  uint32_t destinationOffset;
  uint32_t bytes;
};

struct OpaqueRuns {
  bool valid = false;
  std::vector<uint32_t> rowStart;  // height + 1 offsets into spans
  std::vector<uint16_t> spans;     // pairs: first x, length
  std::vector<uint8_t> packed;     // every run's pixels, in the order of spans
  std::vector<RunCopy> plan;       // the spans' moves, neighbours in the destination joined
  int32_t planPitch = -1;          // the destination pitch the plan was made for; -1 for none
};

struct PaletteObject {
  uint32_t refCount = 1;
  uint32_t caps = 0;
  PaletteEntry entries[256] = {};
  struct Surface* attachedTo = nullptr;  // the primary surface it colours, if any
};

// A clip list: the 32-byte region header and the rectangles after it, as given to the clipper.
struct RegionHeader {
  uint32_t size;
  uint32_t type;
  uint32_t count;
  uint32_t regionSize;
  RectL bound;
};

struct ClipperObject {
  uint32_t refCount = 1;
  RegionHeader header = {};
  std::vector<RectL> rectangles;
  bool hasList = false;
};

struct Surface {
  uint32_t refCount = 1;
  int32_t width = 0;
  int32_t height = 0;
  int32_t pitch = 0;         // bytes from one row to the next, a multiple of 4
  int32_t bitsPerPixel = 0;  // 8 or 16
  uint32_t caps = 0;
  uint8_t* pixels = nullptr;
  std::vector<uint8_t> storage;
  bool hasColorKey = false;
  uint32_t colorKeyLow = 0;
  uint32_t colorKeyHigh = 0;
  int32_t lockCount = 0;
  bool isPrimary = false;
  Surface* backBuffer = nullptr;  // the primary's attached back surface
  PaletteObject* palette = nullptr;
  ClipperObject* clipper = nullptr;
  OpaqueRuns runs;
};

// The display device: creates surfaces, palettes and clippers.
struct DisplayObject {
  uint32_t refCount = 1;
  uint32_t cooperativeFlags = 0;
};

// Reference counting: each Release drops one reference and frees the object at zero; returns what remains.
uint32_t AddRef(Surface* surface);
uint32_t Release(Surface* surface);
uint32_t Release(PaletteObject* palette);
uint32_t Release(ClipperObject* clipper);
uint32_t Release(DisplayObject* device);

// Makes a surface of the given size and depth (8 or 16) with zeroed pixels; null for a size or depth we do not keep.
Surface* CreateSurfaceOfFormat(int32_t width, int32_t height, int32_t bitsPerPixel);

// The platform-like object calls used by the display and bitmap code.
DisplayObject* CreateDisplayObject();
PaletteObject* CreatePalette(DisplayObject* device, uint32_t caps, const PaletteEntry* entries);
ClipperObject* CreateClipper(DisplayObject* device);
bool SetClipList(ClipperObject* clipper, const uint8_t* regionBlock, uint32_t blockSize);
bool SetClipper(Surface* surface, ClipperObject* clipper);
bool SetPalette(Surface* surface, PaletteObject* palette);
// Sets a source colour key (low..high inclusive); the opaque runs are found again on the next keyed blit.
bool SetColorKey(Surface* surface, uint32_t low, uint32_t high);
void ClearColorKey(Surface* surface);

// Copies count entries starting at first out of the palette (SetPaletteEntries, which may change the screen, is
// the display's: gfx/display.h).
bool GetPaletteEntries(const PaletteObject* palette, int32_t first, int32_t count, PaletteEntry* out);

// Anyone who writes a surface's pixels other than through a lock tells the blit cache with this (drawing
// operations do it through SurfaceDrawn of gfx/display.h, which also shows the visible surface).
inline void MarkSurfaceWritten(Surface* surface) { surface->runs.valid = false; }

// The raw pixel value of pixel (x, y), and its setter; no range test beyond the surface's size.
uint32_t ReadSurfacePixel(const Surface* surface, int32_t x, int32_t y);
void WriteSurfacePixel(Surface* surface, int32_t x, int32_t y, uint32_t value);
