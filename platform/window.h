// The program's one window and its message queue, message boxes and cursor.
// SDL: a full-screen desktop window fed by SDL's events. Headless: a window of no size, message boxes recorded.
#pragma once
#include <cstdint>
#include <string>

namespace platform {

struct Window;

// Message values as the program knows them.
constexpr uint32_t WM_NULL = 0x0000;
constexpr uint32_t WM_CREATE = 0x0001;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;

struct Message {
  Window* window;
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
};

// A window procedure: what DispatchMessage calls for each message of the window.
using WindowProc = intptr_t (*)(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Registers the procedure under a class name; called once by the entry (app/main_window.cpp) before the window.
// False for an empty name.
bool RegisterWindowClass(const char* className, WindowProc procedure);

// Opens the main window titled title (X11 WM_CLASS className), covering the desktop in full-screen desktop
// mode; sends WM_CREATE to the class's procedure. Null on failure, with the reason in LastError().
// Called once by the entry (app/main_window.cpp).
Window* OpenMainWindow(const char* title, const char* className);
// The window made by OpenMainWindow, or null; read by the asset catalogue's boxes and the display's set-up.
Window* MainWindowHandle();
// Closes the window; a later OpenMainWindow may make a new one. Called by the showcase and tests (the game's
// window lives until the process ends).
void CloseMainWindow();
// Why the last creation failed (SDL's reason); printed by the entry when the window cannot be made.
std::string LastError();

// The message loop (app/main_window.cpp) calls Peek, Translate and Dispatch each turn.
// Takes at most one message without waiting; pumps SDL first. WM_QUIT comes only when nothing else waits.
bool PeekMessage(Message* out);
// Queues a message; posted by the title menu (WM_DESTROY on Quit) and the replay tool.
bool PostMessage(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// Asks the loop to end once the queue is empty; posted by the window procedure on WM_DESTROY.
void PostQuitMessage(int exitCode);
// Does nothing of its own (key messages carry no characters here); kept for the loop's shape.
bool TranslateMessage(const Message* message);
// Calls the window class's procedure with the message; 0 when none is registered.
intptr_t DispatchMessage(const Message* message);
// The default answer to a message nobody handles: 0. Returned by the window procedure.
intptr_t DefWindowProc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// Paint bracket around the window procedure's WM_PAINT: ends the pending paint so that another comes only after
// the next expose.
void BeginPaint(Window* window);
void EndPaint(Window* window);

// Pumps SDL's events: close requests become WM_CLOSE, Alt+Enter toggles full screen and a 1280 x 960 window,
// keys and motion become coalesced "other" messages. Relative mouse motion keeps accumulating for input.
// Headless: nothing. Called by PeekMessage and by the input reads.
void PumpEvents();

// True while the window is full screen (headless: always). Asked by the showcase.
bool IsFullScreen();
// Toggles between full-screen desktop and the 1280 x 960 window (what Alt+Enter does); called by the showcase.
void ToggleFullScreen();

// Whether the display may bind to the window now: the SDL backend needs the main window, the headless one has
// nothing to bind to. Asked by the display's cooperative level.
bool DisplayCanBindToWindow();

// A modal box with one OK button (SDL). Headless: recorded as (caption, text) and answered at once.
// Shown by start-up, the title menu, the frame loop and the asset catalogue when something fails.
void ShowMessageBox(Window* window, const char* text, const char* caption);

// Shows or hides the mouse cursor over the window (start-up hides it); IsCursorShown reads the last choice
// (tests).
void ShowCursor(bool show);
bool IsCursorShown();

// Demos: of the platform's own events only close requests are queued (key, motion and paint messages, which the
// program only acknowledges, are left out), so the program takes each message in the frame a replay would.
void QueueOnlyCloseRequests(bool only);
// How many WM_CLOSE messages PeekMessage has handed out so far (the demo recorder notes each between frames).
int64_t CloseRequestsTaken();

}  // namespace platform
