// The per-frame steps of the players and the block: paddles from mouse and keys, the held serve and its
// release, the way back to the title menu after a lost match, and the block's motion. Headless input drives them.
#include <gtest/gtest.h>

#include <vector>

#include "app/asset_catalogue.h"
#include "game/ball_rules.h"
#include "game/block.h"
#include "game/match_state.h"
#include "game/paddles.h"
#include "game/serve.h"
#include "gfx/display.h"
#include "gfx/surface.h"
#include "gfx/surface_for_test.h"
#include "input/input_devices.h"
#include "input/key_codes.h"
#include "platform/headless/headless.h"
#include "platform/input.h"
#include "tests/support/headless_fixture.h"
#include "tests/support/surface_probe.h"

namespace {

class PlayerSteps : public testsupport::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    platform::ResetHeadlessInput();
    ASSERT_EQ(InitInput(), 1);
    ASSERT_EQ(InitKeyboard(), 1);
    ASSERT_EQ(InitMouse(), 1);
    ResetMatch();
    PlayerCount = 2;
    PointerX = Paddle1X = Paddle2X = 100;
    BackSurface = CreateSurfaceForTest(640, 480, 16);
    TitleMenuEntry = nullptr;
    MenuCalls = 0;
  }
  void TearDown() override {
    ShutdownInput();
    ShutdownKeyboard();
    ShutdownMouse();
    Release(BackSurface);
    BackSurface = nullptr;
    TitleMenuEntry = nullptr;
  }
  // The input every read sees until the next call; the motion only on the first mouse read.
  static void Hold(std::vector<uint8_t> keys, int32_t dx = 0) {
    platform::HeadlessInputFrame frame;
    frame.dx = dx;
    frame.keysHeld = std::move(keys);
    platform::SetHeadlessInput(frame);
  }
  static int32_t PromptPixels() { return CountPixels(BackSurface, {180, 200, 330, 222}, kGreenPixel565); }

 public:
  static int MenuCalls;
};
int PlayerSteps::MenuCalls = 0;

bool CountingMenu() {
  ++PlayerSteps::MenuCalls;
  return true;
}

// What the menu's new-game entry does before it returns.
bool NewMatchMenu() {
  ++PlayerSteps::MenuCalls;
  ResetMatch();
  return true;
}

TEST_F(PlayerSteps, MouseMotionMovesPointerAndBottomPaddleOncePerFrame) {
  Hold({}, 25);
  UpdatePaddle1();
  EXPECT_EQ(PointerX, 125);
  EXPECT_EQ(Paddle1X, 125);
  UpdatePaddle2();  // the second read of the frame reports no motion and the top paddle keeps its place
  UpdatePaddle1();
  EXPECT_EQ(PointerX, 125);
  EXPECT_EQ(Paddle2X, 100);
}

TEST_F(PlayerSteps, RightControlPutsBottomPaddleUnderBallAndKeepsPointer) {
  BallX = 300;
  Hold({DIK_RCONTROL}, 5);
  UpdatePaddle1();
  EXPECT_EQ(Paddle1X, 268);
  EXPECT_EQ(PointerX, 105);
  Hold({});
  UpdatePaddle1();
  EXPECT_EQ(Paddle1X, 105);  // back at the pointer once the key is let go

  BallX = 20;
  Hold({DIK_RCONTROL});
  UpdatePaddle1();
  EXPECT_EQ(Paddle1X, -12);
  CheckPaddleHits();
  EXPECT_EQ(Paddle1X, 15);
}

TEST_F(PlayerSteps, TopPaddleFollowThenArrowsCombine) {
  BallX = 200;
  Hold({DIK_LSHIFT, DIK_RIGHT});
  UpdatePaddle2();
  EXPECT_EQ(Paddle2X, 183);
  Hold({DIK_LSHIFT, DIK_LEFT});
  UpdatePaddle2();
  EXPECT_EQ(Paddle2X, 153);
  Hold({DIK_RIGHT});
  UpdatePaddle2();
  EXPECT_EQ(Paddle2X, 168);
  Hold({DIK_LEFT});
  UpdatePaddle2();
  EXPECT_EQ(Paddle2X, 153);
  Hold({DIK_LEFT, DIK_RIGHT});
  UpdatePaddle2();
  EXPECT_EQ(Paddle2X, 153);
  EXPECT_EQ(Paddle1X, 100);  // player 2's keys never move the bottom paddle
}

