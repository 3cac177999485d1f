// The playfield painter: what is drawn where, in which order, and the HUD texts formatted into TextBuffer.
// Each picture is a test surface of one colour, so a probed pixel tells which picture lies on top.
#include <gtest/gtest.h>

#include <cstring>

#include "app/asset_catalogue.h"
#include "game/match_state.h"
#include "game/playfield.h"
#include "gfx/display.h"
#include "gfx/surface.h"
#include "gfx/surface_for_test.h"
#include "tests/support/headless_fixture.h"
#include "tests/support/surface_probe.h"

namespace {

constexpr uint32_t kHudColour = 0x8410, kBallColour = 0xFFFF, kPaddle1Colour = 0x001F, kPaddle2Colour = 0xF800;
constexpr uint32_t kIconColour = 0xFFE0, kGameOverColour = 0xF81F, kBack6Colour = 0x0010;

Surface* Picture(int32_t width, int32_t height, uint32_t colour) {
  Surface* surface = CreateSurfaceForTest(width, height, 16);
  FillSurface(surface, colour);
  SetColorKey(surface, 0, 0);
  return surface;
}

class Playfield : public testsupport::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    BackSurface = CreateSurfaceForTest(640, 480, 16);
    Ball2Surface = Picture(8, 8, kBallColour);
    Paddle1Surface = Picture(76, 8, kPaddle1Colour);
    Paddle2Surface = Picture(76, 8, kPaddle2Colour);
    BallSurface = Picture(16, 16, kIconColour);
    Back6Surface = Picture(425, 450, kBack6Colour);
    // The game-over picture: black except one square in the playfield.
    GameOverSurface = CreateSurfaceForTest(640, 480, 16);
    FillSurfaceRect(GameOverSurface, {200, 300, 210, 310}, kGameOverColour);
    SetColorKey(GameOverSurface, 0, 0);
    ResetMatch();
    PlayerCount = 1;
    HiddenModeCount = 0;
    BallX = 100;
    BallY = 100;
    Paddle1X = 50;
    Paddle2X = 200;
  }
  void TearDown() override {
    for (Surface** picture : {&BackSurface, &Ball2Surface, &Paddle1Surface, &Paddle2Surface, &BallSurface,
                              &Back6Surface, &GameOverSurface, &Hud2Surface}) {
      if (*picture != nullptr) Release(*picture);
      *picture = nullptr;
    }
    HiddenModeCount = 0;
  }
  static uint32_t At(int32_t x, int32_t y) { return ReadSurfacePixel(BackSurface, x, y); }
  static int32_t GreenIn(RectL area) { return CountPixels(BackSurface, area, kGreenPixel565); }
};

TEST_F(Playfield, BallAndPaddlesAtTheirPlaces) {
  DrawPlayfield();
  EXPECT_EQ(At(100, 100), kBallColour);
  EXPECT_EQ(At(107, 107), kBallColour);
  EXPECT_EQ(At(108, 107), 0u);
  EXPECT_EQ(At(50, 445), kPaddle1Colour);
  EXPECT_EQ(At(125, 452), kPaddle1Colour);
  EXPECT_EQ(At(126, 452), 0u);
  EXPECT_EQ(At(200, 30), kPaddle2Colour);
  EXPECT_EQ(At(275, 37), kPaddle2Colour);
  EXPECT_EQ(At(200, 38), 0u);
}

TEST_F(Playfield, OneLifeIconPerLifeAndSecondRowOnlyForTwoPlayers) {
  Lives1 = 2;
  DrawPlayfield();
  EXPECT_EQ(At(460, 140), kIconColour);
  EXPECT_EQ(At(478, 140), kIconColour);
  EXPECT_EQ(At(496 + 8, 140 + 8), 0u);
  EXPECT_EQ(At(460 + 8, 160 + 8), 0u);  // one player: no second row

  PlayerCount = 2;
  Lives1 = 3;
  Lives2 = 1;
  FillSurface(BackSurface, 0);
  DrawPlayfield();
  EXPECT_EQ(At(496 + 15, 140 + 15), kIconColour);
  EXPECT_EQ(At(460, 160), kIconColour);
  EXPECT_EQ(At(478 + 8, 160 + 8), 0u);
}

