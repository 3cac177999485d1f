// The paddle steps: mouse and right Ctrl for the bottom paddle, arrows and left Shift for the top one.
// They only move the paddles; the range limits and the one-player mirror are applied by the ball rules.
#include "game/paddles.h"

#include "game/match_state.h"
#include "input/input_devices.h"
#include "input/key_codes.h"

namespace {

// How far a follow key puts the paddle's left edge left of the ball's: about the middle of the 76-pixel paddle.
constexpr int32_t kFollowOffset = 32;
// How far an arrow key moves the top paddle per frame.
constexpr int32_t kArrowStep = 15;

bool IsDown(uint8_t keyCode) { return KeyboardState[keyCode] != 0; }

}  // namespace

bool UpdatePaddle1() {
  ReadKeyboard();
  ReadMouse();
  PointerX += MouseState.lX;
  Paddle1X = PointerX;
  // The pointer keeps its place, so the paddle returns to it when the key is let go.
  if (IsDown(DIK_RCONTROL)) Paddle1X = BallX - kFollowOffset;
  return true;
}

bool UpdatePaddle2() {
  // KEEP: the mouse is read again and that motion dropped (PlayerSteps.MouseMotionMovesPointer...).
  // The second read of the frame reports (almost) nothing.
  ReadKeyboard();
  ReadMouse();
  if (IsDown(DIK_LSHIFT)) Paddle2X = BallX - kFollowOffset;
  if (IsDown(DIK_RIGHT)) Paddle2X += kArrowStep;
  if (IsDown(DIK_LEFT)) Paddle2X -= kArrowStep;
  return true;
}
