// Recorded demos: --record=FILE writes the input of every frame the game shows as a replay script, and
// --play=FILE gives the game a script's frames in its window, then leads it out through its own quit.
#pragma once
#include <cstdint>
#include <string>

#include "app/replay_script.h"
#include "platform/input.h"

// Before the window: reads the script to play (a malformed one gives the replay tool's message in *error)
// and readies the recording; sets the input source and the message queue both need. Empty paths: nothing.
bool StartDemos(const std::string& recordPath, const std::string& playPath, std::string* error);
// After WinMain: writes the recording to its file by way of a temporary one. False with one stderr line when
// that failed; true when there was nothing to write (no recording asked for, or no frame shown).
bool FinishDemos();

// ---- The recorder (app/demo_recorder.cpp).
// Starts an empty recording.
void BeginRecording();
// Adds the frame just shown: the close requests the loop took since the last one, then its input (keys outside
// the script's key list left out), merged into the last line when equal to it.
void RecordShownFrame(const platform::InputFrame& input, int32_t closesBefore);
// The recording so far as script text, its first line a comment.
std::string RecordingText();
// How many frames the recording holds.
int64_t RecordedFrames();

// ---- The player (app/demo_player.cpp).
void BeginPlaying(ReplayScript script);
// After each flip (and once before start-up): the next frame's input, its close requests queued first. Once the
// script has run out, input that leads the game out by its own quit: the menu by its quit entry, play by a close.
void GiveNextPlayedFrame();
