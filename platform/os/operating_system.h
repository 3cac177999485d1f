// Every call the platform makes to the operating system itself, in one place: each system's files define all of
// these (os/posix.cpp for Linux and its kin and os/browser.cpp for the page, both with os/posix_shared.cpp;
// os/windows.cpp; the build picks the files), and shared code calls only them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_read.h"
#include "platform/folder_rules.h"

namespace platform::os {

// ---- The process and its surroundings

// As platform::CommandLineArguments, platform::UseStartingConsole and platform::UseBinaryStandardOutput.
std::vector<std::string> CommandLineArguments(int argc, char** argv);
void UseStartingConsole();
void UseBinaryStandardOutput();
// The folder rules of this system (platform::SystemFolderRules).
FolderRules SystemFolderRules();
// The user's own pictures folder as the system names it; empty where the system has no such notion (the
// freedesktop rules then decide, from the environment).
std::string PicturesFolder();

// The value of an environment variable; nothing when it is unset (an empty value is returned as empty).
std::optional<std::string> EnvironmentVariable(const char* name);
// Sets an environment variable for this process and the libraries it loads.
void SetEnvironmentVariable(const char* name, const std::string& value);
// The folder that holds the running executable, ending in the folder separator; empty when unknown.
std::string ExecutableFolder();
// The working folder as an absolute path; empty when it cannot be read.
std::string WorkingFolder();
// Makes folder the working folder; false (and the working folder unchanged) when that is refused.
bool ChangeWorkingFolder(const std::string& folder);
// A number no other running process has, for names of temporary files.
uint32_t ProcessNumber();
// The local calendar time of a moment.
std::tm LocalTime(std::time_t moment);
// What a command of the system's shell prints on its standard output, at most maxBytes of it; empty when the
// command cannot run. Its error output is dropped.
std::string CommandOutput(const std::string& command, size_t maxBytes);
// False when the system can tell that no graphics hardware is present (no device node for one), so that
// trying hardware rendering would only start a software rasteriser.
bool MayHaveGraphicsHardware();

// Shakes the gamepad the browser names so (the Gamepad API's id, which SDL gives as the joystick's name) with the
// two motors' strengths (0 to 65535) for ms milliseconds, where the browser can; false elsewhere, where the pad's
// own rumble serves.
bool VibrateBrowserGamepad(const char* name, uint16_t strong, uint16_t weak, uint32_t ms);

// ---- The page (platform/page.h): only the browser has one; elsewhere false, and nothing done.
bool InPage();
bool PageHidden();
void HoldWhileHidden(bool hold);
void TellPage(const char* key, const std::string& value);

// ---- Time

// Lets about microseconds pass without using the processor. In the browser the program shares its one thread
// with the page, which draws, plays sound and takes input only during these waits.
void Wait(uint64_t microseconds);

// ---- Files and folders (paths are UTF-8)

// True when path is absolute by the system's rules ("/..." on POSIX; "C:\\..." or "\\\\server\\..." on Windows).
bool IsAbsolutePath(const std::string& path);
// True when path names a folder (or a link to one).
bool IsFolder(const std::string& path);
// True when path names a regular file (or a link to one).
bool IsFile(const std::string& path);
// Creates the folder and the ones on its way; true when it exists afterwards, else the reason in *error.
bool MakeFolders(const std::string& path, std::string* error);
// As platform::ReadSmallFile.
FileRead ReadSmallFile(const std::string& path, size_t maxBytes, std::string* contents, std::string* error);

enum class FileWrite { Written, NameTaken, CannotCreate, CannotWrite };
// Writes size bytes into the file at path, created or emptied; with mustBeNew a file already there is left
// alone (NameTaken), with flushToDisk the bytes are on the disk before it returns. A file that could not be
// written whole is removed again. The system's reason for CannotCreate and CannotWrite goes to *error.
FileWrite WriteWholeFile(const std::string& path, const void* bytes, size_t size, bool mustBeNew, bool flushToDisk,
                         std::string* error);
// Renames from to to, replacing any file there in one step; false with the reason in *error.
bool ReplaceFile(const std::string& from, const std::string& to, std::string* error);
// Removes a file; nothing happens when it is not there.
void RemoveFile(const std::string& path);

// Opens a C library stream on path with one of fopen's modes ("rb", "r", "wb", "w"); null when that is refused.
std::FILE* OpenStream(const std::string& path, const char* mode);
// Moves a stream's position offset bytes from origin (SEEK_SET or SEEK_END), with 64-bit offsets; false when refused.
bool SeekStream(std::FILE* stream, int64_t offset, int origin);
// A stream's position with 64 bits; -1 when it cannot be told.
int64_t StreamPosition(std::FILE* stream);

}  // namespace platform::os
