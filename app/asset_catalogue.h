// The game's assets: the program-wide ids of its sound effects (and, later, its pictures and song)
// and the loaders that fill them at start-up.
#pragma once
#include <cstdint>

// Sound-effect ids from LoadWav; -1 until loaded or when loading failed.
extern int32_t BounceSound;  // "SoundFX/bounce3.wav": wall and paddle bounces
extern int32_t ScoreSound;   // "SoundFX/score.wav": level-up and the hidden-mode chord
