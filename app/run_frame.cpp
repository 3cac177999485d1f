// RunFrame and PlayFrameRules, its rules and drawing (what a rollback plays again). The order of the steps is part of
// the rules: paddles before the ball, a miss before the paddle test, then the serve step, and the block drawn last.
#include "app/run_frame.h"

#include "app/game_window.h"
#include "app/pad_play.h"
#include "app/title_menu.h"
#include "game/ball_rules.h"
#include "game/block.h"
#include "game/paddles.h"
#include "game/playfield.h"
#include "game/serve.h"
#include "gfx/display.h"
#include "gfx/frame_clock.h"
#include "input/input_devices.h"
#include "input/key_codes.h"

namespace {

constexpr uint32_t kFrameMilliseconds = 30;

}  // namespace

void (*FramePlayer)() = PlayFrameRules;

void PlayFrameRules() {
  FillSurface(BackSurface, 0);
  UpdatePaddle1();
  UpdatePaddle2();
  MoveBall();
  CheckWalls();
  CheckPaddleHits();
  UpdateServe();
  DrawPlayfield();
  UpdateBlock();
}

int32_t RunFrame() {
  platform::BeginPadFrame(MatchPlayContext());
  // KEEP: Escape runs the menu, then this frame plays on with what it left (rally trace, ShellRun tests).
  if (IsKeyDownNow(DIK_ESCAPE)) {
    RunTitleMenu();
    platform::BeginPadFrame(MatchPlayContext());  // the menu's frames told the pads a menu
  }
  StartFrameClock();
  const RumbleMarks before = TakeRumbleMarks();
  FramePlayer();
  RumbleForFrame(before);
  DrawPadNotice();
  FlipDisplayOrShowFailure();
  WaitFrameClock(kFrameMilliseconds);
  return 1;
}
