// The demo recorder: one script entry per run of equal frames, with the close requests between frames, kept
// in memory as text until the program ends (a few kilobytes a minute of play).
#include "app/demos/demo_recorder.h"

#include <algorithm>
#include <iterator>

#include "app/demos/replay_script.h"

namespace {

struct Recording {
  std::string text;  // the finished lines
  ScriptEntry last;  // the run of equal frames still growing; count 0 before the first frame
  int64_t frames = 0;
};

Recording recording;

bool SameInput(const ScriptEntry& a, const ScriptEntry& b) {
  return a.dx == b.dx && a.dy == b.dy && a.button == b.button && a.keys == b.keys;
}

}  // namespace

void BeginRecording() {
  recording = Recording{};
  recording.text = "# tavo2000 recording: one line per run of equal frames\n";
}

void RecordShownFrame(const platform::InputFrame& input, int32_t closesBefore) {
  ScriptEntry frame;
  frame.count = 1;
  frame.dx = input.dx;
  frame.dy = input.dy;
  frame.button = input.primaryButton;
  std::copy_if(input.keysHeld.begin(), input.keysHeld.end(), std::back_inserter(frame.keys), IsScriptKey);
  std::sort(frame.keys.begin(), frame.keys.end());
  frame.closesBefore = closesBefore;
  ++recording.frames;
  if (recording.last.count > 0 && recording.last.count < kMaxScriptCount && closesBefore == 0 &&
      SameInput(recording.last, frame)) {
    ++recording.last.count;
    return;
  }
  if (recording.last.count > 0) recording.text += WriteScriptEntry(recording.last);
  recording.last = std::move(frame);
}

int64_t RecordedFrames() { return recording.frames; }

std::string RecordingText() {
  std::string text = recording.text;
  if (recording.last.count > 0) text += WriteScriptEntry(recording.last);
  return text;
}
