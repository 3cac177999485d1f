// The game's side of gamepads and touch: the play context each frame tells the platform, rumble for the frame's
// paddle hits and misses, and the unplug notice drawn at the top of the picture.
#pragma once
#include <cstdint>

#include "platform/pads.h"

// Which player the pads and fingers of this machine play: 0 both (the default), 1 or 2 only that one (an online
// session sets it to its own player, so a joiner's first pad plays the top paddle).
extern int32_t PadLocalPlayer;

// Where the game stands at the start of a match frame, and of a title-menu frame.
platform::PlayContext MatchPlayContext();
platform::PlayContext MenuPlayContext();

// What a frame's rules change that rumble answers: taken before the frame, compared after it.
struct RumbleMarks {
  int32_t hitCount = 0, level = 0, lives1 = 0, lives2 = 0;
};
RumbleMarks TakeRumbleMarks();
// Asks for a miss's rumble on the pad of the player who missed, and a hit's on the pad of the paddle hit.
void RumbleForFrame(const RumbleMarks& before);

// Draws the pad notice, when there is one, centred at the top of the back surface.
void DrawPadNotice();
