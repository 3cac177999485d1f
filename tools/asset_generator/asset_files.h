// The list of files the game reads and the one call that writes them all into a run folder.
#pragma once
#include <string>
#include <vector>

namespace assets {

// Paths of every generated file, relative to the run folder, with forward slashes.
const std::vector<std::string>& GeneratedFilePaths();

// Creates Backgrounds/, Sprites/, SoundFX/ and Music/ under `folder` and writes every file into them.
// Returns false with a reason in *error at the first file that cannot be made.
bool GenerateAssets(const std::string& folder, std::string* error);

}  // namespace assets
