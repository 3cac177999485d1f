// The blink table: lights are added into the first free slot, start off, and alternate on each run call
// once their phase's frame count is reached.
#include "gfx/extras/blink_table.h"

#include <cstring>

#include "gfx/display.h"

BlinkEntry BlinkTable[256];

namespace {

// Set once the table has been cleared by the first command.
bool BlinkTableCleared = false;

// KEEP: the lights write DisplayPalette only, PaletteTable kept (PaletteOnDisplay.LightBlinks... checks).
void ShowLightColor(const BlinkEntry& light, const PaletteEntry& color) {
  SetPaletteEntries(DisplayPalette, light.colorIndex, 1, &color);
}

bool IsUsedSlot(int32_t id) { return id >= 0 && id < 256 && BlinkTable[id].blinkState != 0; }

int32_t AddLight(const BlinkEntry* light) {
  if (light == nullptr) return -1;
  for (int32_t slot = 0; slot < 256; ++slot) {
    BlinkEntry& entry = BlinkTable[slot];
    if (entry.blinkState != 0) continue;
    entry = *light;
    entry.counter = 0;
    entry.blinkState = -1;
    ShowLightColor(entry, entry.offColor);
    return slot;
  }
  // Every slot is in use: a distinct failure, never a slot number.
  return -1;
}

int32_t UpdateLight(const BlinkEntry* light, int32_t id) {
  if (light == nullptr || !IsUsedSlot(id)) return -1;
  BlinkEntry& entry = BlinkTable[id];
  entry.onColor = light->onColor;
  entry.offColor = light->offColor;
  entry.onTime = light->onTime;
  entry.offTime = light->offTime;
  ShowLightColor(entry, entry.blinkState == -1 ? entry.offColor : entry.onColor);
  return id;
}

void RunLights() {
  for (BlinkEntry& entry : BlinkTable) {
    if (entry.blinkState == -1) {
      entry.counter += 1;
      if (entry.counter >= entry.offTime) {
        entry.counter = 0;
        entry.blinkState = 1;
        ShowLightColor(entry, entry.onColor);
      }
    } else if (entry.blinkState == 1) {
      entry.counter += 1;
      if (entry.counter >= entry.onTime) {
        entry.counter = 0;
        entry.blinkState = -1;
        ShowLightColor(entry, entry.offColor);
      }
    }
  }
}

}  // namespace

int32_t BlinkCommand(int32_t command, const BlinkEntry* light, int32_t id) {
  if (!BlinkTableCleared) {
    std::memset(BlinkTable, 0, sizeof(BlinkTable));
    BlinkTableCleared = true;
  }
  switch (command) {
    case kBlinkAdd:
      return AddLight(light);
    case kBlinkDelete:
      if (!IsUsedSlot(id)) return -1;
      BlinkTable[id] = BlinkEntry{};
      return id;
    case kBlinkUpdate:
      return UpdateLight(light, id);
    case kBlinkRun:
      RunLights();
      return 1;
    default:
      return 1;
  }
}
