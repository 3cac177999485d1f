// The replay tool's --synctest=N: every frame of play is rolled back N frames and played again before it is shown,
// and the state it reaches must equal the state its first playing reached, or the run stops naming the fields.
#pragma once
#include <cstdint>

#include "app/demos/script_player.h"

// Wraps the frame driver's rules. The cursor gives each frame's input; flips counts the frames shown so far (the
// title menu's included), so frames of play that do not follow each other are told apart. Both outlive the run.
void StartSynctest(int32_t depth, const ScriptCursor* cursor, const int64_t* flips);
