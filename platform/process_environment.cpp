// The process's surroundings, answered by the operating system's side of the platform.
#include "platform/process_environment.h"

#include "platform/os/operating_system.h"

namespace platform {

std::optional<std::string> EnvironmentVariable(const char* name) { return os::EnvironmentVariable(name); }

void SetEnvironmentVariable(const char* name, const std::string& value) { os::SetEnvironmentVariable(name, value); }

std::string ExecutableFolder() { return os::ExecutableFolder(); }

std::string WorkingFolder() { return os::WorkingFolder(); }

bool ChangeWorkingFolder(const std::string& folder) { return os::ChangeWorkingFolder(folder); }

}  // namespace platform
