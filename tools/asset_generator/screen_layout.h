// Where the game draws over our pictures: the pictures keep these places black or calm.
// Half-open rectangles [x0, x1) x [y0, y1) on the 640 x 480 screen.
#pragma once
#include <cstdint>

namespace assets {

struct Box {
  int32_t x0, y0, x1, y1;
};

// The playfield opening of the frame (x 15 to 439, y 15 to 464 inclusive).
constexpr Box kPlayfield{15, 15, 440, 465};
// The right-hand panel of the frame starts here.
constexpr int32_t kPanelLeft = 450;
// Black wells in the frame: the two score lines at (460, 60) and (460, 80), the life icons at
// y 140 and 160 from x 460 to 512, and the level at (460, 220). Texts are about 16 pixels high.
constexpr Box kScoreWell{455, 55, 634, 100};
constexpr Box kLivesWell{455, 135, 518, 181};
constexpr Box kLevelWell{455, 215, 634, 241};

// The title screen: the console holding the entries and the marker column, and the well holding the credits
// lines drawn by the game (x 460 to 630, y 363 to 415). Both run on past the right edge of the screen.
constexpr Box kMenuConsole{226, 206, 660, 442};
constexpr Box kCreditsArea{450, 350, 660, 428};

}  // namespace assets
