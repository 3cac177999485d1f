// Questions and changes to the file system that the program needs beyond reading its files: whether a
// folder exists, and writing a small file so that readers see either the old or the whole new contents.
#pragma once
#include <cstddef>
#include <string>

namespace platform {

// True when path names a folder (or a link to one).
bool IsFolder(const std::string& path);

enum class SmallFileRead { Read, Missing, TooLarge, Failed };

// Reads a whole file of at most maxBytes into *contents. Missing: no such file; TooLarge: longer than
// maxBytes (nothing kept); Failed: it exists but cannot be read (a folder, no permission), reason in *error.
SmallFileRead ReadSmallFile(const std::string& path, size_t maxBytes, std::string* contents, std::string* error);

// Writes contents to path by way of a temporary file in the same folder, renamed over path once complete;
// the folders on the way are created. False with the reason in *error (and path untouched) on any failure.
bool WriteFileAtomically(const std::string& path, const std::string& contents, std::string* error);

}  // namespace platform
