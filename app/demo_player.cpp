// The demo player: the script's frames one by one, each entry's close requests queued before its first frame,
// then the way out through the game's own quit (the title menu's quit entry, or closing the window in play).
#include <utility>

#include "app/demos.h"
#include "app/main_window.h"
#include "app/title_menu.h"
#include "game/match_state.h"
#include "input/key_codes.h"

namespace {

// A pointer y inside the title menu's quit band, and the band's top.
constexpr int32_t QuitBandPointerY = 400;
constexpr int32_t QuitBandTop = 345;

struct Playback {
  ReplayScript script;
  size_t entry = 0;
  int64_t begunInEntry = 0;
  bool ended = false;
  bool closeQueued = false;
};

Playback playback;

platform::InputFrame FrameOfEntry(const ScriptEntry& entry) {
  platform::InputFrame frame;
  frame.dx = entry.dx;
  frame.dy = entry.dy;
  frame.primaryButton = entry.button;
  frame.keysHeld = entry.keys;
  return frame;
}

// After the script: the menu is left by its quit entry, play by one close request.
void GiveFrameTowardsQuit() {
  if (TitleMenuRunning == 0 && !playback.closeQueued) {
    platform::PostMessage(MainWindow, platform::WM_CLOSE, 0, 0);
    playback.closeQueued = true;
  }
  platform::GiveInputFrame(FrameTowardsQuit(TitleMenuRunning != 0, PointerY));
}

}  // namespace

platform::InputFrame FrameTowardsQuit(bool inTitleMenu, int32_t pointerY) {
  platform::InputFrame frame;
  if (!inTitleMenu) return frame;
  if (pointerY >= QuitBandTop) {
    frame.keysHeld = {DIK_RETURN};
  } else {
    frame.dy = static_cast<int32_t>(int64_t{QuitBandPointerY} - pointerY);
  }
  return frame;
}

void BeginPlaying(ReplayScript script) {
  playback = Playback{};
  playback.script = std::move(script);
}

void GiveNextPlayedFrame() {
  const std::vector<ScriptEntry>& entries = playback.script.entries;
  if (!playback.ended && playback.entry < entries.size() && playback.begunInEntry == entries[playback.entry].count) {
    ++playback.entry;
    playback.begunInEntry = 0;
  }
  if (playback.ended) {
    GiveFrameTowardsQuit();
    return;
  }
  if (playback.entry >= entries.size()) {
    // A recording ends where the game quit: the first frame after the script gives the game the chance to
    // quit just as it did, without anything added; only a game still running after it is led out.
    playback.ended = true;
    platform::GiveInputFrame(platform::InputFrame{});
    return;
  }
  const ScriptEntry& entry = entries[playback.entry];
  if (playback.begunInEntry == 0) {
    for (int32_t close = 0; close < entry.closesBefore; ++close)
      platform::PostMessage(MainWindow, platform::WM_CLOSE, 0, 0);
  }
  ++playback.begunInEntry;
  platform::GiveInputFrame(FrameOfEntry(entry));
}
