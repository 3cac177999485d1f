// The outcome of reading a whole small file, shared by the file service (platform/file_system.h) and the
// operating system's files that read it (platform/os/), so the two never keep two lists of the same outcomes.
#pragma once

namespace platform {

// Read: the whole file is in the caller's string. Missing: no such file. TooLarge: longer than the bound asked
// for (nothing kept). Failed: it exists but cannot be read (a folder, no permission).
enum class FileRead { Read, Missing, TooLarge, Failed };

}  // namespace platform
