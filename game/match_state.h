// The match: program-wide signed 32-bit variables for the ball, paddles, pointer, lives, scores, serve,
// level, block and hidden mode, owned by the match rules and read by the shell. Plus ResetMatch.
#pragma once
#include <cstdint>

// Ball: top-left corner (8 x 8) and velocity in pixels per frame.
extern int32_t BallX;
extern int32_t BallY;
extern int32_t BallDX;
extern int32_t BallDY;

// Serve flags: 1 while the ball waits at the serve point for that player.
extern int32_t Serve1Pending;
extern int32_t Serve2Pending;

// Lives and scores; player 1 owns the bottom paddle, player 2 the top one.
extern int32_t Lives1;
extern int32_t Lives2;
extern int32_t Score1;
extern int32_t Score2;

// Paddle hits since the last level-up, and the level shown in the HUD.
extern int32_t HitCount;
extern int32_t Level;

// 1 or 2; set by the title menu.
extern int32_t PlayerCount;

// Paddles' left edges (bottom at y 445, top at y 30; each 76 x 8).
extern int32_t Paddle1X;
extern int32_t Paddle2X;

// Accumulated mouse motion: the menu pointer and player 1's paddle position.
extern int32_t PointerX;
extern int32_t PointerY;

// The decorative block's top-left corner (32 x 16).
extern int32_t BlockX;
extern int32_t BlockY;

// Title-menu frames in which the hidden-mode chord was held; never reset.
extern int32_t HiddenModeCount;

// Starts a match: ball at (100, 100) moving (10, 8), player 1 to serve, three lives each, scores,
// hit count and level 0. Paddles, pointer, player count, block and hidden mode are left alone.
bool ResetMatch();
