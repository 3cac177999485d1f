// Online recording: confirmed frames joined into runs of equal input, a "match" line before the first frame and
// after each frame that started the next match, written once at the end through the atomic file write.
#include "app/online/online_recording.h"

#include "app/demos/replay_script.h"
#include "platform/file_system.h"

namespace {

struct Recording {
  bool on = false;
  std::string path;
  ReplayScript script;
  bool nextStartsMatch = true;
};
Recording Online;

bool SameInput(const ScriptEntry& entry, const platform::InputFrame& input) {
  return entry.dx == input.dx && entry.dy == input.dy && entry.button == input.primaryButton &&
         entry.keys == input.keysHeld;
}

}  // namespace

void StartOnlineRecording(const std::string& path) {
  Online = Recording{};
  Online.on = !path.empty();
  Online.path = path;
}

bool OnlineRecordingOn() { return Online.on; }

void RecordConfirmedFrame(const platform::InputFrame& input, bool startsNextMatch) {
  if (!Online.on) return;
  std::vector<ScriptEntry>& entries = Online.script.entries;
  if (!Online.nextStartsMatch && !entries.empty() && SameInput(entries.back(), input) &&
      entries.back().count < kMaxScriptCount) {
    ++entries.back().count;
  } else {
    ScriptEntry entry;
    entry.count = 1;
    entry.dx = input.dx;
    entry.dy = input.dy;
    entry.button = input.primaryButton;
    entry.keys = input.keysHeld;
    entry.startsMatch = Online.nextStartsMatch;
    entries.push_back(std::move(entry));
  }
  Online.nextStartsMatch = startsNextMatch;
}

bool SaveOnlineRecording(std::string* error) {
  if (!Online.on || Online.script.entries.empty()) return true;
  Online.on = false;
  return platform::WriteFileAtomically(Online.path, WriteReplayScript(Online.script), error);
}
