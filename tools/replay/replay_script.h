// The replay tool's script: one entry per line giving the input of the next frames, or a window close request.
// Parsing is complete before anything runs, so a malformed line stops the tool with its line number.
#pragma once
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

// A run of identical frames: `count` frames with this mouse motion (each), button and held keys.
// `closesBefore` WM_CLOSE requests are queued before the first of them.
struct ScriptEntry {
  int64_t count = 0;
  int32_t dx = 0;
  int32_t dy = 0;
  bool button = false;
  std::vector<uint8_t> keys;
  int32_t closesBefore = 0;
};

struct ReplayScript {
  std::vector<ScriptEntry> entries;
  int64_t TotalFrames() const;
};

// What went wrong on which line (1-based).
struct ScriptError {
  int32_t line = 0;
  std::string reason;
};

// Reads the whole script. False with the first malformed line's number and the reason; a close line with no
// frame line after it is malformed too, since its request would be queued before a frame that never comes.
bool ParseReplayScript(std::istream& in, ReplayScript* script, ScriptError* error);

// The key codes of a key name (ESC, SPACE, RETURN, LEFT, RIGHT, RCONTROL, LSHIFT, A to Z, CHORD); empty if unknown.
std::vector<uint8_t> KeyCodesForName(const std::string& name);
