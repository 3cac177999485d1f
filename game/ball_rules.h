// The per-frame ball rules: motion, walls and miss lines, paddle hits, scoring and level-ups,
// and the fixed-sequence random generator that nudges the ball on every paddle hit.
#pragma once
#include <cstdint>

// KEEP: the generator starts at 1, never seeded from the clock: every trace with a paddle hit depends on its nudges.
extern uint32_t RandomState;

// One draw: state = state * 214013 + 2531011 (mod 2^32); yields (state >> 16) & 0x7FFF, 0 to 32767.
int32_t NextRandom();

// Adds the velocity to the ball's position.
bool MoveBall();

// Top and bottom miss lines (lives, serve flags), then side and end walls (bounce back inside, with sound).
bool CheckWalls();

// Clamps pointer and paddles, mirrors the top paddle in a one-player match, bounces the ball off either
// paddle (score, nudge, sound) and raises the level every ten hits.
bool CheckPaddleHits();
