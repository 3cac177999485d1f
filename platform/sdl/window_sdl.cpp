// The SDL window: full-screen desktop (the monitor's mode is never changed) or the player's chosen window,
// Alt+Enter to that window (1280 x 960 unless chosen) and back, F12 for a screenshot, window-manager close requests as
// WM_CLOSE, modal message boxes and the cursor.
#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "platform/display_choices.h"
#include "platform/internal/backend_tables.h"
#include "platform/process_environment.h"
#include "platform/screenshot.h"
#include "platform/sdl/window_sdl.h"
#include "platform/video.h"
#include "platform/window.h"

namespace platform::sdl_window {

namespace {

SDL_Window* window = nullptr;

void HandleWindowEvent(const SDL_WindowEvent& event) {
  switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
      PostCoalescedMessage(WM_CLOSE, 0);
      break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      RedrawLastFrame();
      PostCoalescedMessage(WM_PAINT, 0);
      break;
    default:
      break;
  }
}

void HandleKey(const SDL_KeyboardEvent& event) {
  bool altEnter = event.keysym.sym == SDLK_RETURN && (event.keysym.mod & KMOD_ALT) != 0;
  if (event.type == SDL_KEYDOWN && altEnter) {
    if (!event.repeat) ToggleFullScreen();
    return;
  }
  // F12 is a key the game never reads: the screenshot leaves the game's input as it was.
  if (event.type == SDL_KEYDOWN && event.keysym.sym == SDLK_F12 && !event.repeat) SaveScreenshot();
  PostCoalescedMessage(event.type == SDL_KEYDOWN ? WM_KEYDOWN : WM_KEYUP, event.keysym.scancode);
}

}  // namespace

bool Open(const char* title, const char* className, std::string* error) {
  // X11 takes the window's class from this variable when the window is made.
  SetEnvironmentVariable("SDL_VIDEO_X11_WMCLASS", className);
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // Signals end the process as usual: the title menu takes no messages, so a quit event made from one would wait.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // A finger is read as a finger (platform/sdl/pads_sdl.cpp), never also as the mouse, so no touch counts twice.
  SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    *error = SDL_GetError();
    return false;
  }
  // Without a display SDL falls back to a driver that shows nothing; unless asked for, the game would run unseen.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver != nullptr && !EnvironmentVariable("SDL_VIDEODRIVER") &&
      (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
    *error = std::string("no display found (SDL offers only its '") + driver + "' video driver)";
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  const DisplayChoices& choices = CurrentDisplayChoices();
  if (choices.fullScreen) {
    // The window is made at the desktop's size too, so that it covers the screen even where no window manager
    // carries out the full-screen request.
    SDL_DisplayMode desktop;
    int width = choices.windowWidth, height = choices.windowHeight;
    if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) width = desktop.w, height = desktop.h;
    window = SDL_CreateWindow(title, 0, 0, width, height, SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_SHOWN);
  } else {
    window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, choices.windowWidth,
                              choices.windowHeight, SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE);
  }
  if (window == nullptr) {
    *error = SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  return true;
}

void Close() {
  ClosePresentation();
  if (window != nullptr) SDL_DestroyWindow(window);
  window = nullptr;
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void* NativeWindow() { return window; }

void PumpEvents() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    switch (event.type) {
      case SDL_QUIT:
        PostCoalescedMessage(WM_CLOSE, 0);
        break;
      case SDL_WINDOWEVENT:
        HandleWindowEvent(event.window);
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        HandleKey(event.key);
        break;
      case SDL_MOUSEMOTION:
        PostCoalescedMessage(WM_MOUSEMOVE, 0);
        break;
      default:
        break;
    }
  }
}

bool IsFullScreen() {
  return window != nullptr &&
         (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP;
}

void ToggleFullScreen() {
  if (window == nullptr) return;
  if (IsFullScreen()) {
    SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowSize(window, CurrentDisplayChoices().windowWidth, CurrentDisplayChoices().windowHeight);
    SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  } else {
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(SDL_GetWindowDisplayIndex(window), &desktop) == 0) {
      SDL_SetWindowPosition(window, 0, 0);
      SDL_SetWindowSize(window, desktop.w, desktop.h);
    }
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
  RedrawLastFrame();
}

void ShowMessageBox(const char* text, const char* caption) {
  // Without a display to show it on, the box's words still reach the user.
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, window) != 0)
    std::fprintf(stderr, "%s: %s\n", caption, text);
}

void ShowCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

}  // namespace platform::sdl_window

namespace platform {

const WindowBackend& SdlWindowBackend() {
  static const WindowBackend table{.open = sdl_window::Open,
                                   .close = sdl_window::Close,
                                   .pumpEvents = sdl_window::PumpEvents,
                                   .isFullScreen = sdl_window::IsFullScreen,
                                   .toggleFullScreen = sdl_window::ToggleFullScreen,
                                   .showMessageBox = sdl_window::ShowMessageBox,
                                   .showCursor = sdl_window::ShowCursor,
                                   .displayNeedsWindow = true};
  return table;
}

}  // namespace platform
