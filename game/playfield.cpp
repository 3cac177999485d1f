// The playfield and HUD painter. Everything is drawn onto BackSurface after the serve step and before the block;
// the blits and texts report nothing back because a missing picture or an off-screen rectangle just draws nothing.
#include "game/playfield.h"

#include <cstdio>

#include "app/asset_catalogue.h"  // the one header of app/ below game/: the asset library, tavo_assets
#include "game/match_state.h"
#include "gfx/blit.h"
#include "gfx/display.h"
#include "gfx/text.h"

char TextBuffer[kTextBufferSize] = {};

namespace {

constexpr uint32_t kHudColour = 0x00FF00;  // green, as 0x00BBGGRR
constexpr int32_t kBottomPaddleY = 445;
constexpr int32_t kTopPaddleY = 30;
constexpr int32_t kLifeIconX[3] = {460, 478, 496};

// One player's row of up to three life icons at height y.
void DrawLives(int32_t lives, int32_t y) {
  for (int32_t icon = 0; icon < 3; ++icon) {
    if (lives >= icon + 1) BlitSurface(BallSurface, BackSurface, kLifeIconX[icon], y, 16, 16);
  }
}

// Draws what was just formatted into TextBuffer in the HUD colour.
void DrawTextBuffer(int32_t x, int32_t y) { DrawTextGdi(TextBuffer, x, y, kHudColour, BackSurface); }

}  // namespace

bool DrawPlayfield() {
  if (HiddenModeCount >= 1) BlitSurface(Back6Surface, BackSurface, 15, 15, 425, 450);
  BlitSurface(Hud2Surface, BackSurface, 0, 0, 640, 480);
  BlitSurface(Ball2Surface, BackSurface, BallX, BallY, 8, 8);
  BlitSurface(Paddle1Surface, BackSurface, Paddle1X, kBottomPaddleY, 76, 8);
  BlitSurface(Paddle2Surface, BackSurface, Paddle2X, kTopPaddleY, 76, 8);
  DrawLives(Lives1, 140);
  if (PlayerCount == 2) DrawLives(Lives2, 160);
  // KEEP: the game-over picture is drawn once per player without lives (Playfield tests check it).
  // In a one-player match Lives2 stays 3.
  if (Lives1 == 0) BlitSurface(GameOverSurface, BackSurface, 0, 0, 640, 480);
  if (Lives2 == 0) BlitSurface(GameOverSurface, BackSurface, 0, 0, 640, 480);
  // snprintf bounds every text to the buffer (a 32-bit number needs at most 22 characters here).
  std::snprintf(TextBuffer, sizeof TextBuffer, "%d", static_cast<int>(Level));
  DrawTextBuffer(460, 220);
  std::snprintf(TextBuffer, sizeof TextBuffer, "Player 1: %d", static_cast<int>(Score1));
  DrawTextBuffer(460, 60);
  if (PlayerCount == 2) {
    std::snprintf(TextBuffer, sizeof TextBuffer, "Player 2: %d", static_cast<int>(Score2));
    DrawTextBuffer(460, 80);
  }
  return true;
}
