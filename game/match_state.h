// The match: program-wide signed 32-bit variables for the ball, paddles, pointer, lives, scores, serve,
// level, block and hidden mode, defined here, plus ResetMatch. Each group says which files write it.
#pragma once
#include <cstdint>

// Ball: top-left corner (8 x 8) and velocity in pixels per frame. Written by game/ball_rules.cpp (position
// and velocity) and game/serve.cpp (position, at the serve point).
extern int32_t BallX;
extern int32_t BallY;
extern int32_t BallDX;
extern int32_t BallDY;

// Serve flags: 1 while the ball waits at the serve point for that player. Set by game/ball_rules.cpp on a
// miss, cleared by game/serve.cpp when Space is pressed.
extern int32_t Serve1Pending;
extern int32_t Serve2Pending;

// Lives and scores; player 1 owns the bottom paddle, player 2 the top one. Written by game/ball_rules.cpp.
extern int32_t Lives1;
extern int32_t Lives2;
extern int32_t Score1;
extern int32_t Score2;

// Paddle hits since the last level-up, and the level shown in the HUD. Written by game/ball_rules.cpp.
extern int32_t HitCount;
extern int32_t Level;

// 1 or 2; written only by the title menu (app/title_menu.cpp).
extern int32_t PlayerCount;

// Paddles' left edges (bottom at y 445, top at y 30; each 76 x 8). Written by game/paddles.cpp (input) and
// game/ball_rules.cpp (range limits, and the top paddle following the bottom one with one player).
extern int32_t Paddle1X;
extern int32_t Paddle2X;

// Accumulated mouse motion: the menu pointer and player 1's paddle position. Written by the title menu
// (app/title_menu.cpp: both), game/paddles.cpp (PointerX) and game/ball_rules.cpp (PointerX's range).
extern int32_t PointerX;
extern int32_t PointerY;

// The decorative block's top-left corner (32 x 16). Placed by start-up (app/startup.cpp), moved by
// game/block.cpp.
extern int32_t BlockX;
extern int32_t BlockY;

// Title-menu frames in which the hidden-mode chord was held; never reset. Written only by app/title_menu.cpp.
extern int32_t HiddenModeCount;

// Starts a match: ball at (100, 100) moving (10, 8), player 1 to serve, three lives each, scores,
// hit count and level 0. Paddles, pointer, player count, block and hidden mode are left alone.
// Called by the title menu (app/title_menu.cpp) when a new game is chosen.
bool ResetMatch();
