// The script cursor: a script's frames one by one, then the frames of the way out. The game's state enters only
// through GiveNextScriptFrame, so the stepping itself can be tested on its own.
#include "app/demos/script_player.h"

#include <algorithm>

#include "app/game_window.h"
#include "app/online/session.h"
#include "app/title_menu.h"
#include "app/title_menu_layout.h"
#include "game/match_state.h"
#include "input/key_codes.h"

namespace {

// Where the way out puts the pointer: well inside the quit band.
constexpr int32_t kQuitPointerY = 400;
static_assert(kQuitPointerY >= kQuitBandTop);

void GiveEntryFrame(const ScriptEntry& entry, platform::InputFrame* frame) {
  frame->dx = entry.dx;
  frame->dy = entry.dy;
  frame->primaryButton = entry.button;
  frame->keysHeld.assign(entry.keys.begin(), entry.keys.end());
}

}  // namespace

void StartScript(ScriptCursor* cursor, const ReplayScript* script) {
  std::size_t mostKeys = 1;  // the way out holds one key
  for (const ScriptEntry& entry : script->entries) mostKeys = std::max(mostKeys, entry.keys.size());
  *cursor = ScriptCursor{};
  cursor->script = script;
  cursor->frame.keysHeld.reserve(mostKeys);
}

int32_t StepScript(ScriptCursor* cursor, bool inTitleMenu, int32_t pointerY) {
  const std::vector<ScriptEntry>& entries = cursor->script->entries;
  if (cursor->entry < entries.size() && cursor->begunInEntry == entries[cursor->entry].count) {
    ++cursor->entry;
    cursor->begunInEntry = 0;
  }
  platform::InputFrame& frame = cursor->frame;
  if (cursor->entry < entries.size()) {
    const ScriptEntry& entry = entries[cursor->entry];
    const int32_t closes = cursor->begunInEntry == 0 ? entry.closesBefore : 0;
    cursor->startsMatch = cursor->begunInEntry == 0 && entry.startsMatch;
    ++cursor->begunInEntry;
    GiveEntryFrame(entry, &frame);
    return closes;
  }
  frame.dx = 0;
  frame.dy = 0;
  frame.primaryButton = false;
  frame.keysHeld.clear();
  cursor->startsMatch = false;
  if (++cursor->framesAfterScript == 1) return 0;
  if (!inTitleMenu) {
    if (cursor->closeQueued) return 0;
    cursor->closeQueued = true;
    return 1;
  }
  if (pointerY >= kQuitBandTop) {
    frame.keysHeld.push_back(DIK_RETURN);
  } else {
    frame.dy = static_cast<int32_t>(int64_t{kQuitPointerY} - pointerY);
  }
  return 0;
}

void GiveNextScriptFrame(ScriptCursor* cursor, void (*giveFrame)(const platform::InputFrame& frame)) {
  const int32_t closes = StepScript(cursor, TitleMenuRunning != 0, PointerY);
  for (int32_t close = 0; close < closes; ++close) platform::PostMessage(MainWindow, platform::WM_CLOSE, 0, 0);
  if (cursor->startsMatch) SetUpOnlineMatch();
  giveFrame(cursor->frame);
}
