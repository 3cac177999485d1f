// The process's surroundings as the program may ask for them: environment variables, the folder of the
// executable, and the working folder (read and changed). Every such question goes through here.
#pragma once
#include <optional>
#include <string>

namespace platform {

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

}  // namespace platform
