// Pictures the replay tool saves on request: the frame shown at a given flip, written as a PNG file.
// The build makes the AppStream screenshots this way, so they always show the current game.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One request: after flip `flip` (1 for the first), save the shown picture to `path`.
struct ShotRequest {
  int64_t flip = 0;
  std::string path;
};

// Reads "FLIP=FILE" (FLIP a positive number). False for anything else.
bool ParseShotRequest(const std::string& text, ShotRequest* request);

// Saves the headless backend's last shown picture for every request of this flip. False, with the first
// failure's reason in *error, when a picture cannot be saved.
bool SaveShotsOfFlip(const std::vector<ShotRequest>& requests, int64_t flip, std::string* error);
