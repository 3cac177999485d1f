// The input of an online frame: each peer's own part taken from what its devices gave, and the one frame both
// machines play made of the host's pointer, button and keys and the joiner's keys.
#pragma once
#include "app/online/protocol.h"
#include "platform/input.h"

enum class OnlineRole { Host, Joiner };

// The part of a sampled frame that belongs to this peer's player: the host's (bottom paddle) motion, button,
// Space and right Ctrl; the joiner's (top paddle) Space, left Shift and the arrows. Motion beyond a 16-bit number
// is held at its end (no paddle moves that far in a frame).
PlayerInput OwnPlayerInput(OnlineRole role, const platform::InputFrame& sampled);

// The frame both machines play from the two parts, as the rules read it offline: motion and button from the host,
// Space from either, right Ctrl from the host, left Shift and the arrows from the joiner.
void MergeFrameInput(const PlayerInput& host, const PlayerInput& joiner, platform::InputFrame* frame);

// Whether the match is over (a player without lives, the ball held at the serve point for them).
bool IsMatchOver();
