// The soak's input: a replay script of seeded pseudo-random play (menu visits, both player counts, the hidden
// mode, serves, paddles, Escape, game overs), made by the replay tool so that it takes the menu's bands from the game.
#pragma once
#include <cstdint>
#include <string>

// The script of exactly `frames` frames for this seed; the same seed always gives the same text.
std::string SoakScript(int64_t frames, int64_t seed);
