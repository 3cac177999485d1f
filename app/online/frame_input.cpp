// Online frame input: the keys each player owns and the merge into the key list the rules read, in key-code order.
// Whether the match is over is read from the match variables, the same on both machines.
#include "app/online/frame_input.h"

#include <algorithm>

#include "game/match_state.h"
#include "input/key_codes.h"

namespace {

bool Holds(const platform::InputFrame& frame, uint8_t key) {
  return std::find(frame.keysHeld.begin(), frame.keysHeld.end(), key) != frame.keysHeld.end();
}

int16_t HeldTo16Bits(int32_t motion) { return static_cast<int16_t>(std::clamp<int32_t>(motion, -32768, 32767)); }

}  // namespace

PlayerInput OwnPlayerInput(OnlineRole role, const platform::InputFrame& sampled) {
  PlayerInput input;
  if (Holds(sampled, DIK_SPACE)) input.bits |= kInputSpace;
  if (role == OnlineRole::Host) {
    if (Holds(sampled, DIK_RCONTROL)) input.bits |= kInputRightControl;
    if (sampled.primaryButton) input.bits |= kInputButton;
    input.dx = HeldTo16Bits(sampled.dx);
    input.dy = HeldTo16Bits(sampled.dy);
  } else {
    if (Holds(sampled, DIK_LSHIFT)) input.bits |= kInputLeftShift;
    if (Holds(sampled, DIK_LEFT)) input.bits |= kInputLeft;
    if (Holds(sampled, DIK_RIGHT)) input.bits |= kInputRight;
  }
  return input;
}

bool IsMatchOver() { return (Serve1Pending == 1 && Lives1 == 0) || (Serve2Pending == 1 && Lives2 == 0); }

void MergeFrameInput(const PlayerInput& host, const PlayerInput& joiner, platform::InputFrame* frame) {
  frame->dx = host.dx;
  frame->dy = host.dy;
  frame->primaryButton = (host.bits & kInputButton) != 0;
  frame->keysHeld.clear();
  // In ascending key-code order, as the input service keeps them.
  if ((joiner.bits & kInputLeftShift) != 0) frame->keysHeld.push_back(DIK_LSHIFT);
  if (((host.bits | joiner.bits) & kInputSpace) != 0) frame->keysHeld.push_back(DIK_SPACE);
  if ((host.bits & kInputRightControl) != 0) frame->keysHeld.push_back(DIK_RCONTROL);
  if ((joiner.bits & kInputLeft) != 0) frame->keysHeld.push_back(DIK_LEFT);
  if ((joiner.bits & kInputRight) != 0) frame->keysHeld.push_back(DIK_RIGHT);
}
