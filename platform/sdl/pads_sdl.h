// SDL's game controllers and touch fingers as keys, pointer motion and the mouse button, merged by the SDL input
// backend (platform/sdl/input_sdl.cpp) into the keyboard and mouse it reads; the play context says what they mean.
#pragma once
#include <cstdint>

#include "platform/internal/backend_tables.h"

namespace platform::sdl_pads {

// Called by the input system's opening and closing, after SDL's joysticks are started and before they stop.
void Open();
void Close();

// Set in keys (0x80) the keys the pads and fingers hold now.
void AddToKeys(uint8_t keys[256]);
// Adds the frame's motion (in the frame's first read) and the button they hold.
void AddToMouse(RawMouseState* mouse);

}  // namespace platform::sdl_pads
