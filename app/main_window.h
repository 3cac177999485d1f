// The program's top: WinMain and the window procedure. Nothing of the shell below includes this header; the
// window's handle and the flip the menu and the frame use are in app/game_window.h.
#pragma once
#include <cstdint>

#include "platform/window.h"

// Window class name and title of the one window.
constexpr const char* kMainWindowClassName = "TAVO2000CLASS";
constexpr const char* kMainWindowTitle = "Tavo 2000";

// Creates the window, runs start-up (which ends in the title menu), then the message loop with one frame per
// pass, and shut-down. Only the instance is used. Returns the quit message's wParam, or 0 without a window.
int32_t WinMain(void* instance, void* previousInstance, const char* commandLine, int32_t showCommand);

// Turns WM_CLOSE and WM_DESTROY into the quit message; everything else is answered with 0.
intptr_t MainWindowProc(platform::Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
