// The match variables with their values at program start, and ResetMatch.
// Defined here for game/ and app/ alike; match_state.h names, beside each group, the files that write it.
#include "game/match_state.h"

int32_t BallX = 100;
int32_t BallY = 100;
int32_t BallDX = 10;
int32_t BallDY = 8;
int32_t Serve1Pending = 1;
int32_t Serve2Pending = 0;
int32_t Lives1 = 3;
int32_t Lives2 = 3;
int32_t Score1 = 0;
int32_t Score2 = 0;
int32_t HitCount = 0;
int32_t Level = 1;
int32_t PlayerCount = 1;
int32_t Paddle1X = 0;
int32_t Paddle2X = 0;
int32_t PointerX = 0;
int32_t PointerY = 0;
int32_t BlockX = 0;
int32_t BlockY = 0;
int32_t HiddenModeCount = 0;

// KEEP: a new match shows level 0 though the program starts at 1: the HUD and the traces' lvl= field.
bool ResetMatch() {
  BallDX = 10;
  BallDY = 8;
  BallX = 100;
  BallY = 100;
  Serve1Pending = 1;
  Serve2Pending = 0;
  Lives1 = 3;
  Lives2 = 3;
  Score1 = 0;
  Score2 = 0;
  HitCount = 0;
  Level = 0;
  return true;
}
