// The frames a rollback can play again: for each of the last frames of play, the state before it and the input it
// was played with, and the call that restores one of them and plays it and those after it again.
#pragma once
#include <cstdint>

#include "app/online/frame_state.h"
#include "platform/input.h"

// How many frames back a rollback reaches (8 frames, 240 ms), and the frames remembered: those and the newest.
constexpr int32_t kRollbackWindow = 8;
constexpr int32_t kRollbackSlots = kRollbackWindow + 1;

// A ring of the newest `count` frames up to `newestFrame`. Owned by its caller; the key lists keep their storage,
// so remembering a frame allocates nothing once each slot has held its largest.
struct RollbackHistory {
  int64_t newestFrame = 0;
  int32_t count = 0;
  FrameState before[kRollbackSlots];
  platform::InputFrame input[kRollbackSlots];
};

// Forgets every frame (after the title menu ran, or when a match starts); the next frame may have any number.
void ForgetFrames(RollbackHistory* history);

// Called before frame `frame` is played, with the input it will be played with: saves the game's state. A frame
// that does not follow the newest one starts the history afresh.
void RememberFrame(RollbackHistory* history, int64_t frame, const platform::InputFrame& input);

// Whether the state before `frame` is still remembered.
bool RemembersFrame(const RollbackHistory& history, int64_t frame);

// The input remembered for `frame` (which must be remembered), to be corrected before the frames are played again.
platform::InputFrame* RememberedInput(RollbackHistory* history, int64_t frame);

// How frames are played again: giveInput hands a frame's input to the input service (it may first rewrite the
// remembered input, which is then kept); afterFrame, when set, runs after each frame's rules.
struct FrameReplay {
  void (*giveInput)(int64_t frame, platform::InputFrame* input) = nullptr;
  void (*afterFrame)(int64_t frame) = nullptr;
};

// Restores the state before `frame` and plays it and every newer remembered frame again with their inputs: drawn
// into the back surface, not presented, the sound effects held (SoundEffectsHeld; afterFrame may let some be
// heard). The states before the frames after it are saved anew on the way. False (nothing touched) when `frame`
// is not remembered.
bool PlayFramesAgain(RollbackHistory* history, int64_t frame, const FrameReplay& replay);
