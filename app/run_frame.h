// One frame of play, run by WinMain's message loop on every pass.
// The order of its steps is part of the game's rules.
#pragma once
#include <cstdint>

// One frame of play in its fixed order: Escape (title menu), clock, clear, paddles, ball rules, serve,
// playfield, block, flip, wait for the rest of 30 ms. Returns 1.
int32_t RunFrame();