TEST_F(Playfield, GameOverPictureForEachPlayerWithoutLives) {
  DrawPlayfield();
  EXPECT_EQ(At(205, 305), 0u);
  FillSurface(BackSurface, 0);
  Lives1 = 0;
  DrawPlayfield();
  EXPECT_EQ(At(205, 305), kGameOverColour);
  for (int32_t x : {460, 478, 496}) EXPECT_EQ(At(x + 8, 148), 0u) << "no icon without lives";

  FillSurface(BackSurface, 0);
  Lives1 = 3;
  PlayerCount = 2;
  Lives2 = 0;
  BallX = 204;  // under the picture's square: the game-over picture covers the ball
  BallY = 304;
  DrawPlayfield();
  EXPECT_EQ(At(205, 305), kGameOverColour);
}

TEST_F(Playfield, HiddenModeBackgroundFillsPlayfieldOnlyWhenOn) {
  DrawPlayfield();
  EXPECT_EQ(At(15, 15), 0u);
  HiddenModeCount = 3;
  DrawPlayfield();
  EXPECT_EQ(At(15, 15), kBack6Colour);
  EXPECT_EQ(At(439, 464), kBack6Colour);
  EXPECT_EQ(At(440, 464), 0u);
  EXPECT_EQ(At(14, 15), 0u);
  EXPECT_EQ(At(100, 100), kBallColour);  // drawn first, so everything else lies over it
}

TEST_F(Playfield, FramePictureLiesUnderBallAndOverBackground) {
  Hud2Surface = Picture(640, 480, kHudColour);
  FillSurfaceRect(Hud2Surface, {15, 15, 440, 465}, 0);  // the playfield opening shows through
  HiddenModeCount = 1;
  BallX = 5;  // over the frame's left border
  DrawPlayfield();
  EXPECT_EQ(At(5, 100), kBallColour);
  EXPECT_EQ(At(2, 2), kHudColour);
  EXPECT_EQ(At(300, 300), kBack6Colour);
}

TEST_F(Playfield, HudTextsAreFormattedAndOnlyPlayerTwoScoreInTwoPlayerMatch) {
  Score1 = 1088;
  Level = 0;
  DrawPlayfield();
  EXPECT_STREQ(TextBuffer, "Player 1: 1088");   // the last text formatted
  EXPECT_GT(GreenIn({460, 220, 480, 240}), 0);  // the level, "0"
  EXPECT_GT(GreenIn({460, 60, 600, 78}), 0);
  EXPECT_EQ(GreenIn({460, 80, 640, 98}), 0);

  PlayerCount = 2;
  Score2 = -64;
  Lives1 = 0;  // texts stay readable over the game-over picture
  FillSurface(BackSurface, 0);
  DrawPlayfield();
  EXPECT_STREQ(TextBuffer, "Player 2: -64");
  EXPECT_GT(GreenIn({460, 80, 640, 98}), 0);
}

TEST_F(Playfield, ExtremeNumbersStayInsideTextBuffer) {
  std::memset(TextBuffer, 'x', sizeof TextBuffer);
  Score1 = INT32_MIN;
  Level = INT32_MAX;
  DrawPlayfield();
  EXPECT_STREQ(TextBuffer, "Player 1: -2147483648");
}

TEST_F(Playfield, MissingPicturesDrawNothingAndDoNotStopTheFrame) {
  for (Surface** picture : {&Ball2Surface, &Paddle1Surface, &Paddle2Surface, &BallSurface, &GameOverSurface}) {
    Release(*picture);
    *picture = nullptr;
  }
  Lives1 = 0;
  Score1 = 64;
  DrawPlayfield();
  EXPECT_EQ(At(100, 100), 0u);
  EXPECT_STREQ(TextBuffer, "Player 1: 64");
  EXPECT_GT(GreenIn({460, 60, 600, 78}), 0);
}

}  // namespace
