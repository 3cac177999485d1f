// The demo recorder: the input of every frame shown, kept as replay script text until the program ends.
// Called by the demos' per-flip step.
#pragma once
#include <cstdint>
#include <string>

#include "platform/input.h"

// Starts an empty recording.
void BeginRecording();
// Adds the frame just shown: the close requests the loop took since the last one, then its input (keys outside
// the script's key list left out), merged into the last line when equal to it.
void RecordShownFrame(const platform::InputFrame& input, int32_t closesBefore);
// The recording so far as script text, its first line a comment.
std::string RecordingText();
// How many frames the recording holds.
int64_t RecordedFrames();
