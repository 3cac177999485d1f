// The window handle and instance WinMain records, and the flip-failure box shown on that window.
// Kept apart from WinMain so that the menu and the frame it runs reach them without including the program's top.
#include "app/game_window.h"

#include "gfx/display.h"

platform::Window* MainWindow = nullptr;
void* AppInstance = nullptr;

void FlipDisplayOrShowFailure() {
  // "Fliping" is misspelt on purpose: the box keeps the text and caption the game has always shown.
  if (FlipDisplay() == 0) platform::ShowMessageBox(MainWindow, "Page Fliping Failed!", "DDraw ERROR");
}
