// Demos set up before the window and finished after it: the play script read and checked, the input source
// and message queue a faithful recording needs, the per-flip step, and the recording written at the end.
#include "app/demos/demos.h"

#include <cstdio>

#include "app/demos/demo_player.h"
#include "app/demos/demo_recorder.h"
#include "app/demos/replay_script.h"
#include "app/online/session.h"
#include "app/startup.h"
#include "platform/file_system.h"
#include "platform/video.h"
#include "platform/window.h"

namespace {

struct DemoState {
  bool recording = false;
  bool playing = false;
  std::string recordPath;
  int64_t closesNoted = 0;  // close requests the loop had taken when the last frame was recorded
};

DemoState demos;

// After each shown flip: the frame just shown into the recording, then the next frame's input.
void OnFlip(void*) {
  if (demos.recording) {
    const int64_t taken = platform::CloseRequestsTaken();
    RecordShownFrame(platform::CurrentInputFrame(), static_cast<int32_t>(taken - demos.closesNoted));
    demos.closesNoted = taken;
  }
  if (demos.playing) {
    GiveNextPlayedFrame();
  } else {
    platform::BeginInputFrame();
  }
}

}  // namespace

bool StartDemos(const std::string& recordPath, const std::string& playPath, std::string* error) {
  demos = DemoState{};
  if (recordPath.empty() && playPath.empty()) return true;
  ReplayScript script;
  if (!playPath.empty() && !LoadReplayScript(playPath, &script, error)) return false;
  demos.recording = !recordPath.empty();
  demos.playing = !playPath.empty();
  demos.recordPath = recordPath;
  platform::QueueOnlyCloseRequests(true);
  platform::SetFrameInputSource(demos.playing ? platform::FrameInputSource::Given
                                              : platform::FrameInputSource::DevicesOncePerFrame);
  platform::SetPresentHook(OnFlip, nullptr);
  if (demos.recording) BeginRecording();
  if (demos.playing) {
    if (StartsWithMatch(script)) FirstScreen = StartRecordedOnlineMatch;
    BeginPlaying(std::move(script));
    GiveNextPlayedFrame();  // the first frame's input, its close requests queued before start-up
  }
  return true;
}

bool FinishDemos() {
  if (!demos.recording) return true;
  demos.recording = false;
  if (RecordedFrames() == 0) {
    // The game never showed a frame (no window): an empty recording would only replace the player's file.
    std::fprintf(stderr, "RECORD: no frame was shown, so nothing was recorded\n");
    return true;
  }
  std::string error;
  if (!platform::WriteFileAtomically(demos.recordPath, RecordingText(), &error)) {
    std::fprintf(stderr, "RECORD: the recording was not saved: %s\n", error.c_str());
    return false;
  }
  return true;
}
