// The demo player: the played script's frames given to the window's input through the shared script cursor,
// then the way out through the game's own quit (the title menu's quit entry, or closing the window in play).
#include "app/demos/demo_player.h"

#include <utility>

#include "app/demos/script_player.h"

namespace {

ReplayScript played;
ScriptCursor playback;

}  // namespace

void BeginPlaying(ReplayScript script) {
  played = std::move(script);
  StartScript(&playback, &played);
}

void GiveNextPlayedFrame() { GiveNextScriptFrame(&playback, platform::GiveInputFrame); }
