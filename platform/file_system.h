// The one way the program reaches files: open, read, write, seek and close, a whole small file read with a bound,
// an atomic write and the folder test. Paths are UTF-8 on every system; the system's own form is made in os/.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/file_read.h"

namespace platform {

// True when path names a folder (or a link to one).
bool IsFolder(const std::string& path);

// Reads a whole file of at most maxBytes into *contents. Missing: no such file; TooLarge: longer than maxBytes
// (nothing kept); Failed: it exists but cannot be read (a folder, no permission), reason in *error.
FileRead ReadSmallFile(const std::string& path, size_t maxBytes, std::string* contents, std::string* error);

// Writes contents to path by way of a temporary file in the same folder, renamed over path once complete;
// the folders on the way are created. False with the reason in *error (and path untouched) on any failure.
bool WriteFileAtomically(const std::string& path, const std::string& contents, std::string* error);

// ---- Open files: the library's readers and writers (bitmaps, palettes, the error log, RIFF files)

// An open file, made by OpenFileForReading or CreateFileForWriting and ended by CloseFile; what it holds is the
// platform's own. Reads and writes go through the C library's stream buffer, so small ones cost no system call.
struct File;

// Bytes: read and written as they are. Text: a line end is the system's own in the file (CR LF on Windows) and
// "\n" in the program, as the C library's text streams have it; on other systems the same as Bytes.
enum class FileContent { Bytes, Text };

// Opens an existing file for reading from its start; null when it cannot be opened (missing, refused).
File* OpenFileForReading(const std::string& path, FileContent content);
// Creates the file, or empties one already there, for writing; null when it cannot be created.
File* CreateFileForWriting(const std::string& path, FileContent content);
// Reads up to count bytes at the position into `into`; returns how many were read (fewer only at the end of the
// file or on a read error).
size_t ReadFromFile(File* file, void* into, size_t count);
// Writes count bytes at the position; false when not all of them were taken.
bool WriteToFile(File* file, const void* bytes, size_t count);

// Where SeekFile counts its offset from.
enum class SeekFrom { Start, End };
// Moves the position to offset bytes from the start or the end (a negative offset goes back from the end); false,
// the position unchanged, when the system refuses it. Offsets are 64-bit on every system.
bool SeekFile(File* file, int64_t offset, SeekFrom from);
// The position in bytes from the start; -1 when it cannot be told.
int64_t FilePosition(File* file);
// Writes out what is buffered and closes the file (a null file is ignored). False when buffered bytes could not
// be written: a full disk shows up here at the latest.
bool CloseFile(File* file);

}  // namespace platform
