// Copying pictures between surfaces: the keyed, unscaled, all-or-nothing blit every frame uses,
// and a stretched blit (optionally keyed) for scaled sprites.
#pragma once
#include <cstdint>

#include "gfx/surface.h"

// Copies the source's top-left width x height pixels to (x, y), skipping pixels equal to the source's colour key.
// Refused as a whole (false, nothing drawn) for a null surface, a rectangle not wholly inside the destination,
// a size beyond the source, or surfaces of different depths.
bool BlitSurface(Surface* source, Surface* destination, int32_t x, int32_t y, int32_t width, int32_t height);

// Finds a keyed picture's opaque runs now rather than at its first blit, so that a picture first shown in the
// middle of play (the game-over screen) costs no allocation then. The runs are found again after a write.
void PrepareKeyedBlits(Surface* source);

// Scales srcRect of the source onto dstRect of the destination (nearest pixel), skipping keyed pixels when asked.
// Rectangles are right/bottom exclusive. The source rectangle must lie inside the source; the destination
// rectangle must lie inside the destination unless the destination has a clip list, which then clips it.
bool StretchBlitSurface(Surface* source, const RectL& srcRect, Surface* destination, const RectL& dstRect,
                        bool useColorKey);
