// Reading and writing the 256-colour display palette: single entries, the whole table, and colour cycling.
// Every write goes to DisplayPalette and keeps its in-memory copy PaletteTable equal to it.
#pragma once

#include <cstdint>

#include "gfx/surface.h"

// Writes one entry into DisplayPalette and PaletteTable. Returns 1; 0 (nothing written) for an index
// outside 0..255.
int32_t WritePaletteSlot(int32_t index, const PaletteEntry* entry);

// Copies entry index of PaletteTable (not of the device palette) to the caller. Returns 1; 0 for an index
// outside 0..255.
int32_t ReadPaletteSlot(int32_t index, PaletteEntry* entry);

// Copies all 256 entries of PaletteTable into dest. Returns 1.
int32_t ReadFullPalette(PaletteEntry* dest);

// Copies 256 entries into PaletteTable, then writes all of them into DisplayPalette from entry 0. Returns 1.
int32_t WriteFullPalette(const PaletteEntry* src);

// Moves the colours of entries first..last up one index, the last wrapping round to first, in DisplayPalette,
// then reads the whole device palette back into PaletteTable. A range with first > last or outside 0..255
// does nothing. Returns 1.
int32_t RotatePaletteRange(int32_t first, int32_t last);
