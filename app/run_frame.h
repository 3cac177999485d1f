// One frame of play, run by WinMain's message loop on every pass, and the rules and drawing within it.
// The order of its steps is part of the game's rules.
#pragma once
#include <cstdint>

// One frame of play in its fixed order: Escape (title menu), clock, clear, paddles, ball rules, serve,
// playfield, block, flip, wait for the rest of 30 ms. Returns 1.
int32_t RunFrame();

// The part of RunFrame that a rollback plays again: clear, paddles, ball rules, serve, playfield, block, drawn into
// the back surface; no menu, no clock, no flip.
void PlayFrameRules();

// Called by RunFrame between the clock's start and the flip: PlayFrameRules, unless an online session (which plays
// the frame with both machines' input, rolling back when needed) or a check (tavo_replay --synctest) put its own.
extern void (*FramePlayer)();
