// The SDL window, reached by the window service through SdlWindowBackend() and by platform/sdl/video_sdl.cpp,
// which presents on it: open and close the window, pump its events, show boxes, set the cursor.
#pragma once
#include <cstdint>
#include <string>

namespace platform::sdl_window {

// Opens the full-screen desktop window; false with the reason in *error.
bool Open(const char* title, const char* className, std::string* error);
void Close();
// The SDL_Window* of the open window (as void*, so no SDL type leaves the .cpp files), or null.
void* NativeWindow();
void PumpEvents();
bool IsFullScreen();
void ToggleFullScreen();
void ShowMessageBox(const char* text, const char* caption);
void ShowCursor(bool show);

}  // namespace platform::sdl_window
