// The recording of an online session (--record): the frames both machines played, merged, as an ordinary replay
// script that opens with a "match" line and has one before each later match, so an offline replay gives its trace.
#pragma once
#include <string>

#include "platform/input.h"

// Starts recording into path (nothing when it is empty); the session then adds each confirmed frame.
void StartOnlineRecording(const std::string& path);
bool OnlineRecordingOn();
// A confirmed frame: the input both machines played, and whether the next match was set up after it.
void RecordConfirmedFrame(const platform::InputFrame& input, bool startsNextMatch);

// Writes the recording (atomically, so a file already there is whole before and after); true when nothing was
// recorded or it was written; false with the reason in *error.
bool SaveOnlineRecording(std::string* error);
