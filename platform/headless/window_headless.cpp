// The headless window: nothing on screen, always "full screen", message boxes recorded and answered at once.
// Tests and the replay tool read the recorded boxes and reset the queue between cases.
#include <string>
#include <utility>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/internal/backend_tables.h"

namespace platform {

namespace {

std::vector<std::pair<std::string, std::string>> shownBoxes;

bool Open(const char*, const char*, std::string*) { return true; }
void Close() {}
void PumpEvents() {}
bool IsFullScreen() { return true; }
void ToggleFullScreen() {}
void ShowMessageBox(const char* text, const char* caption) { shownBoxes.emplace_back(caption, text); }
void ShowCursor(bool) {}

}  // namespace

const WindowBackend& HeadlessWindowBackend() {
  static const WindowBackend table{.open = Open,
                                   .close = Close,
                                   .pumpEvents = PumpEvents,
                                   .isFullScreen = IsFullScreen,
                                   .toggleFullScreen = ToggleFullScreen,
                                   .showMessageBox = ShowMessageBox,
                                   .showCursor = ShowCursor,
                                   .displayNeedsWindow = false};
  return table;
}

std::vector<std::pair<std::string, std::string>> TakeShownMessageBoxes() {
  std::vector<std::pair<std::string, std::string>> taken;
  taken.swap(shownBoxes);
  return taken;
}

void ResetMessageQueue() {
  ClearMessageQueue();
  shownBoxes.clear();
}

}  // namespace platform
