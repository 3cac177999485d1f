// Drawing one frame of play: hidden-mode background, frame picture, ball, paddles, life icons,
// game-over picture and the HUD texts, plus the text buffer that the HUD and the start-up share.
#pragma once
#include <cstddef>

// Size of TextBuffer in characters, terminator included.
constexpr std::size_t kTextBufferSize = 80;

// The one buffer into which the HUD texts and the start-up joystick line are formatted (always bounded).
extern char TextBuffer[kTextBufferSize];

// Paints the playfield and the HUD onto the back surface in their fixed order; later items cover earlier ones.
// Reads the match state only. Pictures that failed to load are simply not drawn.
bool DrawPlayfield();
