// The player's display choices, given before the window is made: full screen or a window of a chosen size,
// and how the picture is scaled to the window. Without them the game starts full screen, aspect kept.
#pragma once
#include <cstdint>

namespace platform {

// fit: the largest picture of the same aspect, centred. integer: the largest whole multiple of the picture's
// size that fits (1x at least), centred; black around it either way.
enum class PictureScaling { Fit, Integer };

struct DisplayChoices {
  bool fullScreen = true;
  int32_t windowWidth = 1280;  // the window's size when not full screen, and after Alt+Enter
  int32_t windowHeight = 960;
  PictureScaling scaling = PictureScaling::Fit;
};

// Taken by the next OpenMainWindow and by every presentation after it.
void SetDisplayChoices(const DisplayChoices& choices);
const DisplayChoices& CurrentDisplayChoices();

}  // namespace platform
