// The decorative block that slides to and fro across the middle of the playfield; it never touches the ball.
// UpdateBlock runs after the playfield is drawn, so the block lies on top of everything, game-over picture included.
#pragma once
#include <cstdint>

// The block's step per frame, +2 (right) or -2 (left); it carries the direction from one frame to the next.
// Starts at -2, as if the block had just arrived at the left turning point, so its first move is to the right.
extern int32_t BlockStep;

// Moves the block by its rule and draws Block1Surface (32 x 16) at (BlockX, BlockY) on the back surface.
bool UpdateBlock();
