// The title menu: its own frame loop with the three entries, the marker, the mouse pointer, the credits
// and the hidden-mode chord. Entered at the end of start-up, on Escape during play and after a lost match.
#pragma once
#include <cstdint>

// 1 while RunTitleMenu's loop runs (so an observer of the flips can tell menu frames from play frames).
extern int32_t TitleMenuRunning;

// Runs menu frames until new game (ResetMatch, then return) or quit (WM_DESTROY posted to MainWindow,
// then return). Starts every time with one player selected and the marker on the new-game entry.
bool RunTitleMenu();
