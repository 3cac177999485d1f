// The program's entry and its window: WinMain, the window procedure and the per-frame driver RunFrame.
// MainWindow owns every message box and is the target of the title menu's quit request.
#pragma once
#include <cstdint>

#include "platform/window.h"

// Written once by WinMain; read by the start-up, the menu and the asset catalogue.
extern platform::Window* MainWindow;  // null until the window exists (and for good when creation failed)
extern void* AppInstance;             // the instance handle WinMain was given

// Window class name and title of the one window.
constexpr const char* MainWindowClassName = "TAVO2000CLASS";
constexpr const char* MainWindowTitle = "Tavo 2000";

// Creates the window, runs start-up (which ends in the title menu), then the message loop with one frame per
// pass, and shut-down. Only the instance is used. Returns the quit message's wParam, or 0 without a window.
int32_t WinMain(void* instance, void* previousInstance, const char* commandLine, int32_t showCommand);

// Turns WM_CLOSE and WM_DESTROY into the quit message; everything else is answered with 0.
intptr_t MainWindowProc(platform::Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Flips the display; when the flip is refused, shows the main window's flip-failure box. Used by the frame of
// play and by the title menu's frame.
void FlipDisplayOrShowFailure();

// One frame of play in its fixed order: Escape (title menu), clock, clear, paddles, ball rules, serve,
// playfield, block, flip, wait for the rest of 30 ms. Returns 1.
int32_t RunFrame();
