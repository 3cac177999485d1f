// The page the browser build is played in, as online play sees it: whether it is hidden, whether the program
// holds while it is, and the lines online play shows in the page's panel. On other systems there is no page.
#pragma once
#include <string>

namespace platform {

// Whether the program runs in a page (the browser build).
bool InPage();
// Whether the page is hidden: another tab in front, the browser minimised, the phone's screen off (false elsewhere).
bool PageHidden();
// Whether the program's waits hold while the page is hidden (the default: the game stands still). An online
// session turns it off and pauses itself, telling the other side, since a held program can tell nobody.
void HoldWhileHidden(bool hold);
// Tells the page's online panel how online play goes, one key at a time: "room" (the code), "peer" (the other
// player's name), "path" ("page channel", "direct" or "server relay"), "trip" (the round trip in milliseconds,
// each second), "status" (a meeting step, "Playing", or a pause's line), "ended" (why the session ended). Nothing
// elsewhere.
void TellPage(const char* key, const std::string& value);

}  // namespace platform
