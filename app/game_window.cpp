// The window handle and instance WinMain records, and the flip-failure box shown on that window.
// Kept apart from WinMain so that the menu and the frame it runs reach them without including the program's top.
#include "app/game_window.h"

#include "gfx/display.h"

platform::Window* MainWindow = nullptr;
void* AppInstance = nullptr;

void FlipDisplayOrShowFailure() {
  // KEEP: "Fliping" and the caption "DDraw ERROR" are the words of the box the player sees when a flip fails.
  if (FlipDisplay() == 0) platform::ShowMessageBox(MainWindow, "Page Fliping Failed!", "DDraw ERROR");
}
