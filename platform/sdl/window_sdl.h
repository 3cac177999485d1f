// The SDL half of the window service, used only by platform/window.cpp and platform/sdl/video_sdl.cpp.
// A new backend provides these same calls: open and close the window, pump its events, show boxes, set the cursor.
#pragma once
#include <cstdint>
#include <string>

namespace platform {
// Posts a message made from a platform event, unless the same one already waits (defined in window.cpp).
void PostCoalescedMessage(uint32_t message, uintptr_t wParam);
}  // namespace platform

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
