// The game's one window as the parts of the shell use it: its handle, the instance handle, and the flip that
// reports a refused flip in a box on that window. WinMain sets them; start-up, menu, frame and demos read them.
#pragma once
#include "platform/window.h"

// Written once by WinMain; read by the start-up, the menu, the frame and the demo player.
extern platform::Window* MainWindow;  // null until the window exists (and for good when creation failed)
extern void* AppInstance;             // the instance handle WinMain was given

// Flips the display; when the flip is refused, shows the main window's flip-failure box. Used by the frame of
// play and by the title menu's frame.
void FlipDisplayOrShowFailure();
