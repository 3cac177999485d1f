// The palette text file: for each of 256 entries a newline and then red, green, blue and flags as decimals
// separated by single spaces, so the file opens with an empty line and has no newline after the last entry.
#pragma once

#include <cstdint>

#include "gfx/surface.h"
#include "platform/file_system.h"

// Writes the 256 entries in the text format. Returns 1, or 0 when the file cannot be created or written.
int32_t SavePaletteText(const char* path, const PaletteEntry* entries);

// Reads up to 256 groups of four whitespace-separated decimal integers into the caller's entries (the low
// 8 bits of each number). It fills only the caller's array, never the display.
// Returns 0 when the file cannot be opened, and then leaves the entries untouched. A short or malformed file
// fills every entry whose four numbers were read before the first that could not be, keeps the rest, and
// still returns 1.
int32_t LoadPaletteText(const char* path, PaletteEntry* entries);

// The reading part of LoadPaletteText on a file open for reading. Returns how many entries were filled (0..256).
// It reads one byte past the last number it takes, when there is one.
int32_t ReadPaletteTextStream(platform::File* file, PaletteEntry* entries);
