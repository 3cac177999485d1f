// The one way a replay script is stepped through, frame by frame, shared by the replay tool and --play: each
// entry's close requests queued before its first frame, then its frames, then the way out through the game's quit.
#pragma once
#include <cstddef>
#include <cstdint>

#include "app/demos/replay_script.h"
#include "platform/input.h"

// Where a run stands in its script. The frame it gave last lives here, so its key list keeps its storage and
// stepping allocates nothing.
struct ScriptCursor {
  const ReplayScript* script = nullptr;
  std::size_t entry = 0;
  int64_t begunInEntry = 0;       // frames of that entry given so far
  int64_t framesAfterScript = 0;  // frames given since the script ran out
  bool closeQueued = false;       // the close request of the way out is queued
  bool startsMatch = false;       // the frame StepScript gave last begins an entry after a "match" line
  platform::InputFrame frame;
};

// Puts the cursor before the script's first frame. The script must outlive the cursor's use.
void StartScript(ScriptCursor* cursor, const ReplayScript* script);

// Moves the cursor to the next frame and sets cursor->frame to its input; returns how many close requests are to
// be queued before it. While the script lasts, that is its next frame. The first frame after the script holds
// nothing, so the game can quit just as it did when the script was recorded, without anything added. After that,
// the game is led out from where it stands: in the title menu the pointer is moved into the quit band, then Enter
// is held; in play one close request is asked for.
int32_t StepScript(ScriptCursor* cursor, bool inTitleMenu, int32_t pointerY);

// StepScript with the game's own state: queues the close requests to the main window, sets up the two-player match
// a "match" line starts (as an online session does), then hands the frame to giveFrame (the window's input for
// --play, the headless backend's for the replay tool).
void GiveNextScriptFrame(ScriptCursor* cursor, void (*giveFrame)(const platform::InputFrame& frame));
