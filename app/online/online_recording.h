// The recording of an online session (--record): the frames both machines played, merged, as an ordinary replay
// script that opens with a "match" line and has one before each later match, so an offline replay gives its trace.
#pragma once
#include <string>

#include "app/online/session.h"

// Starts recording into path; each confirmed frame is then added (the session calls RecordConfirmedFrame).
void StartOnlineRecording(const std::string& path);
bool OnlineRecordingOn();
void RecordConfirmedFrame(const ConfirmedFrame& frame);

// Writes the recording (atomically, so a file already there is whole before and after); true when nothing was
// recorded or it was written; false with the reason in *error.
bool SaveOnlineRecording(std::string* error);
