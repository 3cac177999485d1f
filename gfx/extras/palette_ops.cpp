// Single-entry and whole-table palette access and the colour-cycling rotation.
// The results of the device palette calls are not examined: these operations report 1 regardless.
#include "gfx/extras/palette_ops.h"

#include <algorithm>

#include "gfx/display.h"

namespace {

bool IsPaletteIndex(int32_t index) { return index >= 0 && index <= 255; }

}  // namespace

int32_t WritePaletteSlot(int32_t index, const PaletteEntry* entry) {
  if (!IsPaletteIndex(index) || entry == nullptr) return 0;
  SetPaletteEntries(DisplayPalette, index, 1, entry);
  PaletteTable[index] = *entry;
  return 1;
}

int32_t ReadPaletteSlot(int32_t index, PaletteEntry* entry) {
  if (!IsPaletteIndex(index) || entry == nullptr) return 0;
  *entry = PaletteTable[index];
  return 1;
}

int32_t ReadFullPalette(PaletteEntry* dest) {
  std::copy(PaletteTable, PaletteTable + 256, dest);
  return 1;
}

// KEEP: the device's answer is not examined: the write reports 1, the result its callers read.
int32_t WriteFullPalette(const PaletteEntry* src) {
  std::copy(src, src + 256, PaletteTable);
  SetPaletteEntries(DisplayPalette, 0, 256, PaletteTable);
  return 1;
}

int32_t RotatePaletteRange(int32_t first, int32_t last) {
  if (first > last || !IsPaletteIndex(first) || !IsPaletteIndex(last)) return 1;
  int32_t count = last - first + 1;
  PaletteEntry work[256];
  if (!GetPaletteEntries(DisplayPalette, first, count, work)) return 1;
  // Every colour moves up one index; the last one wraps round to the first place.
  SetPaletteEntries(DisplayPalette, first + 1, count - 1, work);
  SetPaletteEntries(DisplayPalette, first, 1, &work[count - 1]);
  GetPaletteEntries(DisplayPalette, 0, 256, PaletteTable);
  return 1;
}
