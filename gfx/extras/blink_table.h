// Blinking palette entries: a table of up to 256 lights, each switching one palette entry between an
// on and an off colour after a number of frames in each phase, driven by one command operation.
#pragma once

#include <cstdint>

#include "gfx/surface.h"

// One blinking light.
struct BlinkEntry {
  int32_t colorIndex;     // palette entry that blinks
  PaletteEntry onColor;   // colour while on
  PaletteEntry offColor;  // colour while off
  int32_t onTime;         // frames (calls of the run command) spent on
  int32_t offTime;        // frames spent off
  int32_t counter;        // frames counted in the current phase
  int32_t blinkState;     // 0 = slot free, 1 = on, -1 = off
};

// The lights, cleared to zeros on the first call of BlinkCommand.
extern BlinkEntry BlinkTable[256];

// The commands of BlinkCommand.
constexpr int32_t kBlinkAdd = 0;     // light: the new light; result: its slot, or -1 when all slots are in use
constexpr int32_t kBlinkDelete = 1;  // id: the slot; result: id, or -1 when the slot is free or out of range
constexpr int32_t kBlinkUpdate = 2;  // light: new colours and times for slot id; result as for delete
constexpr int32_t kBlinkRun = 3;     // one frame for every light; result 1

// Runs one command on the blink table; any other command does nothing and returns 1.
// Palette writes go to DisplayPalette only, one entry each; PaletteTable is not updated by the lights.
int32_t BlinkCommand(int32_t command, const BlinkEntry* light, int32_t id);
