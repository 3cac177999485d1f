// The full-screen display: device, primary and back surfaces, palette, flip, fills, clippers and locks.
// The globals are owned here from InitDisplay to ShutdownDisplay; other code draws through them and never releases
// them.
#pragma once
#include <cstdint>

#include "gfx/surface.h"

// Display state, written by InitDisplay, the lock family and ShutdownDisplay; read by everyone who draws.
extern DisplayObject* DisplayDevice;
extern Surface* PrimarySurface;
extern Surface* BackSurface;
extern PaletteObject* DisplayPalette;
extern PaletteEntry PaletteTable[256];
extern int32_t ScreenWidth;         // 640 until a mode is set
extern int32_t ScreenHeight;        // 480 until a mode is set
extern int32_t ScreenBitsPerPixel;  // 8 until a mode is set
extern SurfaceDescription SharedSurfaceDesc;
extern uint8_t* PrimaryLockPtr;
extern int32_t PrimaryLockPitch;
extern uint8_t* BackLockPtr;
extern int32_t BackLockPitch;

// How many times a refused presentation is asked again before FlipDisplay gives up and returns 0.
constexpr int32_t kFlipAttempts = 3;

// Creates a surface from a description: the primary with its back surface (caps with the primary bit), or a plain
// surface of the description's width and height in the display's depth (or its bitsPerPixel when the pixel-format
// flag is set). Null for a null device or a description it cannot meet.
Surface* CreateSurface(DisplayObject* device, const SurfaceDescription& description);

// Sets the mode, makes the primary with one back surface and the ramp palette; 1 when ready, 0 at the first failing
// step.
int32_t InitDisplay(int32_t width, int32_t height, int32_t bitsPerPixel);
// Releases the palette, the back surface, the primary and the device, each when present. Returns 1.
int32_t ShutdownDisplay();
// Presents the back surface and swaps the two; 0 when a primary or back lock is open or the presentation keeps failing.
int32_t FlipDisplay();
// Fills the whole surface with a raw pixel value. Returns 1 always.
int32_t FillSurface(Surface* surface, uint32_t colour);
// Fills the rectangle (right and bottom exclusive) with a raw pixel value; a rectangle not inside the surface fills
// nothing.
int32_t FillSurfaceRect(Surface* surface, const RectL& rect, uint32_t colour);
// A plain surface in the display's format with black as its source colour key; the caller releases it.
Surface* CreateOffscreenSurface(int32_t width, int32_t height, uint32_t memoryCaps);
// Builds a clip list of count rectangles and attaches it to the surface; the caller owns the clipper.
ClipperObject* AttachClipper(Surface* surface, int32_t count, const RectL* rectangles);
// Returns 1; the presentation already keeps frames whole.
int32_t WaitVerticalBlank();

uint8_t* LockSurface(Surface* surface, int32_t* pitchOut);
int32_t UnlockSurface(Surface* surface);
uint8_t* LockPrimarySurface();
uint8_t* LockBackSurface();
int32_t UnlockPrimarySurface();
int32_t UnlockBackSurface();

// The one way drawing reaches the screen: every operation that wrote a surface's pixels ends with this call. The
// next keyed blit from the surface finds its opaque runs again, and when it is the visible surface (not locked)
// the picture is shown at once, outside any flip.
void SurfaceDrawn(Surface* surface);
// Shows the visible surface as it now is, even while it is locked: the screen transitions of gfx/extras draw into
// the screen itself and mean each step to be seen.
void ShowVisibleSurface();
// Copies count entries into the palette from index first; a palette attached to the visible surface changes
// the screen at once. False for a null palette or entries, or a range outside 0..255.
bool SetPaletteEntries(PaletteObject* palette, int32_t first, int32_t count, const PaletteEntry* entries);
