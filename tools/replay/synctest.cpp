// The synchronisation test: each frame of play is played, then the newest frames are restored and played again
// through the rollback history, and the two results are compared field by field before the frame is shown.
#include "synctest.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/online/rollback.h"
#include "app/run_frame.h"
#include "platform/headless/headless.h"

namespace {

struct SynctestRun {
  int32_t depth = 0;
  const ScriptCursor* cursor = nullptr;
  const int64_t* flips = nullptr;
  int64_t frame = 0;          // frames of play so far
  int64_t expectedFlips = 0;  // the flip count the next frame of play has when none came between
  RollbackHistory history;
  FrameState played;
  FrameState playedAgain;
};
SynctestRun Run;

void GiveRememberedInput(int64_t, platform::InputFrame* input) { platform::SetHeadlessInput(*input); }

void PlayFrameAndRollBack() {
  // A frame of the title menu came between (Escape, or the menu after a lost match): the history no longer
  // leads to this frame.
  if (*Run.flips != Run.expectedFlips) ForgetFrames(&Run.history);
  ++Run.frame;
  RememberFrame(&Run.history, Run.frame, Run.cursor->frame);
  const int64_t flipsBefore = *Run.flips;
  PlayFrameRules();
  Run.expectedFlips = *Run.flips + 1;
  if (*Run.flips != flipsBefore) {
    // The menu ran inside the frame (Space after a lost match): it cannot be played again.
    ForgetFrames(&Run.history);
    return;
  }
  const int64_t first = Run.frame - Run.depth + 1;
  if (!RemembersFrame(Run.history, first)) return;
  SaveFrameState(&Run.played);
  PlayFramesAgain(&Run.history, first, {GiveRememberedInput, nullptr});
  SaveFrameState(&Run.playedAgain);
  if (FrameStateHash(Run.played) == FrameStateHash(Run.playedAgain)) return;
  std::fflush(stdout);
  std::fprintf(stderr, "synctest: frame of play %" PRId64 " (flip %" PRId64 ") differs after a rollback of %d: %s\n",
               Run.frame, *Run.flips + 1, static_cast<int>(Run.depth),
               DifferingFrameStateFields(Run.played, Run.playedAgain, 8).c_str());
  std::_Exit(4);
}

}  // namespace

void StartSynctest(int32_t depth, const ScriptCursor* cursor, const int64_t* flips) {
  Run.depth = depth;
  Run.cursor = cursor;
  Run.flips = flips;
  FramePlayer = PlayFrameAndRollBack;
}
