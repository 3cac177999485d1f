// The list of files the game reads and the one call that writes them all into a run folder.
// The build writes the whole set once; the tests make single files into folders of their own.
#pragma once
#include <string>
#include <vector>

namespace assets {

// Paths of every generated file, relative to the run folder, with forward slashes.
const std::vector<std::string>& GeneratedFilePaths();

// Makes the one file at `relativePath` (one of GeneratedFilePaths()) under `folder`, creating its folders.
// Returns false with a reason in *error when the name is unknown or the file cannot be made.
bool GenerateAsset(const std::string& folder, const std::string& relativePath, std::string* error);

// Creates Backgrounds/, Sprites/, SoundFX/ and Music/ under `folder` and writes every file into them.
// Returns false with a reason in *error at the first file that cannot be made.
bool GenerateAssets(const std::string& folder, std::string* error);

}  // namespace assets
