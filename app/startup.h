// Start-up and shut-down of the whole program: devices, assets, the loading screen and the first title menu.
// WinMain calls InitGame before its message loop and ShutdownGame after it.
#pragma once
#include <cstdint>

// Sets up display, input, sound and music, loads every asset, writing a progress line for each step straight
// onto the visible primary surface; hides the cursor, places the block and runs the title menu. No failure
// stops it: a failing step shows its message box and start-up goes on. Returns 1 once the menu is left.
int32_t InitGame();

// The screen start-up ends in: the title menu, or an online session's meeting screen when one was asked for.
extern bool (*FirstScreen)();

// Releases the pictures, the display, the input devices, the sound effects and the song, in that order. Returns 1.
int32_t ShutdownGame();
