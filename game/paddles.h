// The two paddle steps of a frame: player 1's bottom paddle follows the mouse, player 2's top paddle the keys.
// Both run first in the frame; CheckPaddleHits limits the positions to their range later in the same frame.
#pragma once

// Reads keyboard and mouse; adds the mouse's horizontal motion to PointerX and puts the bottom paddle there,
// or under the ball (BallX - 32) while right Ctrl is held.
bool UpdatePaddle1();

// Reads keyboard and mouse again (that mouse motion is dropped); left Shift puts the top paddle under the ball,
// then the right and left arrows move it 15 pixels each. The three tests combine, in that order.
bool UpdatePaddle2();
