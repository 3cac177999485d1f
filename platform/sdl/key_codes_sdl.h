// The SDL window's keyboard numbering: its WM_KEYDOWN and WM_KEYUP messages carry SDL's scancode of the key in
// wParam (the USB keyboard usage number for the ordinary keys); this turns one into the key code the program reads.
#pragma once
#include <cstdint>

namespace platform {

// The key code of an SDL scancode, 0 when the key has none. Called by the SDL keyboard and the showcase.
uint8_t KeyCodeForScancode(int32_t scancode);

}  // namespace platform
