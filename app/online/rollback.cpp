// The rollback history: a ring of frame states and inputs, and the replay of its newest frames through the same
// PlayFrameRules that RunFrame calls, with the sound effects held so that nothing is heard twice.
#include "app/online/rollback.h"

#include "app/run_frame.h"
#include "audio/sound_effects.h"

namespace {

int32_t SlotOf(int64_t frame) {
  const int64_t slot = frame % kRollbackSlots;
  return static_cast<int32_t>(slot < 0 ? slot + kRollbackSlots : slot);
}

// Copied field by field so the slot's key list keeps its storage.
void CopyInput(const platform::InputFrame& from, platform::InputFrame* to) {
  to->dx = from.dx;
  to->dy = from.dy;
  to->primaryButton = from.primaryButton;
  to->keysHeld.assign(from.keysHeld.begin(), from.keysHeld.end());
}

}  // namespace

void ForgetFrames(RollbackHistory* history) { history->count = 0; }

void RememberFrame(RollbackHistory* history, int64_t frame, const platform::InputFrame& input) {
  if (history->count == 0 || frame != history->newestFrame + 1) history->count = 0;
  history->newestFrame = frame;
  if (history->count < kRollbackSlots) ++history->count;
  const int32_t slot = SlotOf(frame);
  SaveFrameState(&history->before[slot]);
  CopyInput(input, &history->input[slot]);
}

bool RemembersFrame(const RollbackHistory& history, int64_t frame) {
  return history.count > 0 && frame <= history.newestFrame && frame > history.newestFrame - history.count;
}

platform::InputFrame* RememberedInput(RollbackHistory* history, int64_t frame) {
  return RemembersFrame(*history, frame) ? &history->input[SlotOf(frame)] : nullptr;
}

bool PlayFramesAgain(RollbackHistory* history, int64_t frame, const FrameReplay& replay) {
  if (!RemembersFrame(*history, frame)) return false;
  RestoreFrameState(history->before[SlotOf(frame)]);
  SoundEffectsHeld = 1;
  for (int64_t again = frame; again <= history->newestFrame; ++again) {
    const int32_t slot = SlotOf(again);
    if (again != frame) SaveFrameState(&history->before[slot]);
    replay.giveInput(again, &history->input[slot]);
    HeldSoundCount = 0;
    PlayFrameRules();
    if (replay.afterFrame != nullptr) replay.afterFrame(again);
  }
  SoundEffectsHeld = 0;
  return true;
}
