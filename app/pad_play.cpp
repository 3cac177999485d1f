// The game's side of gamepads and touch: the play context of each frame, rumble for hits and misses, and the
// unplug notice. Without a pad or a finger nothing here changes a frame.
#include "app/pad_play.h"

#include "game/match_state.h"
#include "gfx/display.h"
#include "gfx/text.h"

int32_t PadLocalPlayer = 0;

namespace {

constexpr int32_t kPaddleWidth = 76;
constexpr int32_t kNoticeY = 6;
constexpr uint32_t kNoticeColour = 0x00FFFF;  // yellow, as 0x00BBGGRR

}  // namespace

platform::PlayContext MatchPlayContext() {
  platform::PlayContext context;
  context.inMenu = false;
  context.playerCount = PlayerCount;
  context.pointerX = PointerX;
  context.pointerY = PointerY;
  context.paddle1X = Paddle1X;
  context.paddle2X = Paddle2X;
  context.paddleWidth = kPaddleWidth;
  context.localPlayer = PadLocalPlayer;
  return context;
}

platform::PlayContext MenuPlayContext() {
  platform::PlayContext context = MatchPlayContext();
  context.inMenu = true;
  return context;
}

RumbleMarks TakeRumbleMarks() { return RumbleMarks{HitCount, Level, Lives1, Lives2}; }

void RumbleForFrame(const RumbleMarks& before) {
  // With one player, the top paddle and the top miss line are player 1's as well.
  const int32_t topPlayer = PlayerCount == 2 ? 2 : 1;
  if (Lives1 < before.lives1) platform::RequestRumble(1, platform::Rumble::Miss);
  if (Lives2 < before.lives2) platform::RequestRumble(topPlayer, platform::Rumble::Miss);
  if (HitCount == before.hitCount && Level == before.level) return;
  // A hit sends the ball back: up from the bottom paddle, down from the top one.
  platform::RequestRumble(BallDY < 0 ? 1 : topPlayer, platform::Rumble::PaddleHit);
}

void DrawPadNotice() {
  const char* notice = platform::PadNotice();
  if (notice == nullptr) return;
  const int32_t width = MeasureTextWidth(notice);
  DrawTextGdi(notice, (640 - width) / 2, kNoticeY, kNoticeColour, BackSurface);
}
