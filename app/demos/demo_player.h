// The demo player: a script's frames given to the game in its window, by the script cursor the replay tool
// uses too. Called by the demos' set-up and per-flip step.
#pragma once
#include "app/demos/replay_script.h"

// Takes the script to play and puts the cursor before its first frame.
void BeginPlaying(ReplayScript script);
// After each flip (and once before start-up): the next frame's input, its close requests queued first. Once the
// script has run out, input that leads the game out by its own quit: the menu by its quit entry, play by a close.
void GiveNextPlayedFrame();
