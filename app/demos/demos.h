// Recorded demos: --record=FILE writes the input of every frame the game shows as a replay script, and
// --play=FILE gives the game a script's frames in its window, then leads it out through its own quit.
#pragma once
#include <string>

// Before the window: reads the script to play (a malformed one gives the replay tool's message in *error)
// and readies the recording; sets the input source and the message queue both need. Empty paths: nothing.
bool StartDemos(const std::string& recordPath, const std::string& playPath, std::string* error);
// After WinMain: writes the recording to its file by way of a temporary one. False with one stderr line when
// that failed; true when there was nothing to write (no recording asked for, or no frame shown).
bool FinishDemos();
