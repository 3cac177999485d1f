// The process's surroundings as the program may ask for them: the command line, the console, environment
// variables, the folder of the executable, and the working folder (read and changed). Every such question goes
// through here.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The command line as UTF-8 strings, the program's name first. Windows hands the C library's argv over in the
// local code page, so there the wide command line is read instead; elsewhere argv is taken as it is.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Makes standard output write its bytes as they are: Windows' C library would turn every line end into a
// carriage return and a line feed, so a tool's output would differ from the same tool's on Linux.
void UseBinaryStandardOutput();

// Connects standard output and error to the console the program was started from when the system gave it
// none (a Windows program without a console window of its own); they stay as they are when already connected
// (a terminal, a file, a pipe), and go nowhere when there is no such console.
void UseStartingConsole();

// The value of an environment variable; nothing when it is unset (an empty value is returned as empty).
std::optional<std::string> EnvironmentVariable(const char* name);
// Sets an environment variable for this process and the libraries it loads (the SDL window's class name).
void SetEnvironmentVariable(const char* name, const std::string& value);

// The folder that holds the running executable, ending in '/'; empty when the system cannot say.
std::string ExecutableFolder();

// The working folder as an absolute path; empty when it cannot be read.
std::string WorkingFolder();

// Makes folder the working folder; false (and the working folder unchanged) when that is refused.
bool ChangeWorkingFolder(const std::string& folder);

// path when it is absolute, else path under the working folder.
std::string AbsolutePath(const std::string& path);

}  // namespace platform
