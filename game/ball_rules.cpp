// MoveBall, CheckWalls and CheckPaddleHits: every rule that touches the ball, applied in that order each
// frame, with the random nudge on paddle hits. Signed 32-bit arithmetic for the match, unsigned for the generator.
#include "game/ball_rules.h"

#include "app/asset_catalogue.h"  // the one header of app/ below game/: the asset library, tavo_assets
#include "audio/sound_effects.h"
#include "game/match_state.h"

uint32_t RandomState = 1;

namespace {

constexpr int32_t kSideWallLow = 15;
constexpr int32_t kSideWallHigh = 433;
constexpr int32_t kEndWallLow = 15;
constexpr int32_t kEndWallHigh = 458;
constexpr int32_t kTopMissLine = 16;
constexpr int32_t kBottomMissLine = 448;
constexpr int32_t kPaddleLow = 15;
constexpr int32_t kPaddleHigh = 364;
constexpr int32_t kPaddleSpan = 76;
constexpr int32_t kBottomPaddleZone = 437;
constexpr int32_t kTopPaddleZone = 30;
constexpr int32_t kPointsPerHit = 64;
constexpr int32_t kHitsPerLevel = 10;
constexpr int32_t kLevelBonus = 1024;
constexpr int32_t kSpeedUp = 2;
constexpr int32_t kNudgeRange = 5;

void PlayOnce(int32_t soundId) { PlaySoundEffect(soundId, 0, 0, 0, 0); }

// Low bound first, then high bound, each tested on its own.
void ClampToPaddleRange(int32_t& value) {
  if (value <= kPaddleLow) value = kPaddleLow;
  if (value >= kPaddleHigh) value = kPaddleHigh;
}

// KEEP: both ends count (77 positions over a 76-pixel paddle); BallRules.PaddleHitSpan... checks it.
bool OverPaddle(int32_t paddleX) { return paddleX <= BallX && BallX <= paddleX + kPaddleSpan; }

// The four actions shared by both paddles; the caller adds the points to the right score.
void BounceOffPaddle() {
  BallDY = -BallDY;
  BallY += BallDY;
  // KEEP: the nudge (0 to 4) is only subtracted, so the ball drifts left: every trace with a paddle hit depends on it.
  BallDX -= NextRandom() % kNudgeRange;
  ++HitCount;
}

void LevelUp() {
  HitCount = 0;
  ++Level;
  // KEEP: the level bonus always goes to player 1: the score shown (BallRules.TenthHitScores... checks it).
  Score1 += kLevelBonus;
  // KEEP: positive tests first, each seeing the ones before: the game's speeds past the top of the range.
  // Each non-zero component gains 2 in magnitude. A component that the first pair carries past the top of the
  // range wraps negative, and the second pair then takes it back. Only at that edge does the order change the result.
  if (BallDX > 0) BallDX += kSpeedUp;
  if (BallDY > 0) BallDY += kSpeedUp;
  if (BallDX < 0) BallDX -= kSpeedUp;
  if (BallDY < 0) BallDY -= kSpeedUp;
  PlayOnce(ScoreSound);
}

}  // namespace

int32_t NextRandom() {
  RandomState = RandomState * 214013u + 2531011u;
  return static_cast<int32_t>((RandomState >> 16) & 0x7FFFu);
}

bool MoveBall() {
  BallX += BallDX;
  BallY += BallDY;
  return true;
}

// KEEP: the four tests run in turn, so an end-wall ball leaves outwards (game_over trace, BallRules).
// A ball in an end-wall zone is first counted as a miss (direction reversed, position not corrected) and then
// bounced (reversed again and moved on).
bool CheckWalls() {
  if (BallY <= kTopMissLine) {
    BallDY = -BallDY;
    if (PlayerCount == 2) {
      --Lives2;
      Serve2Pending = 1;
    } else {
      --Lives1;
      Serve1Pending = 1;
    }
  }
  if (BallY >= kBottomMissLine) {
    BallDY = -BallDY;
    --Lives1;
    Serve1Pending = 1;
  }
  if (BallX >= kSideWallHigh || BallX <= kSideWallLow) {
    BallDX = -BallDX;
    BallX += BallDX;
    PlayOnce(BounceSound);
  }
  if (BallY >= kEndWallHigh || BallY <= kEndWallLow) {
    BallDY = -BallDY;
    BallY += BallDY;
    PlayOnce(BounceSound);
  }
  return true;
}

// KEEP: the paddle tests read the ball's left and top edges only: a missed ball scores (late_paddle trace).
bool CheckPaddleHits() {
  // KEEP: the pointer itself is held to the paddle range: the traces' ptr= field and the BallRules tests.
  ClampToPaddleRange(PointerX);
  ClampToPaddleRange(Paddle1X);
  ClampToPaddleRange(Paddle2X);
  if (PlayerCount == 1) Paddle2X = Paddle1X;
  if (OverPaddle(Paddle1X) && BallY >= kBottomPaddleZone) {
    BounceOffPaddle();
    Score1 += kPointsPerHit;
    PlayOnce(BounceSound);
  }
  if (OverPaddle(Paddle2X) && BallY <= kTopPaddleZone) {
    BounceOffPaddle();
    if (PlayerCount == 2) {
      Score2 += kPointsPerHit;
    } else {
      Score1 += kPointsPerHit;
    }
    PlayOnce(BounceSound);
  }
  if (HitCount == kHitsPerLevel) LevelUp();
  return true;
}
