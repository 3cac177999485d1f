// WinMain and the window procedure: the window, start-up, the non-blocking message loop and shut-down.
// At most one message is handled per pass, and a frame runs on every pass, message or not.
#include "app/main_window.h"

#include "app/game_window.h"
#include "app/run_frame.h"
#include "app/startup.h"

intptr_t MainWindowProc(platform::Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case platform::WM_CREATE:
      return 0;
    case platform::WM_DESTROY:
      platform::PostQuitMessage(0);
      return 0;
    case platform::WM_PAINT:
      // Every picture comes from the frame loop; the paint request is only acknowledged.
      platform::BeginPaint(window);
      platform::EndPaint(window);
      return 0;
    case platform::WM_CLOSE:
      // KEEP: a close request ends through the quit message, the window kept (the quit_by_close trace).
      platform::PostQuitMessage(0);
      return 0;
    default:
      return platform::DefWindowProc(window, message, wParam, lParam);
  }
}

int32_t WinMain(void* instance, void* previousInstance, const char* commandLine, int32_t showCommand) {
  (void)previousInstance;
  (void)commandLine;
  (void)showCommand;
  if (!platform::RegisterWindowClass(kMainWindowClassName, MainWindowProc)) return 0;
  platform::Window* window = platform::OpenMainWindow(kMainWindowTitle, kMainWindowClassName);
  if (window == nullptr) return 0;
  MainWindow = window;
  AppInstance = instance;

  InitGame();  // returns once the title menu has been left

  platform::Message message{};
  // KEEP: one message and one frame per pass: a quit ends the loop a frame later (quit_by_close trace).
  for (;;) {
    if (platform::PeekMessage(&message)) {
      if (message.message == platform::WM_QUIT) break;
      platform::TranslateMessage(&message);
      platform::DispatchMessage(&message);
    }
    RunFrame();
  }
  ShutdownGame();
  return static_cast<int32_t>(message.wParam);
}