TEST_F(PlayerSteps, HeldServeKeepsBallAtServePointUntilSpace) {
  BallX = 77;
  BallY = 300;
  BallDX = -9;
  BallDY = 12;
  Hold({});
  UpdateServe();
  EXPECT_EQ(BallX, 230);
  EXPECT_EQ(BallY, 245);
  EXPECT_EQ(Serve1Pending, 1);
  EXPECT_GT(PromptPixels(), 0);

  FillSurface(BackSurface, 0);
  Hold({DIK_SPACE});
  UpdateServe();
  EXPECT_EQ(Serve1Pending, 0);
  EXPECT_GT(PromptPixels(), 0);  // the prompt is still drawn in the frame of the serve
  EXPECT_EQ(BallDX, -9);         // serving keeps the velocity of the miss
  EXPECT_EQ(BallDY, 12);

  FillSurface(BackSurface, 0);
  BallX = 50;
  UpdateServe();
  EXPECT_EQ(BallX, 50);
  EXPECT_EQ(PromptPixels(), 0);
}

TEST_F(PlayerSteps, SecondPlayersServeUsesItsOwnFlagAndLives) {
  Serve1Pending = 0;
  Serve2Pending = 1;
  Lives1 = 0;  // player 1 without lives does not matter while only player 2's serve is held
  TitleMenuEntry = CountingMenu;
  Hold({DIK_SPACE});
  UpdateServe();
  EXPECT_EQ(MenuCalls, 0);
  EXPECT_EQ(Serve2Pending, 0);
  EXPECT_EQ(Serve1Pending, 0);
  EXPECT_EQ(BallX, 230);
  EXPECT_EQ(BallY, 245);
}

TEST_F(PlayerSteps, SpaceAfterLostMatchOpensMenuOnlyWithoutLives) {
  TitleMenuEntry = CountingMenu;
  Lives1 = 0;
  Hold({});
  UpdateServe();
  EXPECT_EQ(MenuCalls, 0);
  EXPECT_EQ(Serve1Pending, 1);

  Lives1 = 1;
  Hold({DIK_SPACE});
  UpdateServe();
  EXPECT_EQ(MenuCalls, 0);

  Serve1Pending = 1;
  Lives1 = 0;
  UpdateServe();
  EXPECT_EQ(MenuCalls, 1);

  Serve1Pending = 0;
  Serve2Pending = 1;
  Lives2 = 0;
  UpdateServe();
  EXPECT_EQ(MenuCalls, 2);
}

TEST_F(PlayerSteps, NewMatchFromServeMenuIsServedAtOnceByHeldSpace) {
  TitleMenuEntry = NewMatchMenu;
  Lives1 = 0;
  Score1 = 5000;
  Hold({DIK_SPACE});
  UpdateServe();
  EXPECT_EQ(MenuCalls, 1);
  EXPECT_EQ(Lives1, 3);
  EXPECT_EQ(Score1, 0);
  EXPECT_EQ(Serve1Pending, 0);
  // The reset put the ball at its start; the serve step does not move it back to the serve point.
  EXPECT_EQ(BallX, 100);
  EXPECT_EQ(BallY, 100);
}

class BlockMotion : public ::testing::Test {
 protected:
  void SetUp() override {
    BackSurface = CreateSurfaceForTest(640, 480, 16);
    Block1Surface = CreateSurfaceForTest(32, 16, 16);
    FillSurface(Block1Surface, 0xF800);
    BlockX = 15;
    BlockY = 200;
    BlockStep = -2;
  }
  void TearDown() override {
    Release(BackSurface);
    Release(Block1Surface);
    BackSurface = Block1Surface = nullptr;
  }
};

TEST_F(BlockMotion, StartsRightwardsAndTurnsWithAnExtraStep) {
  UpdateBlock();
  EXPECT_EQ(BlockX, 19);  // turned at 15: one extra step and the regular one
  UpdateBlock();
  EXPECT_EQ(BlockX, 21);
  BlockX = 319;
  UpdateBlock();
  EXPECT_EQ(BlockX, 321);
  UpdateBlock();
  EXPECT_EQ(BlockX, 317);
  UpdateBlock();
  EXPECT_EQ(BlockX, 315);
  EXPECT_EQ(BlockY, 200);
}

TEST_F(BlockMotion, StaysInsidePlayfieldForever) {
  int32_t lowest = BlockX, highest = BlockX;
  for (int frame = 0; frame < 1000; ++frame) {
    const int32_t before = BlockX;
    UpdateBlock();
    const int32_t moved = BlockX > before ? BlockX - before : before - BlockX;
    ASSERT_TRUE(moved == 2 || moved == 4) << "frame " << frame;
    lowest = std::min(lowest, BlockX);
    highest = std::max(highest, BlockX);
  }
  EXPECT_EQ(lowest, 15);
  EXPECT_EQ(highest, 321);
  EXPECT_LE(highest + 32, 440);
}

TEST_F(BlockMotion, DrawsBlockAtItsNewPlace) {
  UpdateBlock();
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 19, 200), 0xF800u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 50, 215), 0xF800u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 18, 200), 0u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 51, 200), 0u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 19, 216), 0u);
}

}  // namespace
