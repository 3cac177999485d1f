// The window handle and instance WinMain records, and the flip-failure box shown on that window.
// Kept apart from WinMain so that the menu and the frame it runs reach them without including the program's top.
#include "app/game_window.h"

#include "gfx/display.h"

platform::Window* MainWindow = nullptr;
void* AppInstance = nullptr;

void FlipDisplayOrShowFailure() {
  // KEEP: "Fliping" is the box's text as the game has always shown it, with its caption "DDraw ERROR".
  if (FlipDisplay() == 0) platform::ShowMessageBox(MainWindow, "Page Fliping Failed!", "DDraw ERROR");
}
