// The screen an online session starts with, in the start-up screen's look: what it waits for, the addresses to
// give the other player, the other's name once known, and Escape to give up.
#pragma once
#include <cstdint>
#include <string>

// Start-up's first screen during an online session (FirstScreen): runs frames until the peers have met, then
// starts the matches and returns. A failure is one line on the screen and on stderr, and the program ends with
// exit code 3 (Escape: 0), through the quit message like the title menu's quit.
bool RunMeetingScreen();

// During play, when the session ends (the other player left, not answering, the games differ, Escape): the reason
// on this screen for two seconds, then the title menu, as after Escape offline. RunFrame then plays on offline.
void ShowSessionEndAndOpenMenu();

// One frame of a pause (a page in the background): the line on this screen, for the session's OnOnlinePauseShown.
void ShowPauseNotice(const std::string& notice);

// The exit code a session that could not start leaves.
constexpr int32_t kOnlineFailedExitCode = 3;
